#include "mail/win32/outlook.h"

#include <windows.h>
#include <oleauto.h>

#include <stdexcept>
#include <vector>

#include "util/win32/com_handles.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {
namespace {

using DispatchPtr = ComPtr<IDispatch>;

class Variant {
public:
    Variant() { ::VariantInit(&v_); }
    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &v_; }

private:
    VARIANT v_;
};

std::wstring Wide(const std::string& text) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    if (!text) return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(std::size_t(n > 0 ? n : 1), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), n, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

[[noreturn]] void Fail(HRESULT hr, std::string description = {}) {
    if (description.empty()) {
        UniqueLocalPtr<char> text;
        if (::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, DWORD(hr), 0, reinterpret_cast<char*>(text.put()), 0, nullptr) &&
            text) {
            description = text.get();
            while (!description.empty() && (description.back() == '\n' || description.back() == '\r'))
                description.pop_back();
        }
    }
    if (description.empty()) {
        char code[32];
        wsprintfA(code, "OLE error %08X", unsigned(hr));
        description = code;
    }
    throw std::runtime_error(description);
}

// Calls a method or reads a property by name; the result when it is an object.
DispatchPtr Invoke(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANTARG> args = {}) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) Fail(hr);
    DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, UINT(args.size()), 0};
    Variant result;
    EXCEPINFO error{};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result.get(), &error, nullptr);
    if (FAILED(hr)) {
        const UniqueBstr source(error.bstrSource), description(error.bstrDescription), helpFile(error.bstrHelpFile);
        Fail(hr, Narrow(description.get()));
    }
    VARIANT* v = result.get();
    if (v->vt != VT_DISPATCH || !v->pdispVal) return {};
    v->pdispVal->AddRef();
    return DispatchPtr(v->pdispVal);
}

DispatchPtr OutlookApplication() {
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(L"Outlook.Application", &clsid);
    if (FAILED(hr)) Fail(hr);
    ComPtr<IUnknown> running;
    DispatchPtr app;
    if (SUCCEEDED(::GetActiveObject(clsid, nullptr, running.put())) && running) {
        hr = running.get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(app.put()));
        if (SUCCEEDED(hr) && app) return app;
    }
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(app.put()));
    if (FAILED(hr) || !app) Fail(FAILED(hr) ? hr : E_NOINTERFACE);
    return app;
}

}  // namespace

void SendWithOutlook(const std::optional<std::string>& attachment) {
    DispatchPtr app = OutlookApplication();
    VARIANTARG mailItem;
    ::VariantInit(&mailItem);
    mailItem.vt = VT_I4;
    mailItem.lVal = 0;
    DispatchPtr item = Invoke(app.get(), L"CreateItem", DISPATCH_METHOD, {mailItem});
    if (!item) Fail(E_NOINTERFACE, "Outlook made no mail item");
    if (attachment) {
        DispatchPtr attachments = Invoke(item.get(), L"Attachments", DISPATCH_PROPERTYGET);
        if (!attachments) Fail(E_NOINTERFACE, "The mail item has no attachments");
        const std::wstring path = Wide(*attachment);
        Variant source;
        source.get()->vt = VT_BSTR;
        source.get()->bstrVal = ::SysAllocStringLen(path.data(), UINT(path.size()));
        Invoke(attachments.get(), L"Add", DISPATCH_METHOD, {*source.get()});
    }
    VARIANTARG modal;
    ::VariantInit(&modal);
    modal.vt = VT_BOOL;
    modal.boolVal = VARIANT_TRUE;
    Invoke(item.get(), L"Display", DISPATCH_METHOD, {modal});
}

}  // namespace vimbrel::win32

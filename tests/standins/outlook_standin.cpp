// Stand-in for Outlook's automation server, in process: "Outlook.Application" with
// CreateItem, a mail item's Attachments.Add and Display. Each call is written as one line
// to "outlook-calls.txt" beside this library. Tests register it under kOutlookStandInClsid.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "call_record.h"

namespace {

HMODULE g_module = nullptr;
// {5B0D3C1E-7A42-4F19-9C2D-6E8B1A7F3D20}
constexpr CLSID kClsid = {0x5b0d3c1e, 0x7a42, 0x4f19, {0x9c, 0x2d, 0x6e, 0x8b, 0x1a, 0x7f, 0x3d, 0x20}};

void Record(const std::string& line) { standins::RecordCall(g_module, "outlook-calls.txt", line); }

std::string Narrow(BSTR text) {
    char buf[1024] = {};
    if (text) ::WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

enum class Kind { Application, MailItem, Attachments };
enum Member : DISPID { kCreateItem = 1, kAttachments, kDisplay, kAdd };

// One object type plays the application, the mail item and its attachments.
class Object final : public IDispatch {
public:
    explicit Object(Kind kind) : kind_(kind) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (!left) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1) return DISP_E_UNKNOWNNAME;
        const std::wstring name = names[0];
        if (kind_ == Kind::Application && name == L"CreateItem") *ids = kCreateItem;
        else if (kind_ == Kind::MailItem && name == L"Attachments") *ids = kAttachments;
        else if (kind_ == Kind::MailItem && name == L"Display") *ids = kDisplay;
        else if (kind_ == Kind::Attachments && name == L"Add") *ids = kAdd;
        else return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        const UINT argc = params ? params->cArgs : 0;
        VARIANT* args = argc ? params->rgvarg : nullptr;
        switch (id) {
        case kCreateItem:
            Record("CreateItem " + (argc && args[0].vt == VT_I4 ? std::to_string(args[0].lVal) : std::string("?")));
            return Hand(result, new Object(Kind::MailItem));
        case kAttachments: return Hand(result, new Object(Kind::Attachments));
        case kAdd:
            Record("Attachments.Add " + (argc && args[0].vt == VT_BSTR ? Narrow(args[0].bstrVal) : std::string("?")));
            return S_OK;
        case kDisplay:
            Record("Display " + (argc && args[0].vt == VT_BOOL ? std::to_string(args[0].boolVal) : std::string("?")));
            return S_OK;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    static HRESULT Hand(VARIANT* result, Object* object) {
        if (!result) {
            delete object;
            return S_OK;
        }
        ::VariantInit(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
        object->AddRef();
        return S_OK;
    }

    Kind kind_;
    ULONG refs_ = 0;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* app = new Object(Kind::Application);
        app->AddRef();
        const HRESULT hr = app->QueryInterface(riid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

}  // extern "C"

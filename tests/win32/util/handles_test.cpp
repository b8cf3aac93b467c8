// The owners of hooks and interface pointers give back what they hold exactly once.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "util/win32/com_handles.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {
namespace {

int hookCalls = 0;

LRESULT CALLBACK CountingHook(int code, WPARAM wp, LPARAM lp) {
    ++hookCalls;
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

// Sends one message to a window of this thread; true when the hook saw it.
bool HookSees(HWND window) {
    const int before = hookCalls;
    ::SendMessageA(window, WM_NULL, 0, 0);
    return hookCalls > before;
}

TEST(UniqueHook, TheHookIsRemovedWhenItsOwnerGoesAndNotBefore) {
    UniqueWindow window(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(window);
    {
        UniqueHook hook(::SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, nullptr, ::GetCurrentThreadId()));
        ASSERT_TRUE(hook);
        EXPECT_TRUE(HookSees(window.get()));
        UniqueHook moved(std::move(hook));
        EXPECT_FALSE(hook);
        EXPECT_TRUE(HookSees(window.get())) << "a move keeps the hook in place";
    }
    EXPECT_FALSE(HookSees(window.get()));

    UniqueHook hook(::SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, nullptr, ::GetCurrentThreadId()));
    hook.reset();
    EXPECT_FALSE(HookSees(window.get())) << "reset removes it at once";
}

// An interface the object below does not have.
constexpr GUID kOtherInterface{0x5a1e0c9b, 0x31d4, 0x4f6e, {0x9a, 0x02, 0x7c, 0x61, 0xd8, 0x43, 0xb5, 0x10}};

// An object that counts the references taken and given back.
class CountedObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id != __uuidof(IUnknown)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(--references); }

    int references = 1;  // the one the test holds
};

TEST(ComPtr, GivesBackEachReferenceOnceAcrossMovesAndResets) {
    CountedObject object;
    {
        ComPtr<IUnknown> first;
        ASSERT_EQ(object.QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(first.put())), S_OK);
        EXPECT_EQ(object.references, 2);
        ComPtr<IUnknown> second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(object.references, 2) << "a move takes no reference";
        ComPtr<IUnknown> third;
        ASSERT_EQ(object.QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(third.put())), S_OK);
        third.reset();
        EXPECT_EQ(object.references, 2);
        // put() gives back the reference held before the call fills in a new one.
        ASSERT_EQ(object.QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(second.put())), S_OK);
        EXPECT_EQ(object.references, 2);
    }
    EXPECT_EQ(object.references, 1);

    ComPtr<IUnknown> failed;
    EXPECT_EQ(object.QueryInterface(kOtherInterface, reinterpret_cast<void**>(failed.put())), E_NOINTERFACE);
    EXPECT_FALSE(failed);
    failed.reset();
    EXPECT_EQ(object.references, 1) << "nothing held, nothing released";
}

TEST(UniqueLocalPtr, TakesTheTextFormatMessageAllocates) {
    UniqueLocalPtr<char> text;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(text.put()), 0, nullptr);
    ASSERT_GT(length, 0u);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::strlen(text.get()), length);
}

TEST(OpenClipboardScope, WaitsOutAnotherHolderForAMomentAndClosesWhenItGoes) {
    // Another thread holds the clipboard open for 60 ms, as a polling reader does.
    HANDLE opened = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([opened] {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::SetEvent(opened);
        ::Sleep(60);
        ::CloseClipboard();
    });
    ASSERT_EQ(::WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
    {
        OpenClipboardScope clipboard(nullptr);
        EXPECT_TRUE(clipboard) << "opened once the other let go";
    }
    holder.join();
    ::CloseHandle(opened);
    EXPECT_TRUE(::OpenClipboard(nullptr)) << "and closed again by the scope";
    ::CloseClipboard();
}

}  // namespace
}  // namespace vimbrel::win32

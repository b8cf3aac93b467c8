#pragma once
// System-wide hotkeys on Win32: RegisterHotKey on a hidden window, WM_HOTKEY back to the
// hotkey list.
#include <windows.h>

#include <functional>

#include "desktop/sys_hotkey.h"
#include "desktop/win32/windowed_component.h"

namespace vimbrel::win32 {

class HotKeyWindow final : public TWindowedComponent, public HotKeyRegistrar {
public:
    bool RegisterHotKey(int id, unsigned modifierFlags, unsigned virtualKey) override;
    void UnregisterHotKey(int id) override;

    std::function<void(unsigned id)> OnHotKeyId;
    std::function<void()> OnDestroy;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The hotkey component as a window holds it: the list and the hidden window that receives
// its hotkeys, wired together. Destroying it gives back every registration.
class SysHotKeyHost {
public:
    SysHotKeyHost();
    SysHotKeyHost(const SysHotKeyHost&) = delete;
    SysHotKeyHost& operator=(const SysHotKeyHost&) = delete;

    TSysHotKey& HotKeys() { return hotkeys_; }
    HotKeyWindow& Window() { return window_; }

private:
    HotKeyWindow window_;
    TSysHotKey hotkeys_{window_};  // after window_: unregisters before the window goes
};

}  // namespace vimbrel::win32

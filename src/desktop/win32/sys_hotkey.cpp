#include "desktop/win32/sys_hotkey.h"

namespace vimbrel::win32 {

bool HotKeyWindow::RegisterHotKey(int id, unsigned modifierFlags, unsigned virtualKey) {
    return ::RegisterHotKey(Handle(), id, modifierFlags, virtualKey) != FALSE;
}

void HotKeyWindow::UnregisterHotKey(int id) {
    if (HandleAllocated()) ::UnregisterHotKey(Handle(), id);
}

LRESULT HotKeyWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HOTKEY:
            if (OnHotKeyId) OnHotKeyId(static_cast<unsigned>(wParam & 0xFFFF));
            return 0;
        case WM_DESTROY:
            if (OnDestroy) OnDestroy();
            break;
        default:
            break;
    }
    return DefaultHandler(message, wParam, lParam);
}

SysHotKeyHost::SysHotKeyHost() {
    window_.OnHotKeyId = [this](unsigned id) { hotkeys_.HotKeyPressed(id); };
    window_.OnDestroy = [this] { hotkeys_.ReceiverDestroyed(); };
}

}  // namespace vimbrel::win32

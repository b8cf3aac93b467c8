#pragma once
// The tray icon on Win32: Shell_NotifyIconA with the shell's first record layout, the
// registered callback message, the popup menu and the taskbar's "TaskbarCreated".
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <vector>

#include "desktop/tray_icon.h"
#include "desktop/win32/windowed_component.h"

namespace vimbrel::win32 {

inline IconHandle ToIconHandle(HICON icon) { return reinterpret_cast<IconHandle>(icon); }
inline HICON ToHIcon(IconHandle icon) { return reinterpret_cast<HICON>(icon); }

// The record as Shell_NotifyIconA takes it, in the first layout (cbSize
// NOTIFYICONDATAA_V1_SIZE, tip of at most 63 characters), uID 0; a balloon takes the second.
NOTIFYICONDATAA MakeNotifyIconData(HWND window, const TrayIconRecord& record);

// An icon from data in the icon-file format (the image nearest 16 x 16), or null when the
// data is not a readable icon. The caller destroys it.
HICON IconFromIconFile(const std::vector<std::uint8_t>& data);

class TrayIconWindow final : public TWindowedComponent {
public:
    void SetTray(TAnimatedTrayIcon* tray) { tray_ = tray; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TAnimatedTrayIcon* tray_ = nullptr;
};

class WinTrayShell final : public TrayShell {
public:
    // receiver gets the icon's callbacks; owner is the window brought forward for the
    // popup menu, which also receives the menu's WM_COMMAND and loses its taskbar button.
    WinTrayShell(TWindowedComponent& receiver, HWND owner) : receiver_(receiver), owner_(owner) {}

    std::uint32_t CallbackMessage() override;
    bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) override;
    bool TaskbarExists() override;
    bool WaitForTaskbar() override;
    TShiftState ShiftState() override;
    void ShowPopupMenu(MenuHandle menu) override;
    void HideApplicationButton() override;
    IconHandle DefaultIcon() override;
    IconHandle CopyIcon(IconHandle icon) override;
    IconHandle IconFromData(const std::vector<std::uint8_t>& data) override;
    void DestroyIcon(IconHandle icon) override;

private:
    TWindowedComponent& receiver_;
    HWND owner_;
};

// The tray icon as a window holds it (atiTray): hidden receiver window, shell and the
// component, wired together. Destroying it takes the icon out of the notification area.
class TrayIconHost {
public:
    TrayIconHost(HWND owner, TTimerPool& pool);
    ~TrayIconHost();
    TrayIconHost(const TrayIconHost&) = delete;
    TrayIconHost& operator=(const TrayIconHost&) = delete;

    TAnimatedTrayIcon& Tray() { return tray_; }
    // The icon is copied; null puts the built-in "TRAYICON" in its place.
    void SetIcon(HICON icon) { tray_.SetIcon(ToIconHandle(icon)); }
    // Not owned: the menu must outlive the host or be cleared first.
    void SetPopupMenu(HMENU menu) { tray_.SetPopupMenu(reinterpret_cast<MenuHandle>(menu)); }
    HWND Handle() { return window_.Handle(); }
    TWindowedComponent& Window() { return window_; }

private:
    TrayIconWindow window_;
    WinTrayShell shell_;
    TAnimatedTrayIcon tray_;  // last: removes its icon while window and shell still exist
};

}  // namespace vimbrel::win32

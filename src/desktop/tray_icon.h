#pragma once
// The program's icon in the notification area: a fixed or animated icon with a tip, mouse
// events, and a popup menu on a right click. The shell is reached through TrayShell.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "desktop/animated_icons.h"

namespace vimbrel {

// Opaque platform handles (HICON, HMENU on Windows); 0 is none.
using IconHandle = std::uintptr_t;
using MenuHandle = std::uintptr_t;

enum class TTrayIconStyle { tsNormal = 0, tsAnimated = 1 };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssDouble = 8;

// Shell_NotifyIcon's operations and record flags.
enum class TrayOperation : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };
inline constexpr std::uint32_t NIF_MESSAGE_FLAG = 1;
inline constexpr std::uint32_t NIF_ICON_FLAG = 2;
inline constexpr std::uint32_t NIF_TIP_FLAG = 4;
inline constexpr std::uint32_t NIF_INFO_FLAG = 0x10;  // a balloon over the icon

// Mouse messages the shell reports in the callback's lParam.
inline constexpr std::uint32_t kTrayMouseMove = 0x200;
inline constexpr std::uint32_t kTrayLButtonDown = 0x201;
inline constexpr std::uint32_t kTrayLButtonUp = 0x202;
inline constexpr std::uint32_t kTrayLButtonDblClk = 0x203;
inline constexpr std::uint32_t kTrayRButtonDown = 0x204;
inline constexpr std::uint32_t kTrayRButtonUp = 0x205;
inline constexpr std::uint32_t kTrayRButtonDblClk = 0x206;
inline constexpr std::uint32_t kTrayMButtonDown = 0x207;
inline constexpr std::uint32_t kTrayMButtonUp = 0x208;
inline constexpr std::uint32_t kTrayMButtonDblClk = 0x209;

// What the notification record carries besides the receiving window and uID 0.
struct TrayIconRecord {
    std::uint32_t Flags = 0;
    std::uint32_t CallbackMessage = 0;
    IconHandle Icon = 0;
    std::string Tip;  // at most kTrayTipLength characters
    // The balloon's title and text, with NIF_INFO_FLAG.
    std::string InfoTitle;  // at most kTrayInfoTitleLength characters
    std::string Info;       // at most kTrayInfoLength characters
};
inline constexpr std::size_t kTrayTipLength = 63;
inline constexpr std::size_t kTrayInfoTitleLength = 63;
inline constexpr std::size_t kTrayInfoLength = 255;

class TrayShell {
public:
    virtual ~TrayShell() = default;
    // Number of the message the shell sends for mouse events on the icon.
    virtual std::uint32_t CallbackMessage() = 0;
    virtual bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) = 0;
    virtual bool TaskbarExists() = 0;
    // Lets messages run for a while; called until the taskbar exists. False when the
    // program is asked to end meanwhile, which ends the wait.
    virtual bool WaitForTaskbar() = 0;
    virtual TShiftState ShiftState() = 0;
    // Brings the owner forward, opens the menu at the cursor and, once it closes, posts the
    // owner a message so the menu closes on a click elsewhere.
    virtual void ShowPopupMenu(MenuHandle menu) = 0;
    virtual void HideApplicationButton() = 0;
    // Icons handed out by these three belong to the caller, who gives them back with
    // DestroyIcon. IconFromData gives 0 for data that is not an icon.
    virtual IconHandle DefaultIcon() = 0;
    virtual IconHandle CopyIcon(IconHandle icon) = 0;
    virtual IconHandle IconFromData(const std::vector<std::uint8_t>& data) = 0;
    virtual void DestroyIcon(IconHandle icon) = 0;
};

// An icon the shell handed out, given back through it when replaced or at the end.
class ShellIcon {
public:
    ShellIcon(TrayShell& shell, IconHandle icon) : shell_(shell), icon_(icon) {}
    ~ShellIcon() { reset(); }
    ShellIcon(const ShellIcon&) = delete;
    ShellIcon& operator=(const ShellIcon&) = delete;
    IconHandle get() const { return icon_; }
    void reset(IconHandle icon = 0) {
        const IconHandle old = std::exchange(icon_, icon);
        if (old && old != icon) shell_.DestroyIcon(old);
    }

private:
    TrayShell& shell_;
    IconHandle icon_;
};

class TAnimatedTrayIcon {
public:
    using TNotifyEvent = std::function<void(TAnimatedTrayIcon& sender)>;
    using TTIMouseEvent = std::function<void(TAnimatedTrayIcon& sender, TMouseButton button, TShiftState shift)>;

    TAnimatedTrayIcon(TrayShell& shell, TTimerPool& pool);
    ~TAnimatedTrayIcon();
    TAnimatedTrayIcon(const TAnimatedTrayIcon&) = delete;
    TAnimatedTrayIcon& operator=(const TAnimatedTrayIcon&) = delete;

    bool Active() const { return active_; }
    // Becoming active waits until a taskbar exists, letting messages run. When the program
    // is asked to end during the wait, the icon stays active without being shown.
    void SetActive(bool active);
    IconHandle Icon() const { return icon_.get(); }
    // Keeps a copy of the icon; no icon (0) puts the built-in tray icon in its place.
    void SetIcon(IconHandle icon);
    void SetAnimation(const TAnimatedIcons& source);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    void SetPopupMenu(MenuHandle menu) { popupMenu_ = menu; }
    int RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int count);
    void SetShowHint(bool show);
    void SetStyle(TTrayIconStyle style);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEndAnimation;
    TTIMouseEvent OnMouseDown;
    TNotifyEvent OnMouseMove;
    TTIMouseEvent OnMouseUp;

    // A warning balloon over the shown icon; false when the icon is not shown or the shell
    // would not take it.
    bool ShowBalloon(const std::string& title, const std::string& text);

    // Takes the application's button off the taskbar.
    void HideApplicationButton() { shell_.HideApplicationButton(); }

    // A message arrived at the receiving window; true when it was the icon's callback.
    bool HandleCallback(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // The taskbar was created anew (the shell restarted): show the icon again.
    void TaskbarRecreated();

private:
    class ShownIcon;
    ShownIcon CurrentIcon();
    void NotifyShell(TrayOperation operation, std::uint32_t flags, IconHandle icon);
    void UpdateTrayIcon();
    void IconChanged();
    void NewFrame(int frame);

    TrayShell& shell_;
    TAnimatedIcons animation_;
    std::uint32_t callbackMessage_;
    bool active_ = false;
    ShellIcon icon_;
    std::string hint_;
    MenuHandle popupMenu_ = 0;
    int repeatCount_ = 0;
    bool showHint_ = true;
    TTrayIconStyle style_ = TTrayIconStyle::tsNormal;
    bool doubleClicked_ = false;
};

}  // namespace vimbrel

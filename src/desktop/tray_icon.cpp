#include "desktop/tray_icon.h"

#include <utility>

namespace vimbrel {

// The icon a notification carries: either the tray's own icon (borrowed) or an icon made
// from an animation frame for this one call (destroyed after it; the shell keeps a copy).
class TAnimatedTrayIcon::ShownIcon {
public:
    ShownIcon(TrayShell& shell, IconHandle icon, bool owned) : icon_(icon), owned_(shell, owned ? icon : 0) {}
    IconHandle Get() const { return icon_; }

private:
    IconHandle icon_;
    ShellIcon owned_;
};

TAnimatedTrayIcon::TAnimatedTrayIcon(TrayShell& shell, TTimerPool& pool)
    : shell_(shell), animation_(pool), callbackMessage_(shell.CallbackMessage()), icon_(shell, shell.DefaultIcon()) {
    animation_.OnNewFrame = [this](TAnimatedIcons&, int frame) { NewFrame(frame); };
    animation_.OnStopped = [this](TAnimatedIcons& sender) {
        // Only an animation that ran out its runs has ended; one stopped by a change of
        // style or by deactivation has not.
        if (repeatCount_ != 0 && sender.ReachedRunLimit() && OnEndAnimation) OnEndAnimation(*this);
    };
}

TAnimatedTrayIcon::~TAnimatedTrayIcon() {
    SetActive(false);
    animation_.OnStopped = nullptr;
    if (animation_.Playing()) animation_.Stop();
    icon_.reset();
}

void TAnimatedTrayIcon::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    UpdateTrayIcon();
}

void TAnimatedTrayIcon::UpdateTrayIcon() {
    if (active_) {
        while (!shell_.TaskbarExists())
            if (!shell_.WaitForTaskbar()) return;  // a taskbar made later still gets it
    }
    ShownIcon icon = CurrentIcon();
    NotifyShell(active_ ? TrayOperation::Add : TrayOperation::Delete, NIF_MESSAGE_FLAG | NIF_ICON_FLAG | NIF_TIP_FLAG,
                icon.Get());
}

void TAnimatedTrayIcon::TaskbarRecreated() {
    if (!active_) return;
    ShownIcon icon = CurrentIcon();
    NotifyShell(TrayOperation::Add, NIF_MESSAGE_FLAG | NIF_ICON_FLAG | NIF_TIP_FLAG, icon.Get());
}

void TAnimatedTrayIcon::SetIcon(IconHandle icon) {
    const IconHandle copy = icon ? shell_.CopyIcon(icon) : 0;
    const IconHandle next = copy ? copy : shell_.DefaultIcon();
    icon_.reset(next);
    if (active_ && style_ == TTrayIconStyle::tsNormal) NotifyShell(TrayOperation::Modify, NIF_ICON_FLAG, icon_.get());
}

void TAnimatedTrayIcon::SetAnimation(const TAnimatedIcons& source) {
    animation_.Assign(source);
    IconChanged();
}

void TAnimatedTrayIcon::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (active_) NotifyShell(TrayOperation::Modify, NIF_TIP_FLAG, 0);
}

void TAnimatedTrayIcon::SetShowHint(bool show) {
    if (show == showHint_) return;
    showHint_ = show;
    if (active_) NotifyShell(TrayOperation::Modify, NIF_TIP_FLAG, 0);
}

void TAnimatedTrayIcon::SetRepeatCount(int count) {
    if (count < 0 || count == repeatCount_) return;
    repeatCount_ = count;
    IconChanged();
}

void TAnimatedTrayIcon::SetStyle(TTrayIconStyle style) {
    if (style == style_) return;
    style_ = style;
    IconChanged();
}

void TAnimatedTrayIcon::IconChanged() {
    if (!active_) return;
    ShownIcon icon = CurrentIcon();
    NotifyShell(TrayOperation::Modify, NIF_ICON_FLAG, icon.Get());
}

TAnimatedTrayIcon::ShownIcon TAnimatedTrayIcon::CurrentIcon() {
    if (style_ == TTrayIconStyle::tsAnimated && animation_.Count() > 0) {
        // Every change restarts the animation from its first frame; an inactive icon has
        // nothing to animate.
        if (active_)
            animation_.Play(repeatCount_);
        else if (animation_.Playing())
            animation_.Stop();
        return ShownIcon(shell_, shell_.IconFromData(animation_.Item(0).Data), true);
    }
    if (animation_.Playing()) animation_.Stop();
    return ShownIcon(shell_, icon_.get(), false);
}

void TAnimatedTrayIcon::NewFrame(int frame) {
    if (!active_ || frame < 0 || frame >= animation_.Count()) return;
    ShownIcon icon(shell_, shell_.IconFromData(animation_.Item(frame).Data), true);
    NotifyShell(TrayOperation::Modify, NIF_ICON_FLAG, icon.Get());
}

void TAnimatedTrayIcon::NotifyShell(TrayOperation operation, std::uint32_t flags, IconHandle icon) {
    TrayIconRecord record;
    record.Flags = flags;
    record.CallbackMessage = callbackMessage_;
    record.Icon = icon;
    if (showHint_) record.Tip = hint_.substr(0, kTrayTipLength);
    // A failed call leaves the component as it is; the next change or a new taskbar retries.
    shell_.NotifyIcon(operation, record);
}

bool TAnimatedTrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    if (!active_) return false;
    TrayIconRecord record;
    record.Flags = NIF_INFO_FLAG;
    record.InfoTitle = title.substr(0, kTrayInfoTitleLength);
    record.Info = text.substr(0, kTrayInfoLength);
    return shell_.NotifyIcon(TrayOperation::Modify, record);
}

bool TAnimatedTrayIcon::HandleCallback(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message != callbackMessage_ || wParam != 0) return false;
    auto down = [&](TMouseButton b, TShiftState extra) {
        if (OnMouseDown) OnMouseDown(*this, b, static_cast<TShiftState>(shell_.ShiftState() | extra));
    };
    auto up = [&](TMouseButton b) {
        if (OnMouseUp) OnMouseUp(*this, b, shell_.ShiftState());
    };
    switch (static_cast<std::uint32_t>(lParam)) {
        case kTrayMouseMove:
            if (OnMouseMove) OnMouseMove(*this);
            break;
        case kTrayLButtonDown:
            doubleClicked_ = false;
            down(TMouseButton::mbLeft, 0);
            break;
        case kTrayLButtonUp:
            if (!doubleClicked_ && OnClick) OnClick(*this);
            up(TMouseButton::mbLeft);
            break;
        case kTrayLButtonDblClk:
            doubleClicked_ = true;
            if (OnDblClick) OnDblClick(*this);
            down(TMouseButton::mbLeft, ssDouble);
            break;
        case kTrayRButtonDown:
            down(TMouseButton::mbRight, 0);
            if (popupMenu_) shell_.ShowPopupMenu(popupMenu_);
            break;
        case kTrayRButtonUp:
            up(TMouseButton::mbRight);
            break;
        case kTrayRButtonDblClk:
            down(TMouseButton::mbRight, ssDouble);
            break;
        case kTrayMButtonDown:
            down(TMouseButton::mbMiddle, 0);
            break;
        case kTrayMButtonUp:
            up(TMouseButton::mbMiddle);
            break;
        case kTrayMButtonDblClk:
            down(TMouseButton::mbMiddle, ssDouble);
            break;
        default:
            break;
    }
    return true;
}

}  // namespace vimbrel

#include "capture/capture_commands.h"

#include "workspace/step_trace.h"
#include "workspace/edit_commands.h"
#include "desktop/sys_hotkey.h"
#include "util/scope_exit.h"
#include "util/scoped_value.h"
#include "workspace/zoom.h"

namespace vimbrel {

namespace {
constexpr int kFullScreenEntry = 0, kActiveWindowEntry = 1, kAreaEntry = 2;
// No shown image left to render.
constexpr double kRendered = -1;
}  // namespace

Bitmap AreaPicture(const AreaChoice& choice, double zoom) {
    const Rect& s = choice.selection;
    Bitmap selected = CopyArea(choice.screenImage, RelativeTo(s, choice.origin));
    if (zoom == 0 || zoom == 1) return selected;
    return ScaleNearest(selected, ScaledSide(s.Width(), 1 / zoom), ScaledSide(s.Height(), 1 / zoom));
}

CaptureCommands::CaptureCommands(const CommandDeps& deps, Screen& screen, AreaOverlay& overlay,
                                 CaptureDesktop& desktop)
    : deps_(deps), image_(deps.image), screen_(screen), overlay_(overlay), desktop_(desktop) {}

void CaptureCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::HotKey, [this](const CommandRef& ref) { shk1HotKey(ref.argument); });
    router.Bind(handler::CaptureScreenNow, [this] { CaptureFullScreen(); });
    router.Bind(handler::CaptureActiveNow, [this] { CaptureActiveWindow(); });
    router.Bind(handler::CaptureArea, [this] { btnSelectClick(); });
    router.Bind(handler::Crop, [this] { btnCropClick(); });
    router.Bind(handler::AutoPrint, [this] { mnuAutoPrintClick(); });
    router.Bind(handler::AutoSave, [this] { mnuAutoSaveClick(); });
    router.Bind(handler::SetScreen, [this] { mnuSetScreenClick(); });
    router.Bind(handler::SetArea, [this] { mnuSetAreaClick(); });
}

void CaptureCommands::shk1HotKey(int index) {
    if (desktop_.ConsoleInForeground()) return;
    deps_.hotKeys.SetActive(false);
    // The capture under way switches them on again when it ends.
    if (hotKeyBusy_) return;
    // On again and no longer busy however the capture ends, a failure included.
    const ScopeExit reactivate([&hotKeys = deps_.hotKeys] { hotKeys.SetActive(true); });
    const ScopedValue<bool> busy(hotKeyBusy_, true);
    switch (index) {
    case kFullScreenEntry:
        if (deps_.commands.Checked(cmd::mnuSetScreen))
            CaptureFullScreen();
        else
            CaptureArea();
        break;
    case kActiveWindowEntry: CaptureActiveWindow(); break;
    case kAreaEntry: btnSelectClick(); break;
    default: break;
    }
}

void CaptureCommands::StartCapture() {
    DisarmStamp(image_, deps_.view);
    image_.CurrentFileName.clear();
}

void CaptureCommands::CaptureFullScreen() {
    StepTrace trace("full screen");
    const ScopedValue<StepTrace*> traced(trace_, &trace);
    StartCapture();
    // Grabbed first and then swapped in for the old picture, which moves to the undo slot:
    // the same as snapshot, grab, but with no copy of a screenful on the way to the file.
    Bitmap grabbed = image_.TakeSpare();
    try {
        screen_.GrabScreen(grabbed);
    } catch (...) {
        image_.ReturnSpare(std::move(grabbed));
        throw;
    }
    trace.Step("grab");
    image_.TakeUndoSnapshotAndReplace(std::move(grabbed));
    image_.ResetZoom();
    screen_.DrawMouseCursor(image_.imgMain, Point{0, 0}, deps_.flags.InclMouse);
    trace.Step("into image");
    // The shown image is rendered where the post-capture actions first need it, at the
    // latest right after the file is written.
    RunPostCaptureActions(false, 1.0);
    image_.CaptureText = "Full Screen capture";
    image_.ShowCaptureStatus();
    trace.Step("status");
}

void CaptureCommands::CaptureActiveWindow() {
    StepTrace trace("active window");
    const ScopedValue<StepTrace*> traced(trace_, &trace);
    StartCapture();
    const WindowId target = desktop_.CaptureTarget(deps_.view.TargetWindow());
    if (target == 0) {
        deps_.dialogs.Warning(kNoWindowToCapture);
        return;
    }
    desktop_.BringToFront(target);
    trace.Step("to front");
    Bitmap grabbed = image_.TakeSpare();
    std::optional<Rect> rect;
    try {
        rect = screen_.GrabWindow(target, grabbed);
    } catch (...) {
        image_.ReturnSpare(std::move(grabbed));
        throw;
    }
    // Closed in the moment since: no capture at all.
    if (!rect) {
        image_.ReturnSpare(std::move(grabbed));
        deps_.dialogs.Warning(kNoWindowToCapture);
        return;
    }
    trace.Step("grab");
    image_.TakeUndoSnapshotAndReplace(std::move(grabbed));
    image_.ResetZoom();
    screen_.DrawMouseCursor(image_.imgMain, rect->TopLeft(), deps_.flags.InclMouse);
    trace.Step("into image");
    RunPostCaptureActions(false, 1.0);
    image_.CaptureText = "Captured: [" + desktop_.WindowTitle(target) + "]";
    image_.ShowCaptureStatus();
    trace.Step("status");
}

void CaptureCommands::CaptureArea() { CaptureArea(true); }

void CaptureCommands::CaptureArea(bool settleFirst) {
    // Started from a menu or a tool button too, not only by a hotkey: no capture, watched
    // paste or console print may start under the overlay.
    HotKeysOff hotKeysOff(deps_.hotKeys);
    double zoom = 1.0;
    for (bool settle = settleFirst;; settle = true) {
        StartCapture();
        if (!deps_.view.LetPendingMessagesRun()) return;
        // A window that was just on the screen (the main window hidden, the question of a
        // retry) needs a moment to leave it before the desktop is copied.
        if (settle) desktop_.Pause(kOverlayPauseMs);
        AreaChoice choice = overlay_.Run();
        // Cancelled, or closed by the window system: nothing changes, the picture that was
        // there before stays the one Undo goes back past.
        if (!choice.ok) return;
        image_.TakeUndoSnapshot();
        if (SelectionEmpty(choice.selection)) {
            if (desktop_.AskOkCancel(kAreaTryAgain)) continue;
            return;
        }
        desktop_.Pause(kAreaGrabDelayMs);
        zoom = image_.ZoomFactor() == 0 ? 1.0 : image_.ZoomFactor();
        image_.imgMain = Bitmap();
        image_.imgMain = AreaPicture(choice, zoom);
        image_.NewPicture();
        choice.screenImage = Bitmap();
        break;
    }
    StepTrace trace("area");
    const ScopedValue<StepTrace*> traced(trace_, &trace);
    RunPostCaptureActions(cropMode_, zoom);
    image_.CaptureText = "Selected area captured";
    image_.ShowCaptureStatus();
    trace.Step("status");
}

void CaptureCommands::btnSelectClick() {
    const bool wasShown = deps_.view.HideMainWindow();
    CaptureArea(wasShown);
}

void CaptureCommands::btnCropClick() {
    const ScopedValue<bool> crop(cropMode_, true);
    CaptureArea();
}

void CaptureCommands::RunPostCaptureActions(bool skipOutput) { RunPostCaptureActions(skipOutput, kRendered); }

void CaptureCommands::RunPostCaptureActions(bool skipOutput, double renderAt) {
    CommandStates& commands = deps_.commands;
    StepTrace untraced("post-capture");
    StepTrace& trace = trace_ ? *trace_ : untraced;
    // The shown image, when the capture left it to be rendered: before anything shows it or
    // takes it (the pop-up, the copy, the print with its notes dialog, the editor), else
    // once the file is whole. A bare capture-and-save program renders nothing before then.
    auto render = [&] {
        if (renderAt == kRendered) return;
        image_.RenderShownImage(image_.imgMain, renderAt);
        renderAt = kRendered;
        trace.Step("render");
    };
    // A print or save that fails still leaves the new picture shown, as the capture stays.
    const ScopeExit renderAnyway([&render] { render(); });
    image_.EnableImageCommands(true);
    trace.Step("commands");
    if (deps_.flags.PopUp) {
        render();
        deps_.view.RestoreMainWindow();
        trace.Step("pop-up");
    }
    if (deps_.flags.AutoClipCopy) {
        render();
        deps_.router.Route(handler::Copy);
        trace.Step("copy");
    }
    if (!skipOutput) {
        if (commands.Enabled(cmd::Print1) && commands.Checked(cmd::mnuAutoPrint)) {
            render();
            deps_.router.Route(handler::Print);
            trace.Step("print");
        }
        if (commands.Enabled(cmd::mnuAutoSave) && commands.Checked(cmd::mnuAutoSave)) {
            deps_.router.Route(handler::NumberedSave);
            trace.Step("save");
        }
    }
    render();
    if (!skipOutput && deps_.flags.AutoEdit) {
        deps_.router.Route(handler::Editor);
        trace.Step("editor");
    }
}

void CaptureCommands::mnuAutoPrintClick() { ToggleOption(cmd::mnuAutoPrint, cmd::popAutoPrint, deps_.flags.AutoPrint); }

void CaptureCommands::mnuAutoSaveClick() { ToggleOption(cmd::mnuAutoSave, cmd::popAutoSave, deps_.flags.AutoSave); }

void CaptureCommands::ToggleOption(CommandName menuItem, CommandName popupItem, bool& setting) {
    // The menu item's check is the switch; the picture menu's item and the setting follow it.
    const bool on = !deps_.commands.Checked(menuItem);
    deps_.commands.SetChecked(menuItem, on);
    deps_.commands.SetChecked(popupItem, on);
    setting = on;
    deps_.view.UpdateOptionIndicators();
}

void CaptureCommands::mnuSetScreenClick() {
    deps_.commands.SetChecked(cmd::mnuSetArea, false);
    deps_.commands.SetChecked(cmd::mnuSetScreen, true);
    deps_.flags.SaveMode = "S";
}

void CaptureCommands::mnuSetAreaClick() {
    deps_.commands.SetChecked(cmd::mnuSetScreen, false);
    deps_.commands.SetChecked(cmd::mnuSetArea, true);
    deps_.flags.SaveMode = "A";
}

}  // namespace vimbrel

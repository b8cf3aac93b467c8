#pragma once
// The capture commands: the whole screen, the last active window and a dragged area (with
// crop, its variant over the shown image), started by hotkeys, tray items, tool buttons, a
// second start and "\F", and the post-capture actions that run after each.
#include <string>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "capture/area_selection.h"
#include "capture/screen_grab.h"
#include "workspace/current_image.h"
#include "workspace/edit_commands.h"

namespace vimbrel {

class StepTrace;

// What a capture asks of the desktop besides its pixels.
class CaptureDesktop : public ConsoleWatch {
public:
    // The window the active-window capture takes, given the one Timer1 remembered: that one
    // while it exists, else the one in front now; 0 when no window may be taken.
    virtual WindowId CaptureTarget(WindowId remembered) = 0;
    virtual void BringToFront(WindowId window) = 0;
    // GetWindowTextA with a buffer of 255: at most 254 characters.
    virtual std::string WindowTitle(WindowId window) = 0;
    virtual void Pause(int milliseconds) = 0;
    // A message box with no owner window, OK and Cancel, the warning icon; true for OK.
    virtual bool AskOkCancel(const std::string& text) = 0;
};

inline constexpr const char* kAreaTryAgain =
    "Hold the mouse buton down from the Upper Left corner\r\nto Lower Right corner of the area to be "
    "selected.  \r\nRelease mouse button when complete.  Try Again?";
inline constexpr const char* kNoWindowToCapture =
    "There is no window to capture.\r\nBring the window to the front, then try again.";
inline constexpr int kAreaGrabDelayMs = 100;
inline constexpr int kOverlayPauseMs = 200;

class CaptureCommands {
public:
    CaptureCommands(const CommandDeps& deps, Screen& screen, AreaOverlay& overlay, CaptureDesktop& desktop);
    void BindTo(CommandRouter& router);

    // The hotkey with this entry: 0 the full screen, 1 the active window, 2 an area.
    void shk1HotKey(int index);
    void CaptureFullScreen();
    void CaptureActiveWindow();
    void CaptureArea();
    // "Select an Area", "Capture Area Now": the main window is hidden first.
    void btnSelectClick();
    // The area command over the shown image: the window stays, nothing is printed or saved.
    void btnCropClick();
    void RunPostCaptureActions(bool skipOutput);

    void mnuAutoPrintClick();
    void mnuAutoSaveClick();
    void mnuSetScreenClick();
    void mnuSetAreaClick();

    bool HotKeyBusy() const { return hotKeyBusy_; }
    bool CropMode() const { return cropMode_; }

private:
    // Disarms a cursor stamp and forgets the file name: the first steps of every capture.
    void StartCapture();
    // settleFirst: wait for a window just hidden to leave the screen before the first copy.
    void CaptureArea(bool settleFirst);
    // renderAt: the zoom at which the shown image is still to be rendered from imgMain;
    // negative when it has been rendered already.
    void RunPostCaptureActions(bool skipOutput, double renderAt);
    void ToggleOption(CommandName menuItem, CommandName popupItem, bool& setting);

    CommandDeps deps_;
    CurrentImage& image_;
    Screen& screen_;
    AreaOverlay& overlay_;
    CaptureDesktop& desktop_;
    // The running capture's step trace, for the post-capture actions to add to.
    StepTrace* trace_ = nullptr;
    bool hotKeyBusy_ = false;
    bool cropMode_ = false;
};

// The full-size picture for an area chosen over a view at zoom: the selected pixels of the
// frozen desktop (selection in screen coordinates, the copy's top-left at origin, which lies
// left of or above (0, 0) when a monitor does), scaled by 1 / zoom (halves to even) so a
// zoomed view gives back the picture's own scale. A zoom of 0 counts as 1.
Bitmap AreaPicture(const AreaChoice& choice, double zoom);

}  // namespace vimbrel

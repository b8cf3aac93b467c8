#pragma once
// What the main window holds for the run, and the ports it offers the settings, the current
// image and the command groups: its parts are made in FormCreate and live as long as the
// window object.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/command_groups.h"
#include "app/win32/main_form_controls.h"
#include "app/win32/main_settings.h"
#include "capture/window_id.h"
#include "app/main_commands.h"
#include "commands/command_router.h"
#include "desktop/win32/sys_hotkey.h"
#include "desktop/win32/timer_pool.h"
#include "desktop/win32/tray_icon.h"
#include "desktop/win32/windowed_component.h"
#include "util/command_states.h"
#include "util/win32/com_handles.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/handles.h"
#include "util/win32/modal.h"
#include "util/win32/window_base.h"
#include "workspace/clipboard_chain.h"
#include "workspace/current_image.h"
#include "workspace/win32/image_box.h"
#include "app/win32/main_window.h"

namespace vimbrel::win32 {

// Keeps the target of the active-window capture.
constexpr UINT_PTR kTimer1 = 1;
// Shows the notices that could not go to a tray balloon.
constexpr UINT kShowNotice = WM_APP + 2;

struct MainWindow::State : SettingsView, ImageView, CursorPort, MainView, UserNotice {
    explicit State(MainWindow& w) : window(w) {}
    MainWindow& window;
    // COM on the window's thread (the shell's dialogs, starting other programs, mail by
    // automation), from just after the window is made until everything below has gone.
    std::optional<ComApartment> com;

    // What loading the settings asks of the window.
    void SetCaptureMode(bool area) override {
        commands.SetChecked(cmd::mnuSetArea, area);
        commands.SetChecked(cmd::mnuSetScreen, !area);
    }
    void OptionIndicatorsChanged() override {
        if (settings) window.UpdateOptionIndicators();
    }
    void CreatePrintTextFont(const std::string& faceName) override {
        LOGFONTA lf{};
        ::GetObjectA(font.get(), sizeof lf, &lf);
        lstrcpynA(lf.lfFaceName, faceName.c_str(), LF_FACESIZE);
        printTextFont.reset(::CreateFontIndirectA(&lf));
        printTextFace = faceName;
    }
    // PrintTextFont with the face the settings name now: "Option Settings" may have changed it.
    HFONT CurrentPrintTextFont() {
        if (settings && settings->Flags().DosFont != printTextFace) CreatePrintTextFont(settings->Flags().DosFont);
        return printTextFont.get();
    }

    // The current image's view: the scroll box, status panel 0, its messages.
    void ShowImage1(const Bitmap& image1) override { imageBox.Show(image1); }
    void SetStatusText(const std::string& text) override { window.SetStatusText(0, text); }
    void WarningBox(const std::string& text) override {
        ModalMessageBox(window.Hwnd(), text, appTitle, MB_OK | MB_ICONWARNING);
    }
    void UpdateNotesState() override { window.UpdateNotesState(); }

    // The window as the command groups see it.
    void RestoreMainWindow() override { window.RestoreMainWindow(); }
    bool HideMainWindow() override { return ::ShowWindow(window.Hwnd(), SW_HIDE) != FALSE; }
    bool LetPendingMessagesRun() override { return ProcessPendingMessages(); }
    void SetImagePointer(ImagePointer pointer) override { imageBox.SetPointer(pointer); }
    bool ImageScrollable() override { return imageBox.Scrollable(); }
    void ScrollImageLine(bool horizontal, bool forward) override { imageBox.ScrollLine(horizontal, forward); }
    void UpdateOptionIndicators() override { window.UpdateOptionIndicators(); }
    std::uintptr_t TargetWindow() const override { return targetWindow; }

    // A balloon over the tray icon; a message box when there is no icon to show it. The box
    // comes up once the work of the moment is done: a notice can be raised while a capture
    // or a dialog is still unwinding, and must not hold it open.
    void Notify(const std::string& title, const std::string& text) override {
        if (atiTray && atiTray->Tray().ShowBalloon(title, text)) return;
        pendingNotices.push_back(text);
        if (!::PostMessageA(window.Hwnd(), kShowNotice, 0, 0)) ShowPendingNotices();
    }
    void ShowPendingNotices() {
        std::vector<std::string> notices;
        notices.swap(pendingNotices);
        for (const std::string& text : notices)
            ModalMessageBox(window.Hwnd(), text, appTitle, MB_OK | MB_ICONWARNING);
    }
    std::vector<std::string> pendingNotices;

    // The wait cursor of long work.
    bool BusyCursorShown() const override { return busy; }
    void ShowBusyCursor(bool on) override {
        busy = on;
        ::SetCursor(::LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW));
    }
    bool busy = false;

    std::string firstArgument;
    std::string programFolder, dataFolder, workFolder, appTitle;
    CommandStates commands;
    const CommandTable& table = MainCommandTable();
    CommandRouter router{table};
    HMENU mainMenu = nullptr;  // owned by the window
    UniqueMenu trayMenu, imageMenu;
    UniqueAccel accelerators;
    UniqueFont font, printTextFont;
    std::string printTextFace;
    MainFormControls controls;
    UniqueIcon smallIcon;
    std::string trayHint, toolTip;
    ImageBox imageBox;
    ClipboardChain clipboardChain;
    WindowId targetWindow = 0;  // what the active-window capture takes
    bool suppressResize = false;
    bool menuBarRedrawPosted = false;
    bool trueColourDisplay = false;
    // The hidden application window that owns the main window and carries the program's
    // taskbar button, which the tray icon then takes away.
    TWindowedComponent applicationWindow;
    // shk1 registers nothing and makes no window before FormCreate switches it on; the
    // command groups hold on to it.
    SysHotKeyHost shk1;
    // Made in FormCreate, in this order, and destroyed in reverse order with the window
    // object, never before: a command still running after the window has gone may use them.
    std::unique_ptr<MainSettings> settings;
    std::unique_ptr<CurrentImage> image;
    std::unique_ptr<CommandGroups> groups;
    // The tray icon goes before the timer pool it uses.
    std::unique_ptr<WinTimerPool> timerPool;
    std::unique_ptr<TrayIconHost> atiTray;
};

}  // namespace vimbrel::win32

#include "app/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "capture/capture_hotkeys.h"
#include "workspace/clipboard_chain.h"
#include "commands/command_router.h"
#include "app/hand_over.h"
#include "app/main_form_rules.h"
#include "app/win32/command_groups.h"
#include "commands/win32/dialogs.h"
#include "app/win32/exception_handler.h"
#include "workspace/win32/image_box.h"
#include "app/win32/main_form_controls.h"
#include "app/win32/main_settings.h"
#include "app/win32/menu_builder.h"
#include "commands/win32/resource_ids.h"
#include "util/window_position.h"
#include "capture/foreground.h"
#include "capture/win32/screen_grab.h"
#include "desktop/hotkey_text.h"
#include "desktop/win32/sys_hotkey.h"
#include "desktop/win32/timer_pool.h"
#include "desktop/win32/tray_icon.h"
#include "desktop/win32/windowed_component.h"
#include "util/text.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/system.h"
#include "workspace/current_image.h"

namespace vimbrel::win32 {
namespace {

constexpr int kScrollBoxId = 3;
constexpr UINT_PTR kTimer1 = 1;
// The menu bar is drawn again once the messages of the moment are handled, not once per
// command state: a capture changes dozens of them.
constexpr UINT kRedrawMenuBar = WM_APP + 1;
// Shows the notices that could not go to a tray balloon.
constexpr UINT kShowNotice = WM_APP + 2;

constexpr UINT Message(HandOverMessage m) { return UINT(m); }

std::string ProgramFolderOf(HINSTANCE instance) {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(instance, path, MAX_PATH);
    std::string p(path, n);
    auto slash = p.find_last_of('\\');
    return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

bool HasEntries(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    UniqueFind find(::FindFirstFileA((folder + "*.*").c_str(), &fd));
    if (!find) return false;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..") return true;
    } while (::FindNextFileA(find.get(), &fd));
    return false;
}

}  // namespace

struct MainWindow::State : SettingsView, ImageView, CursorPort, MainView, UserNotice {
    explicit State(MainWindow& w) : window(w) {}
    MainWindow& window;

    // What loading the settings asks of the window.
    void SetCaptureMode(bool area) override {
        commands.SetChecked("mnuSetArea", area);
        commands.SetChecked("mnuSetScreen", !area);
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
        ::MessageBoxA(window.Hwnd(), text.c_str(), appTitle.c_str(), MB_OK | MB_ICONWARNING);
    }
    void UpdateNotesState() override { window.UpdateNotesState(); }

    // The window as the command groups see it.
    void RestoreMainWindow() override { window.RestoreMainWindow(); }
    void HideMainWindow() override { ::ShowWindow(window.Hwnd(), SW_HIDE); }
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
            ::MessageBoxA(window.Hwnd(), text.c_str(), appTitle.c_str(), MB_OK | MB_ICONWARNING);
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
    CommandRouter router;
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

MainWindow::MainWindow(std::string firstArgument) : s_(std::make_unique<State>(*this)) {
    s_->firstArgument = std::move(firstArgument);
}

MainWindow::~MainWindow() {
    // Still there only when start-up failed: the close steps run while the state exists.
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool MainWindow::Create() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    RegisterWindowClass(
        {.name = kMainWindowClass,
         .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
         .background = HBRUSH(COLOR_BTNFACE + 1),
         .icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAINICON)),
         .smallIcon = HICON(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 16, 16, LR_SHARED))});

    UniqueMenu menu = BuildMenu(MainMenu(), true);
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const MainFormMetrics metrics = MainFormMetricsAt(int(::GetDpiForSystem()));
    RECT r = ToRECT(Rect::At(Point{}, metrics.client));
    ::AdjustWindowRectExForDpi(&r, style, TRUE, 0, UINT(metrics.dpi));
    if (!CreateFor({.className = kMainWindowClass,
                    .title = kMainCaption,
                    .style = style,
                    .width = r.right - r.left,
                    .height = r.bottom - r.top,
                    .parent = s_->applicationWindow.Handle(),
                    .menu = menu.get()}))
        return false;
    s_->mainMenu = menu.release();
    s_->smallIcon.reset(HICON(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    ::SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, LPARAM(s_->smallIcon.get()));
    FormCreate();
    return true;
}

void MainWindow::CreateControls() {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lstrcpynA(lf.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    s_->font.reset(::CreateFontIndirectA(&lf));

    s_->controls.Create(hwnd_, s_->imageBox.Create(hwnd_, kScrollBoxId), s_->font.get());
    s_->trayMenu = BuildMenu(TrayMenu(), false);
    s_->imageMenu = BuildMenu(ImageMenu(), false);
    s_->accelerators = BuildAccelerators();

    // Every control follows its command's state from now on.
    s_->commands.SetListener([this](const std::string& name, const CommandState& state) {
        MirrorCommandState(name, state, s_->router, {s_->mainMenu, s_->trayMenu.get(), s_->imageMenu.get()},
                           s_->controls.ToolBar());
        RedrawMenuBarSoon();
    });
    // Nothing to save until the first save.
    s_->commands.SetEnabled("Save1", false);
}

void MainWindow::MirrorAllCommands() {
    for (const std::string& name : AllCommandNames())
        MirrorCommandState(name, s_->commands.Get(name), s_->router,
                           {s_->mainMenu, s_->trayMenu.get(), s_->imageMenu.get()}, s_->controls.ToolBar());
    RedrawMenuBarSoon();
}

void MainWindow::RedrawMenuBarSoon() {
    if (s_->menuBarRedrawPosted) return;
    s_->menuBarRedrawPosted = ::PostMessageA(hwnd_, kRedrawMenuBar, 0, 0) != FALSE;
    if (!s_->menuBarRedrawPosted) ::DrawMenuBar(hwnd_);
}

// The commands of the window's own life: the rest belong to the command groups.
void MainWindow::BindOwnCommands() {
    CommandRouter& router = s_->router;
    router.Bind(Handler::Exit, [this] { Exit1Click(); });
    router.Bind(Handler::Restore, [this] { RestoreMainWindow(); });
    router.Bind(Handler::Notes, [this] {
        s_->settings->Flags().PrintNotes = !s_->settings->Flags().PrintNotes;
        UpdateNotesState();
    });
}

void MainWindow::FormCreate() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    CreateControls();

    // 1-2: folders.
    s_->programFolder = ProgramFolderOf(instance);
    s_->settings = std::make_unique<MainSettings>(s_->programFolder, s_->commands, *s_);
    s_->dataFolder = s_->settings->DataFolder();

    // 3: the override file is opened (or an empty one deleted) by the settings.
    s_->settings->OpenOverrideFile();

    // 4: clipboard-viewer chain.
    s_->clipboardChain.Joined(reinterpret_cast<ClipboardChain::Window>(::SetClipboardViewer(hwnd_)));

    // 5: printer set-up needs an installed printer.
    bool printers = s_->settings->PrinterInstalled();
    s_->commands.SetEnabled("PrintSetup1", printers);
    s_->commands.SetEnabled("btnPrtSetup", printers);

    // 6-7: title, display depth.
    char caption[256] = {};
    ::GetWindowTextA(hwnd_, caption, sizeof caption);
    s_->appTitle = AppTitleFor(caption);
    SetApplicationTitle(s_->appTitle);
    s_->trueColourDisplay = ::GetDeviceCaps(WindowDC(nullptr).get(), NUMCOLORS) == -1;
    s_->image = std::make_unique<CurrentImage>(s_->commands, *s_, *s_,
                                               [this] { return !s_->settings->Flags().ImageEditor.empty(); });
    s_->image->TrueColourDisplay = s_->trueColourDisplay;
    s_->image->ResetZoom();

    // 8-9: every setting, then the work folder; the override file is closed again.
    try {
        s_->settings->Load();
    } catch (...) {
        s_->settings->CloseOverrideFile();
        throw;
    }
    s_->settings->CloseOverrideFile();
    s_->workFolder = s_->settings->WorkFolder();
    s_->groups = std::make_unique<CommandGroups>(
        MainWindowParts{hwnd_, s_->appTitle, s_->programFolder, *s_->settings, *s_->image, s_->commands, *s_, *s_,
                        s_->shk1.HotKeys(), [s = s_.get()] { return s->CurrentPrintTextFont(); }},
        s_->router);
    EditCommands& edit = s_->groups->Edit();
    s_->imageBox.OnMouseDown = [&edit](MouseButton b, Point at) { edit.Image1MouseDown(b, at); };
    s_->imageBox.OnMouseMove = [&edit](Point at) { edit.Image1MouseMove(at); };
    s_->imageBox.OnMouseUp = [&edit](MouseButton b, Point at) { edit.Image1MouseUp(b, at); };
    BindOwnCommands();
    MirrorAllCommands();
    // Deciphered plain files must not outlive a crash: empty the work folder now as well.
    EmptyWorkFolder();

    // 10-11: hidden start, with or without a taskbar (a window shown minimised where no
    // taskbar holds it would sit on the desktop); the image commands as for no picture.
    s_->image->Start();

    // 11: the tray icon with the window's icon and the tray menu; no taskbar button.
    s_->timerPool = std::make_unique<WinTimerPool>();
    s_->atiTray = std::make_unique<TrayIconHost>(hwnd_, s_->timerPool->Pool());
    TAnimatedTrayIcon& tray = s_->atiTray->Tray();
    s_->atiTray->SetIcon(HICON(s_->smallIcon.get()));
    s_->atiTray->SetPopupMenu(s_->trayMenu.get());
    tray.SetHint(s_->trayHint);
    tray.OnDblClick = [this](TAnimatedTrayIcon&) { RestoreMainWindow(); };
    tray.SetActive(true);
    tray.HideApplicationButton();

    // 12: the three capture hotkeys.
    s_->shk1.HotKeys().OnHotKey = [this](TSysHotKey&, int index) { s_->router.Route(Handler::HotKey, index); };
    s_->shk1.HotKeys().SetActive(true);
    RegisterCaptureHotKeys(s_->shk1.HotKeys(), s_->settings->Flags());
    ReportRefusedCaptureHotKeys(s_->shk1.HotKeys(), s_->settings->Flags(), *s_);
    WatchCaptureHotKeys(s_->shk1.HotKeys(), s_->settings->Flags(), *s_);

    // Timer1: keeps the target of the active-window capture.
    ::SetTimer(hwnd_, kTimer1, kForegroundTimerMs, nullptr);

    // 13: position.
    RestoreWindowPosition();

    // 15: the first command-line argument. A file that cannot be opened is reported and
    // the program runs on, as when a second start hands it over.
    const std::string& arg = s_->firstArgument;
    if (arg == "\\F")
        s_->router.Route(Handler::CaptureScreenNow);
    else if (!arg.empty() && FileExists(arg))
        RunReported(hwnd_, [&] { ShowAndOpen(arg); });
}

bool MainWindow::PreTranslate(MSG& msg) {
    if (!hwnd_) return false;
    bool ours = msg.hwnd == hwnd_ || ::IsChild(hwnd_, msg.hwnd);
    if (!ours) return false;
    if (msg.message == WM_KEYDOWN && FormKeyDown(int(msg.wParam))) return true;
    return s_->accelerators && ::TranslateAcceleratorA(hwnd_, s_->accelerators.get(), &msg);
}

bool MainWindow::FormKeyDown(int virtualKey) {
    bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    Handler handler = ClassifyFormKey(virtualKey, ctrl, s_->commands);
    return handler != Handler::None && s_->router.Route(handler);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND: {
        UINT cmd = UINT(wp & 0xFFF0);
        if (cmd == SC_MINIMIZE || cmd == SC_CLOSE) {
            ::ShowWindow(hwnd_, SW_HIDE);
            return 0;
        }
        return Default(msg, wp, lp);
    }
    case WM_SIZE:
        s_->controls.Layout();
        FormResize();
        return 0;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_COMMAND:
        s_->router.RouteControl(LOWORD(wp), s_->commands);
        return 0;
    case WM_MEASUREITEM:
        if (reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlType != ODT_MENU) return Default(msg, wp, lp);
        MeasureCursorItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp), s_->controls.Metrics());
        return TRUE;
    case WM_DRAWITEM:
        if (reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlType != ODT_MENU) return Default(msg, wp, lp);
        DrawCursorItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CONTEXTMENU:
        if (HWND(wp) == s_->controls.ScrollBox()) {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ::TrackPopupMenu(s_->imageMenu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
            return 0;
        }
        return Default(msg, wp, lp);
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
            s_->toolTip = ToolBarHint(int(hdr->idFrom));
            info->lpszText = s_->toolTip.data();
            return 0;
        }
        return Default(msg, wp, lp);
    }
    case Message(HandOverMessage::CaptureFullScreen):
        s_->router.Route(Handler::CaptureScreenNow);
        return 0;
    case Message(HandOverMessage::CaptureActiveWindow):
        s_->router.Route(Handler::CaptureActiveNow);
        return 0;
    case Message(HandOverMessage::OpenHandOverFile):
        OnHandOverFile();
        return 0;
    case Message(HandOverMessage::Restore):
        RestoreMainWindow();
        return 0;
    case kShowNotice:
        s_->ShowPendingNotices();
        return 0;
    case kRedrawMenuBar:
        s_->menuBarRedrawPosted = false;
        ::DrawMenuBar(hwnd_);
        return 0;
    case WM_TIMER:
        if (wp == kTimer1) TrackForegroundWindow(WinWindowQuery(), s_->targetWindow);
        return 0;
    case WM_DRAWCLIPBOARD: {
        HWND next = reinterpret_cast<HWND>(s_->clipboardChain.Next());
        if (next && ::IsWindow(next)) ::SendMessageA(next, msg, 0, 0);
        s_->router.Route(Handler::ClipboardChanged);
        return 0;
    }
    case WM_CHANGECBCHAIN:
        if (HWND next = reinterpret_cast<HWND>(s_->clipboardChain.WindowLeaves(wp, ClipboardChain::Window(lp))))
            ::SendMessageA(next, msg, wp, lp);
        return 0;
    case WM_CLOSE:
        CloseNow();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The session ends with the program: the clean-up of an exit, with no question.
        if (wp) CloseNow();
        return 0;
    case WM_DESTROY:
        RunReported(hwnd_, [this] { FormDestroy(); });
        ::PostQuitMessage(0);
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

void MainWindow::RestoreMainWindow() {
    ::ShowWindow(hwnd_, SW_RESTORE);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hwnd_);
    ::UpdateWindow(hwnd_);
}

bool MainWindow::ConfirmExit() {
    if (!ShouldConfirmExit(s_->settings->Store())) return true;
    ExitAnswer answer = AskExit(hwnd_, s_->appTitle);
    if (answer.doNotAskAgain) WriteDoNotConfirmExit(s_->settings->Store());
    return answer.yes;
}

void MainWindow::Exit1Click() {
    if (ConfirmExit()) ::SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void MainWindow::UpdateNotesState() {
    bool on = s_->settings->Flags().PrintNotes;
    s_->commands.SetChecked("mnuNotes", on);
    s_->commands.SetChecked("popNotes", on);
    UpdateOptionIndicators();
}

void MainWindow::UpdateOptionIndicators() {
    const auto& f = s_->settings->Flags();
    OptionIndicators ind = IndicatorsFor(s_->appTitle, f.AutoPrint, f.AutoSave, f.PrintNotes);
    SetStatusText(1, ind.panel1);
    SetStatusText(2, ind.panel2);
    SetStatusText(3, ind.panel3);
    s_->trayHint = ind.trayHint;
    if (s_->atiTray) s_->atiTray->Tray().SetHint(ind.trayHint);
}

void MainWindow::SetStatusText(int panel, const std::string& text) { s_->controls.SetStatusText(panel, text); }

// Moved to a screen of another density: the window takes the size the system suggests and
// lays itself out again at the new scale.
void MainWindow::DpiChanged(int dpi, const RECT& suggested) {
    s_->controls.DensityChanged(dpi);
    MirrorAllCommands();
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    s_->controls.Layout();
    FormResize();
}

void MainWindow::FormResize() {
    if (s_->suppressResize || !s_->controls.Created()) return;
    s_->controls.SizeStatusPanels();
    SaveWindowPosition();
}

void MainWindow::SaveWindowPosition() {
    if (!s_->settings) return;
    if (::IsIconic(hwnd_) || ::IsZoomed(hwnd_)) return;
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    WriteMainPosn(FormatMainPosn(BoundsOf(FromRECT(r))), s_->settings->Store());
}

void MainWindow::RestoreWindowPosition() {
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    s_->suppressResize = true;
    const WindowBounds placed = RestoredBounds(ReadMainPosn(s_->settings->Store()), BoundsOf(FromRECT(r)),
                                               ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(hwnd_, nullptr, placed.corner.x, placed.corner.y, placed.size.width, placed.size.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    s_->suppressResize = false;
}

void MainWindow::OnHandOverFile() {
    std::string file = GetTempFolder() + kHandOverFileName;
    if (!FileExists(file)) return;
    std::string path;
    try {
        path = ReadFileText(file);
    } catch (const std::exception&) {
        return;
    }
    if (path.empty() || !FileExists(path)) return;
    ShowAndOpen(path);
}

void MainWindow::ShowAndOpen(const std::string& path) {
    RestoreMainWindow();
    // Let the window paint before the file is opened; if the program was ended meanwhile,
    // the file is not opened any more.
    if (!ProcessPendingMessages()) return;
    s_->groups->Files().OpenFileByPath(path);
}

void MainWindow::EmptyWorkFolder() {
    if (s_->workFolder.empty() || !FolderExists(s_->workFolder) || !HasEntries(s_->workFolder)) return;
    ShellFileOperation(s_->workFolder + "*.*", "", FO_DELETE, FOF_SILENT | FOF_NOCONFIRMATION);
}

void MainWindow::FormCloseQuery() { s_->suppressResize = true; }

void MainWindow::CloseNow() {
    FormCloseQuery();
    // Saving must never keep the program from ending: a failure is reported, the close goes on.
    RunReported(hwnd_, [this] { FormClose(); });
    ::DestroyWindow(hwnd_);
}

void MainWindow::FormClose() {
    EmptyWorkFolder();
    if (s_->settings) s_->settings->Save();
}

void MainWindow::FormDestroy() {
    ::KillTimer(hwnd_, kTimer1);
    ::ChangeClipboardChain(hwnd_, reinterpret_cast<HWND>(s_->clipboardChain.Next()));
    SaveWindowPosition();
}

}  // namespace vimbrel::win32

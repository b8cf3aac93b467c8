#include "app/win32/main_window.h"

#include "app/win32/main_window_state.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "workspace/step_trace.h"
#include "workspace/win32/process_memory.h"

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
#include "util/scope_exit.h"
#include "util/scoped_value.h"
#include "util/text.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/modal.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/system.h"
#include "workspace/current_image.h"

namespace vimbrel::win32 {
namespace {

constexpr int kScrollBoxId = 3;
// The menu bar is drawn again once the messages of the moment are handled, not once per
// command state: a capture changes dozens of them.
constexpr UINT kRedrawMenuBar = WM_APP + 1;

constexpr UINT Message(HandOverMessage m) { return UINT(m); }

std::string ProgramFolderOf(HINSTANCE instance) {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(instance, path, MAX_PATH);
    std::string p(path, n);
    auto slash = p.find_last_of('\\');
    return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

}  // namespace

MainWindow::MainWindow(std::string firstArgument) : s_(std::make_unique<State>(*this)) {
    s_->firstArgument = std::move(firstArgument);
}

MainWindow::~MainWindow() {
    // Still there only when start-up failed: the close steps run while the state exists.
    if (hwnd_) ::DestroyWindow(hwnd_);
    SetModalGuard(nullptr);
}

bool MainWindow::Create() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    RegisterWindowClass(
        {.name = kMainWindowClass,
         .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
         .background = HBRUSH(COLOR_BTNFACE + 1),
         .icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAINICON)),
         .smallIcon = HICON(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON, 16, 16, LR_SHARED))});

    UniqueMenu menu = BuildMenu(s_->table, Menu::Main);
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

    s_->controls.Create(hwnd_, s_->imageBox.Create(hwnd_, kScrollBoxId), s_->font.get(), s_->table);
    s_->trayMenu = BuildMenu(s_->table, Menu::Tray);
    s_->imageMenu = BuildMenu(s_->table, Menu::Image);
    s_->accelerators = BuildAccelerators(s_->table);

    // Every control follows its command's state from now on.
    s_->commands.SetListener([this](CommandName name, const CommandState& state) {
        MirrorCommandState(s_->table, name, state, s_->router, {s_->mainMenu, s_->trayMenu.get(), s_->imageMenu.get()},
                           s_->controls.ToolBar());
        RedrawMenuBarSoon();
    });
    // Nothing to save until the first save.
    s_->commands.SetEnabled(cmd::Save1, false);
}

void MainWindow::MirrorAllCommands() {
    for (CommandName name : s_->table.Names())
        MirrorCommandState(s_->table, name, s_->commands.Get(name), s_->router,
                           {s_->mainMenu, s_->trayMenu.get(), s_->imageMenu.get()}, s_->controls.ToolBar());
    RedrawMenuBarSoon();
}

void MainWindow::RedrawMenuBarSoon() {
    if (s_->menuBarRedrawPosted) return;
    s_->menuBarRedrawPosted = ::PostMessageA(hwnd_, kRedrawMenuBar, 0, 0) != FALSE;
    if (!s_->menuBarRedrawPosted) ::DrawMenuBar(hwnd_);
}

void MainWindow::FormCreate() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    // What each step of the start costs, at debug level (sent once the window is up).
    StepTrace trace("form create");
    MemoryTrace memory("form create memory (KB)");
    // What the window itself does not need is made only now that it is up: a hidden
    // start's window does not wait for COM or the common controls.
    s_->com.emplace();
    trace.Step("com");
    memory.Step("com");
    // The tool bar and the status bar are the first common controls the program makes.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    trace.Step("common controls");
    memory.Step("common controls");
    CreateControls();
    trace.Step("controls");
    memory.Step("controls");

    // 1-2: folders.
    s_->programFolder = ProgramFolderOf(instance);
    s_->settings = std::make_unique<MainSettings>(s_->programFolder, s_->commands, *s_);
    s_->dataFolder = s_->settings->DataFolder();

    // 3: the override file is opened (or an empty one deleted) by the settings.
    s_->settings->OpenOverrideFile();
    trace.Step("folders");
    memory.Step("folders");

    // 4: clipboard-viewer chain.
    s_->clipboardChain.Joined(reinterpret_cast<ClipboardChain::Window>(::SetClipboardViewer(hwnd_)));

    // 5: printer set-up needs an installed printer.
    bool printers = s_->settings->PrinterInstalled();
    s_->commands.SetEnabled(cmd::PrintSetup1, printers);
    s_->commands.SetEnabled(cmd::btnPrtSetup, printers);
    trace.Step("printers");
    memory.Step("printers");

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
    trace.Step("image");
    memory.Step("image");

    // 8-9: every setting, then the work folder; the override file is closed again.
    {
        const ScopeExit closeOverrides([this] { s_->settings->CloseOverrideFile(); });
        s_->settings->Load();
    }
    s_->workFolder = s_->settings->WorkFolder();
    trace.Step("settings");
    memory.Step("settings");
    s_->groups = std::make_unique<CommandGroups>(
        MainWindowParts{hwnd_, s_->appTitle, s_->programFolder, *s_->settings, *s_->image, s_->commands, *s_, *s_,
                        s_->shk1.HotKeys(), s_->table, s_->imageBox, [s = s_.get()] { return s->CurrentPrintTextFont(); },
                        [this] { Exit1Click(); }, [this] { RestoreMainWindow(); },
                        [this] {
                            s_->settings->Flags().PrintNotes = !s_->settings->Flags().PrintNotes;
                            UpdateNotesState();
                        },
                        [s = s_.get()](const std::string& hint) {
                            if (s->atiTray) s->atiTray->Tray().SetHint(hint);
                        }},
        s_->router);
    // The markup's tools stand beside the picture.
    s_->groups->MarkupBar().Create(hwnd_, s_->controls.Metrics().dpi);
    s_->controls.SetSideBar(s_->groups->MarkupBar().Handle(), s_->groups->MarkupBar().Width());
    trace.Step("groups");
    memory.Step("groups");
    MirrorAllCommands();
    trace.Step("mirror");
    memory.Step("mirror");
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
    trace.Step("tray");
    memory.Step("tray");

    // 12: the three capture hotkeys.
    s_->shk1.HotKeys().OnHotKey = [this](TSysHotKey&, int index) { s_->router.Route(handler::HotKey, index); };
    s_->shk1.HotKeys().SetActive(true);
    // No capture starts under a message or dialog, nor inside the command waiting on it.
    SetModalGuard([this] { return std::make_shared<HotKeysOff>(s_->shk1.HotKeys()); });
    RegisterCaptureHotKeys(s_->shk1.HotKeys(), s_->settings->Flags());
    ReportRefusedCaptureHotKeys(s_->shk1.HotKeys(), s_->settings->Flags(), *s_);
    WatchCaptureHotKeys(s_->shk1.HotKeys(), s_->settings->Flags(), *s_);
    trace.Step("hotkeys");
    memory.Step("hotkeys");

    // Timer1: keeps the target of the active-window capture.
    ::SetTimer(hwnd_, kTimer1, kForegroundTimerMs, nullptr);

    // 13: position.
    RestoreWindowPosition();
    trace.Step("position");
    memory.Step("position");

    // 15: the first command-line argument. A capture or a file that fails is reported and
    // the program runs on, as when a hotkey or a second start asks for it.
    const std::string& arg = s_->firstArgument;
    RunReported(hwnd_, [&] {
        if (arg == "\\F")
            s_->router.Route(handler::CaptureScreenNow);
        else if (!arg.empty() && FileExists(arg))
            ShowAndOpen(arg);
    });
}

bool MainWindow::PreTranslate(MSG& msg) {
    if (!hwnd_) return false;
    bool ours = msg.hwnd == hwnd_ || ::IsChild(hwnd_, msg.hwnd);
    if (!ours) return false;
    if (s_->groups && RouteMarkupKeys(s_->groups->Markup(), msg)) return true;
    if (msg.message == WM_KEYDOWN && FormKeyDown(int(msg.wParam))) return true;
    return s_->accelerators && ::TranslateAcceleratorA(hwnd_, s_->accelerators.get(), &msg);
}

bool MainWindow::FormKeyDown(int virtualKey) {
    bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    Handler handler = ClassifyFormKey(virtualKey, ctrl, s_->commands);
    return !handler.Empty() && s_->router.Route(handler);
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
            s_->toolTip = s_->table.Hint(int(hdr->idFrom));
            // The markup's tool bar gives its buttons' hints itself.
            if (s_->toolTip.empty()) return Default(msg, wp, lp);
            info->lpszText = s_->toolTip.data();
            return 0;
        }
        return Default(msg, wp, lp);
    }
    case Message(HandOverMessage::CaptureFullScreen):
        s_->router.Route(handler::CaptureScreenNow);
        return 0;
    case Message(HandOverMessage::CaptureActiveWindow):
        s_->router.Route(handler::CaptureActiveNow);
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
        s_->router.Route(handler::ClipboardChanged);
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

}  // namespace vimbrel::win32

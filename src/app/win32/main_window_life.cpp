// The main window's life beyond its messages: showing it, its indicators, its place on the
// screen, a second start's file, and the clean-up of its end.
#include "app/win32/main_window.h"

#include <shellapi.h>

#include "app/win32/main_window_state.h"
#include "app/hand_over.h"
#include "app/main_form_rules.h"
#include "commands/win32/dialogs.h"
#include "settings/settings.h"
#include "util/scoped_value.h"
#include "util/utf8_text.h"
#include "util/win32/legacy_text.h"
#include "util/text.h"
#include "util/window_position.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {
namespace {

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
    s_->commands.SetChecked(cmd::mnuNotes, on);
    s_->commands.SetChecked(cmd::popNotes, on);
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
    if (s_->groups) {
        s_->groups->MarkupBar().Create(hwnd_, dpi);
        s_->controls.SetSideBar(s_->groups->MarkupBar().Handle(), s_->groups->MarkupBar().Width());
    }
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
    const ScopedValue<bool> suppressing(s_->suppressResize, true);
    const WindowBounds placed = RestoredBounds(ReadMainPosn(s_->settings->Store()), BoundsOf(FromRECT(r)),
                                               ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(hwnd_, nullptr, placed.corner.x, placed.corner.y, placed.size.width, placed.size.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnHandOverFile() {
    std::string file = GetTempFolder() + kHandOverFileName;
    if (!FileExists(file)) return;
    std::string path;
    try {
        // Written by the second start; an older one wrote the legacy code page.
        path = StoredTextAsUtf8(ReadFileText(file), LegacyToUtf8);
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

#include "commands/win32/dialogs.h"

#include <commdlg.h>

#include "version.h"
#include "commands/win32/resource_ids.h"
#include "util/window_position.h"
#include "desktop/win32/open_picture_dialog.h"
#include "util/win32/modal.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/system.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {
namespace {

struct ExitDialogState {
    std::string title;
    ExitAnswer answer;
};

void CentreOnScreen(HWND dlg) {
    RECT r;
    ::GetWindowRect(dlg, &r);
    const WindowBounds at =
        CentreWindow(BoundsOf(FromRECT(r)), ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(dlg, nullptr, at.corner.x, at.corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR ExitDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<ExitDialogState*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        state = reinterpret_cast<ExitDialogState*>(lp);
        ::SetWindowTextA(dlg, state->title.c_str());
        CentreOnScreen(dlg);
        ::SetForegroundWindow(dlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDYES || LOWORD(wp) == IDNO || LOWORD(wp) == IDCANCEL) {
            state->answer.yes = LOWORD(wp) == IDYES;
            state->answer.doNotAskAgain = ::IsDlgButtonChecked(dlg, IDC_GENMSG_DONTASK) == BST_CHECKED;
            ::EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

struct AboutState {
    std::string title, version;
};

INT_PTR AboutDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<AboutState*>(lp);
        ::SetWindowTextA(dlg, state->title.c_str());
        ::SetDlgItemTextA(dlg, IDC_ABOUT_VERSION, ("Version " + state->version).c_str());
        CentreOnScreen(dlg);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            ::EndDialog(dlg, IDOK);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// One common file dialog: its filter, start folder and filter index (and a title other than
// the system's); the chosen file and the filter index the user left, or nothing when cancelled.
std::optional<Dialogs::SaveChoice> RunFileDialog(HWND owner, const std::string& filter, const std::string& folder,
                                                 int filterIndex, bool save, const char* title = nullptr) {
    char file[MAX_PATH] = {};
    std::string filters = DialogFilter(filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = DWORD(filterIndex);
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title;
    // The overwrite question is the program's own.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | (save ? 0 : OFN_FILEMUSTEXIST);
    ModalScope modal;
    if (!(save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn))) return std::nullopt;
    return Dialogs::SaveChoice{std::string(file), int(ofn.nFilterIndex)};
}

}  // namespace

std::string DialogFilter(const std::string& filter) {
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out.append(2, '\0');
    return out;
}

std::optional<std::string> AskExistingFile(HWND owner, const std::string& title, const std::string& filter,
                                           const std::string& folder) {
    auto choice = RunFileDialog(owner, filter, folder, 1, false, title.c_str());
    if (!choice) return std::nullopt;
    return choice->path;
}

std::optional<std::string> WinDialogs::AskOpenFile(const std::string& filter, const std::string& folder,
                                                   int filterIndex) {
    return AskOpenPicture(owner_, OpenPictureQuestion{DialogFilter(filter), folder, filterIndex});
}

std::optional<Dialogs::SaveChoice> WinDialogs::AskSaveFile(const std::string& filter, const std::string& folder,
                                                           int filterIndex) {
    return RunFileDialog(owner_, filter, folder, filterIndex, true);
}

void WinDialogs::Warning(const std::string& text) {
    ModalMessageBox(owner_, text, title_, MB_OK | MB_ICONWARNING);
}

bool WinDialogs::Confirm(const std::string& text) {
    return ModalMessageBox(owner_, text, title_, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void WinDialogs::ShowAbout() {
    ShowAboutBox(owner_, title_, VIMBREL_VERSION_TEXT);
}

ExitAnswer AskExit(HWND owner, const std::string& title) {
    ExitDialogState state{title, {}};
    ModalScope modal;
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GENMSG), owner,
                      GuardedDialogProc<ExitDialogProc>,
                      LPARAM(&state));
    return state.answer;
}

void ShowAboutBox(HWND owner, const std::string& title, const std::string& version) {
    AboutState state{title, version};
    ModalScope modal;
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                      GuardedDialogProc<AboutDialogProc>,
                      LPARAM(&state));
}

}  // namespace vimbrel::win32

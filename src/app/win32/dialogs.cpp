#include "app/win32/dialogs.h"

#include "app/win32/resource_ids.h"
#include "app/window_position.h"

namespace vimbrel::win32 {
namespace {

struct ExitDialogState {
    std::string title;
    ExitAnswer answer;
};

void CentreOnScreen(HWND dlg) {
    RECT r;
    ::GetWindowRect(dlg, &r);
    WindowBounds at = CentreWindow(WindowBounds{r.left, r.top, r.right - r.left, r.bottom - r.top},
                                   ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(dlg, nullptr, at.Left, at.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ExitDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
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

INT_PTR CALLBACK AboutDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
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

}  // namespace

ExitAnswer AskExit(HWND owner, const std::string& title) {
    ExitDialogState state{title, {}};
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GENMSG), owner, ExitDialogProc,
                      LPARAM(&state));
    return state.answer;
}

void ShowAboutBox(HWND owner, const std::string& title, const std::string& version) {
    AboutState state{title, version};
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc,
                      LPARAM(&state));
}

}  // namespace vimbrel::win32

#include "crypto/win32/encryption_ui.h"

#include <stdexcept>
#include <vector>

#include "commands/win32/dialogs.h"
#include "commands/win32/resource_ids.h"
#include "util/win32/modal.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {
namespace {

struct KeyDialogState {
    const std::optional<std::string>& note;
    std::optional<KeyText> key;
};

KeyText ReadKey(HWND edit) {
    std::vector<char> buffer(std::size_t(::GetWindowTextLengthA(edit)) + 1);
    int length = ::GetWindowTextA(edit, buffer.data(), int(buffer.size()));
    KeyText key(std::string_view(buffer.data(), std::size_t(length > 0 ? length : 0)));
    ::SecureZeroMemory(buffer.data(), buffer.size());
    return key;
}

// Overwrites the edit's own copy in place before emptying it, and drops its undo copy.
void WipeKeyEdit(HWND edit) {
    std::string filler(std::size_t(::GetWindowTextLengthA(edit)), ' ');
    ::SetWindowTextA(edit, filler.c_str());
    ::SetWindowTextA(edit, "");
    ::SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

void CloseKeyDialog(HWND dlg, KeyDialogState& state, int result) {
    HWND edit = ::GetDlgItem(dlg, IDC_GETKEY_KEY);
    if (result == IDOK) state.key = ReadKey(edit);
    WipeKeyEdit(edit);
    ::EndDialog(dlg, result);
}

INT_PTR KeyDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<KeyDialogState*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        state = reinterpret_cast<KeyDialogState*>(lp);
        ::SetWindowTextA(dlg, kKeyDialogCaption);
        ::SetDlgItemTextA(dlg, IDC_GETKEY_KEYLABEL, kKeyDialogKeyLabel);
        ::SetDlgItemTextA(dlg, IDC_GETKEY_NOTE, state->note ? state->note->c_str() : kKeyDialogNote);
        ::EnableWindow(::GetDlgItem(dlg, IDOK), FALSE);
        ::SetForegroundWindow(dlg);
        ::SetFocus(::GetDlgItem(dlg, IDC_GETKEY_KEY));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_GETKEY_KEY:
            if (HIWORD(wp) == EN_CHANGE)
                ::EnableWindow(::GetDlgItem(dlg, IDOK),
                               KeyOkEnabled(std::size_t(::GetWindowTextLengthA(HWND(lp)))));
            return TRUE;
        case IDOK:
            // Enter reaches here even while OK is disabled.
            if (::IsWindowEnabled(::GetDlgItem(dlg, IDOK))) CloseKeyDialog(dlg, *state, IDOK);
            return TRUE;
        case IDCANCEL:
            CloseKeyDialog(dlg, *state, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

std::optional<KeyText> GetKeyText(HWND owner, const std::optional<std::string>& note) {
    KeyDialogState state{note, std::nullopt};
    ModalScope modal;
    if (::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GETKEY), owner,
                          GuardedDialogProc<KeyDialogProc>, LPARAM(&state)) == -1)
        throw std::runtime_error("The key dialog could not be shown");
    return std::move(state.key);
}

}  // namespace vimbrel::win32

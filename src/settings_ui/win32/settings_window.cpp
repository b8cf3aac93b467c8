#include "settings_ui/win32/settings_window.h"

#include <commctrl.h>

#include <array>
#include <stdexcept>
#include <vector>

#include "commands/win32/dialogs.h"
#include "commands/win32/resource_ids.h"
#include "desktop/hotkey_text.h"
#include "desktop/win32/browse_folder.h"
#include "util/dpi_scale.h"
#include "util/geometry.h"
#include "util/scoped_value.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/modal.h"
#include "util/win32/placement.h"
#include "util/win32/window_base.h"
#include "workspace/file_kinds.h"

namespace vimbrel::win32 {
namespace {

std::string ControlText(HWND control) {
    std::vector<char> buffer(std::size_t(::GetWindowTextLengthA(control)) + 1);
    int n = ::GetWindowTextA(control, buffer.data(), int(buffer.size()));
    return std::string(buffer.data(), std::size_t(n > 0 ? n : 0));
}

bool Checked(HWND control) { return ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND control, bool on) { ::SendMessageA(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

// ---- TfrmHKSet ----

struct HotKeyEditorState {
    TfrmHKSet& editor;
    const char* caption;
    int left, top;
    UniqueFont font;
};

// Where the controls go at 96 dpi, in tab order.
struct ControlPlace {
    int id;
    Rect at;
};
constexpr ControlPlace kHotKeyEditorLayout[] = {
    {IDC_HKSET_KEY, Rect::At(220, 16, 101, 300)}, {IDC_HKSET_CTRL, Rect::At(16, 18, 46, 17)},
    {IDC_HKSET_ALT, Rect::At(64, 18, 46, 17)},    {IDC_HKSET_SHIFT, Rect::At(112, 18, 54, 17)},
    {IDC_HKSET_WIN, Rect::At(168, 18, 46, 17)},   {IDOK, Rect::At(168, 56, 75, 25)},
    {IDCANCEL, Rect::At(248, 56, 75, 25)},
};
constexpr int kHotKeyEditorWidth = 339, kHotKeyEditorHeight = 88;

constexpr std::array<std::pair<int, bool TfrmHKSet::*>, 4> kModifierBoxes = {{
    {IDC_HKSET_CTRL, &TfrmHKSet::chkCtrl},
    {IDC_HKSET_ALT, &TfrmHKSet::chkAlt},
    {IDC_HKSET_SHIFT, &TfrmHKSet::chkShift},
    {IDC_HKSET_WIN, &TfrmHKSet::chkWin},
}};

// The design is in pixels at 96 dpi; a denser screen gets it in proportion.
void LayOutHotKeyEditor(HWND dlg, HotKeyEditorState& state) {
    const int dpi = int(::GetDpiForWindow(dlg));
    auto px = [dpi](int design) { return ScaleToDpi(design, dpi); };
    LOGFONTA lf{};
    lf.lfHeight = px(-12);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    state.font.reset(::CreateFontIndirectA(&lf));
    for (const ControlPlace& c : kHotKeyEditorLayout) {
        HWND control = ::GetDlgItem(dlg, c.id);
        // Each length scaled on its own, so every control keeps its designed size.
        ::MoveWindow(control, px(c.at.left), px(c.at.top), px(c.at.Width()), px(c.at.Height()), FALSE);
        ::SendMessageA(control, WM_SETFONT, WPARAM(state.font.get()), FALSE);
    }
    PlaceWindow(dlg, POINT{state.left, state.top}, SIZE{px(kHotKeyEditorWidth), px(kHotKeyEditorHeight)});
}

INT_PTR HotKeyEditorProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<HotKeyEditorState*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        state = reinterpret_cast<HotKeyEditorState*>(lp);
        ::SetWindowTextA(dlg, state->caption);
        LayOutHotKeyEditor(dlg, *state);
        HWND keys = ::GetDlgItem(dlg, IDC_HKSET_KEY);
        for (int n = 0; n < kKeyNameCount; ++n)
            ::SendMessageA(keys, CB_ADDSTRING, 0, LPARAM(std::string(KeyName(n)).c_str()));
        ::SendMessageA(keys, CB_SETCURSEL, WPARAM(state->editor.cboHotkey), 0);
        for (auto [id, box] : kModifierBoxes) SetChecked(::GetDlgItem(dlg, id), state->editor.*box);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            for (auto [id, box] : kModifierBoxes) state->editor.*box = Checked(::GetDlgItem(dlg, id));
            state->editor.cboHotkey = int(::SendMessageA(::GetDlgItem(dlg, IDC_HKSET_KEY), CB_GETCURSEL, 0, 0));
            ::EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            ::EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// ---- TfrmSettings ----

constexpr std::array<std::pair<int, bool TfrmSettingsValues::*>, 18> kBoxes = {{
    {IDC_SET_INCLMOUSE, &TfrmSettingsValues::chkInclMouse},
    {IDC_SET_POPUP, &TfrmSettingsValues::chkPopUp},
    {IDC_SET_WATCHCLIPS, &TfrmSettingsValues::chkWatchClips},
    {IDC_SET_CLIPCOPY, &TfrmSettingsValues::chkClipCopy},
    {IDC_SET_PRTFULL, &TfrmSettingsValues::rbPrtFull},
    {IDC_SET_PRTZOOM, &TfrmSettingsValues::rbPrtZoom},
    {IDC_SET_PRTBEST, &TfrmSettingsValues::rbPrtBest},
    {IDC_SET_AUTOORIENT, &TfrmSettingsValues::chkAutoOrient},
    {IDC_SET_AUTOPRINT, &TfrmSettingsValues::chkAutoPrint},
    {IDC_SET_NOTES, &TfrmSettingsValues::chkNotes},
    {IDC_SET_PRTDATE, &TfrmSettingsValues::chkPrtDate},
    {IDC_SET_EJECT, &TfrmSettingsValues::chkEject},
    {IDC_SET_DOSPRINT, &TfrmSettingsValues::chkDosPrint},
    {IDC_SET_SYSTEM, &TfrmSettingsValues::rbSystem},
    {IDC_SET_AUTOSAVE, &TfrmSettingsValues::chkAutoSave},
    {IDC_SET_AUTOSEND, &TfrmSettingsValues::chkAutoSend},
    {IDC_SET_OUTLOOK, &TfrmSettingsValues::chkUseOutlook},
    {IDC_SET_STARTWIN, &TfrmSettingsValues::chkStartWithWindows},
}};

constexpr std::array<std::pair<int, std::string TfrmSettingsValues::*>, 4> kEdits = {{
    {IDC_SET_SAVEPATH, &TfrmSettingsValues::txtSavePath},
    {IDC_SET_PREFIX, &TfrmSettingsValues::txtSavePrefix},
    {IDC_SET_NEXTNO, &TfrmSettingsValues::txtNextSaveNo},
    {IDC_SET_IMGEDIT, &TfrmSettingsValues::txtImgEdit},
}};

constexpr int kHotKeyEdits[] = {IDC_SET_HKFULL, IDC_SET_HKACTIVE, IDC_SET_HKAREA};

constexpr std::pair<int, const char*> kHints[] = {
    {IDC_SET_PRTFULL, "Image will be printed close to the full width or height of page"},
    {IDC_SET_PRTZOOM, "The image will be printed at the zoom level shown"},
    {IDC_SET_PRTBEST, "The image will be printed to fit appropriately on the page"},
    {IDC_SET_EJECT, "This is required for some network printers."},
    {IDC_SET_SAVEPATH, "This is the default path to save images"},
    {IDC_SET_BROWSEPATH, "Browse to find folder"},
    {IDC_SET_EXT, "This is the default file extension"},
    {IDC_SET_PREFIX, "The prefix to use when auto saving images"},
    {IDC_SET_NEXTNO, "This is teh next number to be assigned to an auto saved image"},
    {IDC_SET_CIPHER, "How encrypted files are written: Strong resists key guessing and notices any change"},
    {IDC_SET_IMGEDIT, "This program is used to edit images"},
    {IDC_SET_BROWSEEDIT, "Browse for Editor Program"},
};

constexpr int kPageTemplates[kSettingsPageCount] = {IDD_SETTINGS_CAPTURE, IDD_SETTINGS_PRINT, IDD_SETTINGS_SAVE,
                                                   IDD_SETTINGS_OTHER};

struct SettingsState {
    SettingsState(HWND ownerWindow, const TfrmSettingsValues& filled, SettingsDialogContext& dialogContext)
        : owner(ownerWindow), values(filled), context(dialogContext), openingFolder(filled.txtSavePath) {}
    HWND owner;
    TfrmSettingsValues values;
    SettingsDialogContext& context;
    std::string openingFolder;
    HWND dlg = nullptr, tabs = nullptr, tooltip = nullptr;
    std::array<HWND, kSettingsPageCount> pages{};
    int page = 0;
    UniqueFont bold;
    UniqueHook keyHook;
    std::optional<TfrmSettingsValues> result;

    HWND Control(int id) const {
        for (HWND p : pages)
            if (HWND c = p ? ::GetDlgItem(p, id) : nullptr) return c;
        return nullptr;
    }
    void OpenHelp() const { context.openHelp(SettingsHelpContext(page)); }
};

// The dialog sees F1 before its controls do, on every page.
thread_local SettingsState* tActiveSettings = nullptr;

LRESULT CALLBACK SettingsKeyFilter(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    SettingsState* state = tActiveSettings;
    if (code == MSGF_DIALOGBOX && state && msg->message == WM_KEYDOWN && msg->wParam == VK_F1 &&
        (msg->hwnd == state->dlg || ::IsChild(state->dlg, msg->hwnd))) {
        RunReported(state->dlg, [state] { state->OpenHelp(); });
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

class DialogQuestions final : public SaveFolderQuestions {
public:
    explicit DialogQuestions(HWND owner) : owner_(owner) {}
    Answer AskCreate(const std::string& text) override {
        switch (ModalMessageBox(owner_, text, kSettingsCaption, MB_YESNOCANCEL | MB_ICONINFORMATION)) {
        case IDYES: return Answer::Yes;
        case IDNO: return Answer::No;
        default: return Answer::Cancel;
        }
    }
    void Warn(const std::string& text) override {
        ModalMessageBox(owner_, text, kSettingsCaption, MB_OK | MB_ICONWARNING);
    }

private:
    HWND owner_;
};

void ShowHotKeyTexts(const SettingsState& s) {
    for (std::size_t i = 0; i < s.values.hotKeys.size(); ++i)
        ::SetWindowTextA(s.Control(kHotKeyEdits[i]), DescribeHotKeyText(s.values.hotKeys[i]).c_str());
}

void chkDosPrintClick(const SettingsState& s) {
    const bool on = Checked(s.Control(IDC_SET_DOSPRINT));
    ::EnableWindow(s.Control(IDC_SET_ARIAL), on);
    ::EnableWindow(s.Control(IDC_SET_SYSTEM), on);
}

void FillControls(SettingsState& s) {
    const TfrmSettingsValues& v = s.values;
    for (auto [id, box] : kBoxes) SetChecked(s.Control(id), v.*box);
    SetChecked(s.Control(IDC_SET_ARIAL), !v.rbSystem);
    for (auto [id, text] : kEdits) ::SetWindowTextA(s.Control(id), (v.*text).c_str());
    HWND ext = s.Control(IDC_SET_EXT);
    for (const std::string& item : AutoExtChoices()) ::SendMessageA(ext, CB_ADDSTRING, 0, LPARAM(item.c_str()));
    ::SendMessageA(ext, CB_SETCURSEL, WPARAM(v.cboExt), 0);
    HWND cipher = s.Control(IDC_SET_CIPHER);
    for (FileCipher item : kCipherChoices) ::SendMessageA(cipher, CB_ADDSTRING, 0, LPARAM(CipherSettingText(item)));
    ::SendMessageA(cipher, CB_SETCURSEL, WPARAM(v.cboCipher), 0);
    ::EnableWindow(s.Control(IDC_SET_OUTLOOK), v.outlookInstalled);
    chkDosPrintClick(s);
    ShowHotKeyTexts(s);
}

TfrmSettingsValues ReadControls(const SettingsState& s) {
    TfrmSettingsValues v = s.values;  // the pending hotkeys and their mark
    for (auto [id, box] : kBoxes) v.*box = Checked(s.Control(id));
    for (auto [id, text] : kEdits) v.*text = ControlText(s.Control(id));
    v.cboExt = int(::SendMessageA(s.Control(IDC_SET_EXT), CB_GETCURSEL, 0, 0));
    v.cboCipher = int(::SendMessageA(s.Control(IDC_SET_CIPHER), CB_GETCURSEL, 0, 0));
    return v;
}

void ShowPage(SettingsState& s, int page) {
    s.page = page;
    for (int i = 0; i < kSettingsPageCount; ++i)
        ::ShowWindow(s.pages[std::size_t(i)], i == page ? SW_SHOW : SW_HIDE);
}

void AddHints(SettingsState& s) {
    s.tooltip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.dlg, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    for (auto [id, hint] : kHints) {
        HWND control = s.Control(id);
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetParent(control);
        tool.uId = UINT_PTR(control);
        tool.lpszText = const_cast<char*>(hint);
        ::SendMessageA(s.tooltip, TTM_ADDTOOLA, 0, LPARAM(&tool));
    }
}

INT_PTR SettingsPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_COMMAND:
        // The frame handles every control's command, whichever page holds it.
        ::SendMessageA(::GetParent(page), WM_COMMAND, wp, lp);
        return TRUE;
    default:
        return FALSE;
    }
}

void FormCreate(HWND dlg, SettingsState& s) {
    s.dlg = dlg;
    HICON big = HICON(::SendMessageA(s.owner, WM_GETICON, ICON_BIG, 0));
    HICON smallIcon = HICON(::SendMessageA(s.owner, WM_GETICON, ICON_SMALL, 0));
    if (!big) big = HICON(::GetClassLongPtrA(s.owner, GCLP_HICON));
    ::SendMessageA(dlg, WM_SETICON, ICON_BIG, LPARAM(big));
    ::SendMessageA(dlg, WM_SETICON, ICON_SMALL, LPARAM(smallIcon ? smallIcon : big));
    PlaceWindow(dlg, BesideOwner(s.owner, kSettingsOffsetX, kSettingsOffsetY));

    s.tabs = ::GetDlgItem(dlg, IDC_SET_TABS);
    for (int i = 0; i < kSettingsPageCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kSettingsPageNames[i]);
        ::SendMessageA(s.tabs, TCM_INSERTITEMA, WPARAM(i), LPARAM(&item));
    }
    RECT area;
    ::GetWindowRect(s.tabs, &area);
    ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&area), 2);
    ::SendMessageA(s.tabs, TCM_ADJUSTRECT, FALSE, LPARAM(&area));
    for (int i = 0; i < kSettingsPageCount; ++i) {
        HWND page = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPageTemplates[i]), dlg,
                                         GuardedDialogProc<SettingsPageProc>, 0);
        if (!page) throw std::runtime_error("A settings page could not be made");
        s.pages[std::size_t(i)] = page;
        ::SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_HIDEWINDOW);
    }
    // "Hot Keys: " is a bold heading.
    HWND heading = s.Control(IDC_SET_HOTKEYS);
    LOGFONTA lf{};
    ::GetObjectA(HFONT(::SendMessageA(heading, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    s.bold.reset(::CreateFontIndirectA(&lf));
    ::SendMessageA(heading, WM_SETFONT, WPARAM(s.bold.get()), FALSE);

    FillControls(s);
    AddHints(s);
    ::SendMessageA(s.tabs, TCM_SETCURSEL, 0, 0);
    ShowPage(s, 0);
    s.keyHook.reset(::SetWindowsHookExA(WH_MSGFILTER, SettingsKeyFilter, nullptr, ::GetCurrentThreadId()));
}

void EditHotKeyClick(SettingsState& s, CaptureHotKey which) {
    RECT r;
    ::GetWindowRect(s.dlg, &r);
    WinHotKeyEditor window(s.dlg);
    const auto index = std::size_t(which);
    if (auto text = EditHotKey(s.context.hotKeyEditor, window, which, s.values.hotKeys[index], r.left, r.top)) {
        s.values.hotKeys[index] = *text;
        s.values.hotKeysChanged = true;
        ShowHotKeyTexts(s);
    }
}

void BitBtn1Click(SettingsState& s) {
    HWND pathEdit = s.Control(IDC_SET_SAVEPATH);
    std::string path = ControlText(pathEdit);
    DialogQuestions questions(s.dlg);
    if (!CheckSaveFolder(path, s.openingFolder, s.context.files, questions)) return;
    ::SetWindowTextA(pathEdit, path.c_str());
    s.result = ReadControls(s);
    ::EndDialog(s.dlg, IDOK);
}

void SettingsCommand(SettingsState& s, int id, int code) {
    switch (id) {
    case IDC_SET_CHGFULL: EditHotKeyClick(s, CaptureHotKey::Full); break;
    case IDC_SET_CHGACTIVE: EditHotKeyClick(s, CaptureHotKey::Active); break;
    case IDC_SET_CHGAREA: EditHotKeyClick(s, CaptureHotKey::Area); break;
    case IDC_SET_RESET:
        ResetHotKeys(s.values);
        ShowHotKeyTexts(s);
        break;
    case IDC_SET_BROWSEPATH: {
        TBrowseForFolderDialog browse;
        browse.SetPrompt(kChooseFolderPrompt);
        if (browse.Execute()) ::SetWindowTextA(s.Control(IDC_SET_SAVEPATH), browse.FolderPath().c_str());
        break;
    }
    case IDC_SET_BROWSEEDIT:
        if (auto program = AskExistingFile(s.dlg, "Open", kEditorFilter, ""))
            ::SetWindowTextA(s.Control(IDC_SET_IMGEDIT), program->c_str());
        break;
    case IDC_SET_DOSPRINT:
        if (code == BN_CLICKED) chkDosPrintClick(s);
        break;
    case IDC_SET_HELP: s.OpenHelp(); break;
    case IDOK: BitBtn1Click(s); break;
    case IDCANCEL: ::EndDialog(s.dlg, IDCANCEL); break;
    default: break;
    }
}

INT_PTR SettingsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* s = reinterpret_cast<SettingsState*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        FormCreate(dlg, *reinterpret_cast<SettingsState*>(lp));
        return TRUE;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (s && hdr->hwndFrom == s->tabs && hdr->code == TCN_SELCHANGE)
            ShowPage(*s, int(::SendMessageA(s->tabs, TCM_GETCURSEL, 0, 0)));
        return FALSE;
    }
    case WM_COMMAND:
        if (!s) return FALSE;
        SettingsCommand(*s, LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_DESTROY:
        if (s) s->keyHook.reset();
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool WinHotKeyEditor::ShowModal(TfrmHKSet& editor, const char* caption, int left, int top) {
    HotKeyEditorState state{editor, caption, left, top, {}};
    ModalScope modal;
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HKSET), owner_,
                                             GuardedDialogProc<HotKeyEditorProc>, LPARAM(&state));
    if (result == -1) throw std::runtime_error("The hotkey editor could not be shown");
    return result == IDOK;
}

std::optional<TfrmSettingsValues> WinSettingsDialog::ShowModal(const TfrmSettingsValues& filled,
                                                               SettingsDialogContext& context) {
    SettingsState state(owner_, filled, context);
    ModalScope modal;
    const ScopedValue<SettingsState*> active(tActiveSettings, &state);
    if (::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), owner_,
                          GuardedDialogProc<SettingsProc>, LPARAM(&state)) == -1)
        throw std::runtime_error("The settings dialog could not be shown");
    return state.result;
}

}  // namespace vimbrel::win32

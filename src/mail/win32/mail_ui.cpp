#include "mail/win32/mail_ui.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

#include "commands/win32/dialogs.h"
#include "crypto/win32/encryption_ui.h"
#include "commands/win32/resource_ids.h"
#include "mail/win32/outlook.h"
#include "util/scope_exit.h"
#include "util/scoped_value.h"
#include "util/win32/modal.h"
#include "util/win32/placement.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {
namespace {

constexpr int kOffset = 15;
constexpr const char* kProgramName = "Vimbrel";

struct Hint {
    int id;
    const char* text;
};
constexpr Hint kHints[] = {
    {IDC_EMAIL_TO, "To - Recipients - separate with commas"},
    {IDC_EMAIL_CC, "Copy Recipients - separate with commas"},
    {IDC_EMAIL_BCC, "Blind Copy Recipients - separate with commas"},
    {IDC_EMAIL_BTNTO, "Address Book"},
    {IDC_EMAIL_BTNCC, "Address Book"},
    {IDC_EMAIL_BTNBCC, "Address Book"},
    {IDC_EMAIL_SUBJECT, "Add a \"Subject\" for your message"},
    {IDC_EMAIL_BODY, "Enter any desired message text here."},
    {IDC_EMAIL_ENCALL, "If Checked, the image(s) will be encrypted prior to sending"},
    {IDC_EMAIL_ENCIMAGE, "If Checked, the image(s) will be encrypted prior to sending"},
    {IDC_EMAIL_ADD, "Attach another file"},
    {IDC_EMAIL_REMOVE, "Remove current attachment"},
    {IDC_EMAIL_ATTACH, "Images or other files to attach"},
};

std::string ItemText(HWND dlg, int id) {
    HWND control = ::GetDlgItem(dlg, id);
    std::vector<char> text(std::size_t(::GetWindowTextLengthA(control)) + 1);
    const int n = ::GetWindowTextA(control, text.data(), int(text.size()));
    return std::string(text.data(), std::size_t(n > 0 ? n : 0));
}

bool Checked(HWND dlg, int id) { return ::IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

// The dialog's window: TEmailSend's state shown in the controls and read back before each event.
class EmailSendWin final : public EmailSendWindow {
public:
    EmailSendWin(HWND owner, const std::string& appTitle, TEmailSend& model)
        : owner_(owner), appTitle_(appTitle), model_(model) {}

    void Init(HWND dlg) {
        dlg_ = dlg;
        ::SetWindowTextA(dlg, (std::string(kProgramName) + kSendEmailCaption).c_str());
        Place();
        AddHints();
        ::ShowWindow(::GetDlgItem(dlg, IDC_EMAIL_ENCIMAGE), model_.controls.encryptImagesShown ? SW_SHOW : SW_HIDE);
        model_.FormCreate(*this);
        Push();
        ::SetForegroundWindow(dlg);
        ::SetFocus(::GetDlgItem(dlg, IDC_EMAIL_TO));
    }

    bool Command(int id, int code) {
        if (pushing_) return true;
        switch (id) {
        case IDC_EMAIL_TO:
            if (code != EN_CHANGE) return false;
            Run([this] { model_.txtEmailToChange(); });
            return true;
        case IDC_EMAIL_BTNTO:
        case IDC_EMAIL_BTNCC:
        case IDC_EMAIL_BTNBCC: Run([this] { model_.btnToClick(); }); return true;
        case IDC_EMAIL_ENCALL: Run([this] { model_.chkEncAllClick(); }); return true;
        case IDC_EMAIL_ADD: Run([this] { model_.btnAddClick(); }); return true;
        case IDC_EMAIL_REMOVE: Run([this] { model_.btnRemoveClick(); }); return true;
        case IDC_EMAIL_ATTACH:
            if (code == CBN_SELCHANGE) Pull();
            return true;
        case IDOK:
            // Enter reaches here even while Send is disabled.
            if (::IsWindowEnabled(::GetDlgItem(dlg_, IDOK))) Run([this] { model_.btnSendClick(); });
            return true;
        case IDCANCEL: Run([this] { model_.btnCancelClick(); }); return true;
        default: return false;
        }
    }

    // EmailSendWindow
    void SetStatus(const std::string& text) override { ::SetDlgItemTextA(dlg_, IDC_EMAIL_STATUS, text.c_str()); }
    bool LetPendingMessagesRun() override {
        Push();
        return ProcessPendingMessages();
    }
    void Close(bool cancelled) override {
        closed_ = true;
        ::EndDialog(dlg_, cancelled ? IDCANCEL : IDOK);
    }
    std::optional<KeyText> AskKey() override { return GetKeyText(dlg_, std::nullopt); }
    std::optional<std::string> AskAttachment(const std::string& folder) override {
        return AskExistingFile(dlg_, "Open", kAttachmentFilter, folder);
    }
    void Warning(const std::string& text) override {
        ModalMessageBox(dlg_, text, appTitle_, MB_OK | MB_ICONWARNING);
    }
    void ErrorBox(const std::string& text) override {
        ModalMessageBox(dlg_, text, appTitle_, MB_OK | MB_ICONERROR);
    }

private:
    // Reads the controls, runs the event and shows the outcome; a failure leaves the
    // controls as far as the event got.
    template <class F>
    void Run(F&& event) {
        Pull();
        const ScopeExit pushAfter([this] {
            if (!closed_) Push();
        });
        event();
    }

    void Pull() {
        EmailSendControls& c = model_.controls;
        c.to = ItemText(dlg_, IDC_EMAIL_TO);
        c.cc = ItemText(dlg_, IDC_EMAIL_CC);
        c.bcc = ItemText(dlg_, IDC_EMAIL_BCC);
        c.subject = ItemText(dlg_, IDC_EMAIL_SUBJECT);
        c.body = ItemText(dlg_, IDC_EMAIL_BODY);
        c.encryptAll = Checked(dlg_, IDC_EMAIL_ENCALL);
        c.encryptImages = Checked(dlg_, IDC_EMAIL_ENCIMAGE);
        c.selected = int(::SendDlgItemMessageA(dlg_, IDC_EMAIL_ATTACH, CB_GETCURSEL, 0, 0));
    }

    void Push() {
        const ScopedValue<bool> pushing(pushing_, true);
        const EmailSendControls& c = model_.controls;
        for (auto [id, text] : {std::pair{IDC_EMAIL_TO, &c.to}, {IDC_EMAIL_CC, &c.cc}, {IDC_EMAIL_BCC, &c.bcc}})
            if (ItemText(dlg_, id) != *text) ::SetDlgItemTextA(dlg_, id, text->c_str());
        ::CheckDlgButton(dlg_, IDC_EMAIL_ENCALL, c.encryptAll ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(dlg_, IDC_EMAIL_ENCIMAGE, c.encryptImages ? BST_CHECKED : BST_UNCHECKED);
        ::EnableWindow(::GetDlgItem(dlg_, IDC_EMAIL_ENCIMAGE), c.encryptImagesEnabled);
        ::EnableWindow(::GetDlgItem(dlg_, IDC_EMAIL_REMOVE), c.removeEnabled);
        ::EnableWindow(::GetDlgItem(dlg_, IDOK), c.sendEnabled);
        HWND list = ::GetDlgItem(dlg_, IDC_EMAIL_ATTACH);
        ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : c.attachments) ::SendMessageA(list, CB_ADDSTRING, 0, LPARAM(item.c_str()));
        ::SendMessageA(list, CB_SETCURSEL, WPARAM(c.selected), 0);
        SetStatus(c.status);
    }

    // The template's size, which grows with its font on a denser screen as its controls do.
    void Place() { PlaceWindow(dlg_, BesideOwner(owner_, kOffset, kOffset)); }

    void AddHints() {
        HWND tips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                      dlg_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!tips) return;  // destroyed with the dialog that owns it
        for (const Hint& hint : kHints) {
            TTTOOLINFOA tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = dlg_;
            tool.uId = UINT_PTR(::GetDlgItem(dlg_, hint.id));
            tool.lpszText = const_cast<char*>(hint.text);
            ::SendMessageA(tips, TTM_ADDTOOLA, 0, LPARAM(&tool));
        }
    }

    HWND owner_;
    const std::string& appTitle_;
    TEmailSend& model_;
    HWND dlg_ = nullptr;
    bool pushing_ = false;
    bool closed_ = false;
};

INT_PTR EmailSendProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* window = reinterpret_cast<EmailSendWin*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        reinterpret_cast<EmailSendWin*>(lp)->Init(dlg);
        return FALSE;  // the focus is set
    case WM_COMMAND:
        return window && window->Command(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void ShowEmailSendDialog(HWND owner, const std::string& appTitle, TEmailSend& dialog) {
    EmailSendWin window(owner, appTitle, dialog);
    ModalScope modal;
    if (::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_EMAILSEND), owner,
                          GuardedDialogProc<EmailSendProc>, LPARAM(&window)) == -1)
        throw std::runtime_error("The send-email dialog could not be shown");
}

void WinMailUi::SendWithOutlook(const std::optional<std::string>& attachment) { win32::SendWithOutlook(attachment); }

NumberFormat WinMailUi::LocaleNumberFormat() {
    NumberFormat format;
    char text[8] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text) > 0) format.thousands = text;
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 0) format.decimal = text;
    return format;
}

}  // namespace vimbrel::win32

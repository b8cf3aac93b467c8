#include "print/win32/print_ui.h"

#include <commdlg.h>

#include <cstring>

#include "commands/win32/resource_ids.h"
#include "print/win32/printer_job.h"
#include "util/dpi_scale.h"
#include "util/win32/handles.h"
#include "util/win32/modal.h"
#include "util/win32/placement.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {
namespace {

// The notes dialog in pixels: the memo, then OK and Cancel under its right end.
constexpr int kMemoWidth = 521, kMemoHeight = 89;
constexpr int kGap = 8;
constexpr int kButtonWidth = 75, kButtonHeight = 25;
constexpr int kOffsetX = 15, kOffsetY = 25;

// DEVNAMES for one printer: the spooler driver, the printer's name, no port.
UniqueGlobal MakeDevNames(const std::string& printer) {
    const std::string driver = "winspool";
    const std::size_t size = sizeof(DEVNAMES) + driver.size() + 1 + printer.size() + 1 + 1;
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    GlobalLockGuard<char> p(block.get());
    if (!p.get()) return UniqueGlobal();
    auto* names = reinterpret_cast<DEVNAMES*>(p.get());
    names->wDriverOffset = WORD(sizeof(DEVNAMES));
    names->wDeviceOffset = WORD(names->wDriverOffset + driver.size() + 1);
    names->wOutputOffset = WORD(names->wDeviceOffset + printer.size() + 1);
    std::memcpy(p.get() + names->wDriverOffset, driver.c_str(), driver.size() + 1);
    std::memcpy(p.get() + names->wDeviceOffset, printer.c_str(), printer.size() + 1);
    return block;
}

UniqueGlobal CopyToGlobal(const std::vector<char>& bytes) {
    if (bytes.empty()) return UniqueGlobal();
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    GlobalLockGuard<char> p(block.get());
    if (!p.get()) return UniqueGlobal();
    std::memcpy(p.get(), bytes.data(), bytes.size());
    return block;
}

struct NotesState {
    HWND owner;
    std::vector<std::string> lines;
};

// The design is in pixels at 96 dpi; a denser screen gets it in proportion, as it gets the
// dialog's font.
void PlaceNotesControls(HWND dlg, HWND owner) {
    const int dpi = int(::GetDpiForWindow(dlg));
    auto px = [dpi](int design) { return ScaleToDpi(design, dpi); };
    HWND memo = ::GetDlgItem(dlg, IDC_NOTES_MEMO);
    ::MoveWindow(memo, px(kGap), px(kGap), px(kMemoWidth), px(kMemoHeight), FALSE);
    const int buttonsTop = kGap + kMemoHeight + kGap;
    const int cancelLeft = kGap + kMemoWidth - kButtonWidth;
    ::MoveWindow(::GetDlgItem(dlg, IDCANCEL), px(cancelLeft), px(buttonsTop), px(kButtonWidth), px(kButtonHeight),
                 FALSE);
    ::MoveWindow(::GetDlgItem(dlg, IDOK), px(cancelLeft - kGap - kButtonWidth), px(buttonsTop), px(kButtonWidth),
                 px(kButtonHeight), FALSE);
    PlaceWindow(dlg, BesideOwner(owner, kOffsetX, kOffsetY),
                SIZE{px(kGap + kMemoWidth + kGap), px(buttonsTop + kButtonHeight + kGap)});
}

// The memo's lines as it shows them; a last empty line is no line.
std::vector<std::string> MemoLines(HWND memo) {
    std::vector<std::string> lines;
    const int count = int(::SendMessageA(memo, EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int start = int(::SendMessageA(memo, EM_LINEINDEX, WPARAM(i), 0));
        const int length = int(::SendMessageA(memo, EM_LINELENGTH, WPARAM(start), 0));
        std::string line(std::size_t(length) + sizeof(WORD), '\0');
        *reinterpret_cast<WORD*>(line.data()) = WORD(line.size());
        const int copied = int(::SendMessageA(memo, EM_GETLINE, WPARAM(i), LPARAM(line.data())));
        line.resize(std::size_t(copied < length ? copied : length));
        lines.push_back(std::move(line));
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

INT_PTR NotesDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<NotesState*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        PlaceNotesControls(dlg, reinterpret_cast<NotesState*>(lp)->owner);
        ::SetForegroundWindow(dlg);
        return TRUE;  // the memo, first in the tab order, takes the focus
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            state->lines = MemoLines(::GetDlgItem(dlg, IDC_NOTES_MEMO));
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

}  // namespace

std::unique_ptr<PrintJob> WinImagePrinter::OpenJob() {
    // Reading the orientation loads the printer's device settings when none are held yet.
    printers_.QueryOrientation();
    return std::make_unique<WinPrintJob>(printers_.SelectedPrinter(), printers_.DeviceMode());
}

void WinImagePrinter::ShowPrintSetup() {
    printers_.QueryOrientation();
    UniqueGlobal devMode = CopyToGlobal(printers_.DeviceMode());
    UniqueGlobal devNames = printers_.SelectedPrinter().empty() ? UniqueGlobal() : MakeDevNames(printers_.SelectedPrinter());
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner_;
    pd.Flags = PD_PRINTSETUP;
    // The dialog may free or replace the blocks: they are its own until it returns.
    pd.hDevMode = devMode.release();
    pd.hDevNames = devNames.release();
    ModalScope modal;
    const BOOL chosen = ::PrintDlgA(&pd);
    devMode.reset(pd.hDevMode);
    devNames.reset(pd.hDevNames);
    if (!chosen) return;
    GlobalLockGuard<char> names(devNames.get());
    GlobalLockGuard<DEVMODEA> mode(devMode.get());
    if (!names.get() || !mode.get()) return;
    const auto* header = reinterpret_cast<const DEVNAMES*>(names.get());
    const char* bytes = reinterpret_cast<const char*>(mode.get());
    printers_.AdoptSetup(names.get() + header->wDeviceOffset,
                         std::vector<char>(bytes, bytes + mode.get()->dmSize + mode.get()->dmDriverExtra));
}

std::optional<std::vector<std::string>> AskNotesDialog(HWND owner) {
    NotesState state{owner, {}};
    ModalScope modal;
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GETNOTES), owner,
                                             GuardedDialogProc<NotesDialogProc>, LPARAM(&state));
    if (result != IDOK) return std::nullopt;
    return std::move(state.lines);
}

std::optional<std::vector<std::string>> WinPrintUi::AskNotes() { return AskNotesDialog(mainWindow_); }
std::string WinPrintUi::ShortDate() { return LocaleShortDate(); }
std::string WinPrintUi::ShortTime() { return LocaleShortTime(); }

}  // namespace vimbrel::win32

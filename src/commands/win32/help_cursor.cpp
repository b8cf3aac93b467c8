#include "commands/win32/help_cursor.h"

namespace vimbrel::win32 {
namespace {
// Cursors loaded from resources are shared and never destroyed.
HCURSOR helpSlot = nullptr;
}  // namespace

HCURSOR HelpSlotCursor() { return helpSlot ? helpSlot : ::LoadCursorA(nullptr, IDC_HELP); }

HCURSOR LoadPreviewCursorIntoHelpSlot() {
    if (HCURSOR preview = ::LoadCursorA(::GetModuleHandleA(nullptr), "PREVIEWCURSOR")) helpSlot = preview;
    return HelpSlotCursor();
}

HCURSOR StampCursor(int stamp) {
    static const LPCSTR kCursors[] = {IDC_ARROW, IDC_HAND, IDC_NO};
    if (stamp == 4) return HelpSlotCursor();
    if (stamp < 1 || stamp > 3) return nullptr;
    return ::LoadCursorA(nullptr, kCursors[stamp - 1]);
}

}  // namespace vimbrel::win32

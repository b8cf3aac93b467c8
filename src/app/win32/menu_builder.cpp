#include "app/win32/menu_builder.h"
#include "commands/win32/help_cursor.h"

#include <commctrl.h>

namespace vimbrel::win32 {
namespace {

std::string ItemText(const MenuItem& item) {
    return item.shortcut.empty() ? item.caption : item.caption + "\t" + item.shortcut;
}

// Standard small tool bar images of the common controls, by command.
int StandardImage(Handler h) {
    switch (h) {
    case Handler::OpenFile: return STD_FILEOPEN;
    case Handler::Save: return STD_FILESAVE;
    case Handler::SendMail: return STD_REPLACE;
    case Handler::PrintSetup: return STD_PROPERTIES;
    case Handler::PrintPreview: return STD_PRINTPRE;
    case Handler::Print: return STD_PRINT;
    case Handler::Undo: return STD_UNDO;
    case Handler::Copy: return STD_COPY;
    case Handler::Paste: return STD_PASTE;
    case Handler::Clear: return STD_DELETE;
    case Handler::Crop: return STD_CUT;
    case Handler::CaptureArea: return STD_FIND;
    case Handler::HelpContents: return STD_HELP;
    case Handler::Exit: return STD_REDOW;
    default: return I_IMAGENONE;
    }
}

}  // namespace

UniqueMenu BuildMenu(const std::vector<MenuItem>& items, bool menuBar) {
    UniqueMenu owned(menuBar ? ::CreateMenu() : ::CreatePopupMenu());
    HMENU menu = owned.get();
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (item.hidden) {
            continue;
        } else if (!item.children.empty()) {
            UniqueMenu sub = BuildMenu(item.children, false);
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_SUBMENU | MIIM_STRING | MIIM_ID;
            info.hSubMenu = sub.get();
            info.wID = UINT(CommandId(item.name));
            std::string text = ItemText(item);
            info.dwTypeData = text.data();
            // The menu owns its submenu once it holds it.
            if (::InsertMenuItemA(menu, ::GetMenuItemCount(menu), TRUE, &info)) sub.release();
        } else if (item.handler == Handler::AddCursor) {
            // The cursor items show their cursor's picture instead of a caption.
            ::AppendMenuA(menu, MF_OWNERDRAW, UINT_PTR(CommandId(item.name)), reinterpret_cast<LPCSTR>(item.argument));
        } else {
            ::AppendMenuA(menu, MF_STRING, UINT_PTR(CommandId(item.name)), ItemText(item).c_str());
        }
    }
    return owned;
}

UniqueAccel BuildAccelerators() {
    std::vector<ACCEL> table;
    auto add = [&](const auto& self, const std::vector<MenuItem>& items) -> void {
        for (const MenuItem& item : items) {
            if (auto s = ParseShortcut(item.shortcut); s && s->ctrl)
                table.push_back(ACCEL{BYTE(FVIRTKEY | FCONTROL), WORD(s->key), WORD(CommandId(item.name))});
            self(self, item.children);
        }
    };
    add(add, MainMenu());
    return UniqueAccel(::CreateAcceleratorTableA(table.data(), int(table.size())));
}

HWND CreateToolBar(HWND parent, int id, const MainFormMetrics& metrics) {
    HWND bar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER,
                                 0, 0, 0, 0, parent, HMENU(INT_PTR(id)), ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    const int image = metrics.buttonImageSize;
    ::SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(image, image));
    TBADDBITMAP std{HINST_COMMCTRL, UINT_PTR(image >= 24 ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR)};
    ::SendMessageA(bar, TB_ADDBITMAP, 0, LPARAM(&std));
    std::vector<TBBUTTON> buttons;
    std::vector<std::string> texts;
    texts.reserve(ToolBar().size());
    for (const ToolButton& b : ToolBar()) {
        TBBUTTON tb{};
        if (b.name.Empty()) {
            tb.fsStyle = BTNS_SEP;
            tb.iBitmap = metrics.separatorWidth;
        } else {
            tb.idCommand = CommandId(b.name);
            tb.fsState = TBSTATE_ENABLED;
            tb.fsStyle = BTNS_BUTTON;
            tb.iBitmap = StandardImage(b.handler);
            if (!b.caption.empty()) {
                texts.push_back(b.caption);
                tb.fsStyle |= BTNS_SHOWTEXT | BTNS_AUTOSIZE;
                tb.iString = INT_PTR(texts.back().c_str());
            }
        }
        buttons.push_back(tb);
    }
    ::SendMessageA(bar, TB_ADDBUTTONSA, WPARAM(buttons.size()), LPARAM(buttons.data()));
    // Speed buttons of 25 x 25 at 96 dpi; the one with a caption (Options) is as wide as its text.
    ::SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(metrics.buttonSize, metrics.buttonSize));
    for (const ToolButton& b : ToolBar()) {
        if (b.name.Empty() || !b.caption.empty()) continue;
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        info.cx = WORD(ScaleToDpi(b.width, metrics.dpi));
        ::SendMessageA(bar, TB_SETBUTTONINFOA, WPARAM(CommandId(b.name)), LPARAM(&info));
    }
    ::SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

void MeasureCursorItem(MEASUREITEMSTRUCT& item, const MainFormMetrics& metrics) {
    item.itemWidth = UINT(metrics.cursorItem.width);
    item.itemHeight = UINT(metrics.cursorItem.height);
}

void DrawCursorItem(const DRAWITEMSTRUCT& item) {
    const int stamp = int(item.itemData);
    HCURSOR cursor = StampCursor(stamp);
    if (!cursor) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    // The picture in the item's height, right of the room the menu keeps for check marks.
    const int side = item.rcItem.bottom - item.rcItem.top - 2;
    ::DrawIconEx(item.hDC, item.rcItem.left + ::GetSystemMetrics(SM_CXMENUCHECK), item.rcItem.top + 1,
                 cursor, side, side, 0, nullptr, DI_NORMAL);
}

std::string ToolBarHint(int commandId) {
    auto ref = CommandById(commandId);
    if (!ref) return {};
    for (const ToolButton& b : ToolBar())
        if (b.name == ref->name) return b.hint;
    return {};
}

void MirrorCommandState(CommandName name, const CommandState& state, const CommandRouter& router,
                        const std::vector<HMENU>& menus, HWND toolBar) {
    int id = CommandId(name);
    auto ref = CommandById(id);
    if (!ref) return;
    // Submenus carry no handler of their own; they follow their state alone.
    bool isSubmenu = ref->handler == Handler::None;
    bool enabled = state.enabled && (isSubmenu || router.Wired(ref->handler));
    for (HMENU menu : menus) {
        ::EnableMenuItem(menu, UINT(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu, UINT(id), MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    if (toolBar && ::SendMessageA(toolBar, TB_COMMANDTOINDEX, WPARAM(id), 0) >= 0) {
        ::SendMessageA(toolBar, TB_ENABLEBUTTON, WPARAM(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
        ::SendMessageA(toolBar, TB_HIDEBUTTON, WPARAM(id), MAKELPARAM(state.visible ? FALSE : TRUE, 0));
    }
}

}  // namespace vimbrel::win32

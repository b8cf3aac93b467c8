#include "app/win32/menu_builder.h"
#include "commands/win32/help_cursor.h"

#include <commctrl.h>

namespace vimbrel::win32 {
namespace {

std::string ItemText(const MenuItem& item) {
    return item.shortcut.empty() ? item.caption : item.caption + "\t" + item.shortcut;
}

// The common controls' picture of each standard tool bar image.
int StandardImage(ToolImage image) {
    switch (image) {
    case ToolImage::FileOpen: return STD_FILEOPEN;
    case ToolImage::FileSave: return STD_FILESAVE;
    case ToolImage::Replace: return STD_REPLACE;
    case ToolImage::Properties: return STD_PROPERTIES;
    case ToolImage::PrintPreview: return STD_PRINTPRE;
    case ToolImage::Print: return STD_PRINT;
    case ToolImage::Undo: return STD_UNDO;
    case ToolImage::Copy: return STD_COPY;
    case ToolImage::Paste: return STD_PASTE;
    case ToolImage::Delete: return STD_DELETE;
    case ToolImage::Cut: return STD_CUT;
    case ToolImage::Find: return STD_FIND;
    case ToolImage::Help: return STD_HELP;
    case ToolImage::RedoW: return STD_REDOW;
    case ToolImage::None: break;
    }
    return I_IMAGENONE;
}


UniqueMenu BuildMenuOf(const CommandTable& table, const std::vector<MenuItem>& items, bool menuBar) {
    UniqueMenu owned(menuBar ? ::CreateMenu() : ::CreatePopupMenu());
    HMENU menu = owned.get();
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (item.hidden) {
            continue;
        } else if (!item.children.empty()) {
            UniqueMenu sub = BuildMenuOf(table, item.children, false);
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_SUBMENU | MIIM_STRING | MIIM_ID;
            info.hSubMenu = sub.get();
            info.wID = UINT(table.Id(item.name));
            std::string text = ItemText(item);
            info.dwTypeData = text.data();
            // The menu owns its submenu once it holds it.
            if (::InsertMenuItemA(menu, ::GetMenuItemCount(menu), TRUE, &info)) sub.release();
        } else if (item.handler == handler::AddCursor) {
            // The cursor items show their cursor's picture instead of a caption.
            ::AppendMenuA(menu, MF_OWNERDRAW, UINT_PTR(table.Id(item.name)), reinterpret_cast<LPCSTR>(item.argument));
        } else {
            ::AppendMenuA(menu, MF_STRING, UINT_PTR(table.Id(item.name)), ItemText(item).c_str());
        }
    }
    return owned;
}

}  // namespace

UniqueMenu BuildMenu(const CommandTable& table, Menu which) {
    return BuildMenuOf(table, table.MenuItems(which), which == Menu::Main);
}

UniqueAccel BuildAccelerators(const CommandTable& table) {
    std::vector<ACCEL> keys;
    auto add = [&](const auto& self, const std::vector<MenuItem>& items) -> void {
        for (const MenuItem& item : items) {
            if (auto s = ParseShortcut(item.shortcut); s && s->ctrl)
                keys.push_back(ACCEL{BYTE(FVIRTKEY | FCONTROL), WORD(s->key), WORD(table.Id(item.name))});
            self(self, item.children);
        }
    };
    add(add, table.MenuItems(Menu::Main));
    return UniqueAccel(::CreateAcceleratorTableA(keys.data(), int(keys.size())));
}

HWND CreateToolBar(HWND parent, int id, const MainFormMetrics& metrics, const CommandTable& table) {
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
    texts.reserve(table.ToolBar().size());
    for (const ToolButton& b : table.ToolBar()) {
        TBBUTTON tb{};
        if (b.name.Empty()) {
            tb.fsStyle = BTNS_SEP;
            tb.iBitmap = metrics.separatorWidth;
        } else {
            tb.idCommand = table.Id(b.name);
            tb.fsState = TBSTATE_ENABLED;
            tb.fsStyle = BTNS_BUTTON;
            tb.iBitmap = StandardImage(b.image);
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
    for (const ToolButton& b : table.ToolBar()) {
        if (b.name.Empty() || !b.caption.empty()) continue;
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        info.cx = WORD(ScaleToDpi(b.width, metrics.dpi));
        ::SendMessageA(bar, TB_SETBUTTONINFOA, WPARAM(table.Id(b.name)), LPARAM(&info));
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

void MirrorCommandState(const CommandTable& table, CommandName name, const CommandState& state,
                        const CommandRouter& router, const std::vector<HMENU>& menus, HWND toolBar) {
    int id = table.Id(name);
    auto ref = table.ById(id);
    if (!ref) return;
    // Submenus carry no handler of their own; they follow their state alone.
    bool isSubmenu = ref->handler.Empty();
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

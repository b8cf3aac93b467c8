#include "commands/command_table.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace vimbrel {
namespace {

constexpr int kFirstId = 1000;

using ItemList = std::vector<MenuItem>;

// The list that holds `name` and the item's place in it.
std::optional<std::pair<ItemList*, std::size_t>> Find(ItemList& items, CommandName name) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].name == name) return std::pair{&items, i};
        if (auto found = Find(items[i].children, name)) return found;
    }
    return std::nullopt;
}

[[noreturn]] void Unknown(CommandName name) {
    throw std::logic_error("The command table has no control " + std::string(name.Text()));
}

}  // namespace

CommandTable::CommandTable(ItemList mainMenu, ItemList trayMenu, ItemList imageMenu, std::vector<ToolButton> toolBar)
    : main_(std::move(mainMenu)), tray_(std::move(trayMenu)), image_(std::move(imageMenu)), toolBar_(std::move(toolBar)) {
    RegisterAll(main_);
    RegisterAll(tray_);
    RegisterAll(image_);
    for (const ToolButton& b : toolBar_) Register(b.name, b.handler, 0);
}

const ItemList& CommandTable::MenuItems(Menu menu) const {
    switch (menu) {
    case Menu::Tray: return tray_;
    case Menu::Image: return image_;
    case Menu::Main: break;
    }
    return main_;
}

ItemList& CommandTable::MenuList(Menu menu) { return const_cast<ItemList&>(std::as_const(*this).MenuItems(menu)); }

void CommandTable::Register(CommandName name, Handler handler, int argument) {
    if (name.Empty()) return;
    const int id = kFirstId + int(names_.size());
    if (!ids_.emplace(name, id).second)
        throw std::logic_error("Two controls are named " + std::string(name.Text()));
    refs_.emplace(id, CommandRef{name, handler, argument});
    names_.push_back(name);
}

void CommandTable::RegisterAll(const ItemList& items) {
    for (const MenuItem& m : items) {
        Register(m.name, m.handler, m.argument);
        RegisterAll(m.children);
    }
}

void CommandTable::AddItem(Menu menu, CommandName after, MenuItem item) {
    ItemList& top = MenuList(menu);
    ItemList* list = &top;
    std::size_t at = top.size();
    if (!after.Empty()) {
        auto found = Find(top, after);
        if (!found) Unknown(after);
        list = found->first;
        at = found->second + 1;
    }
    RegisterAll({item});
    list->insert(list->begin() + std::ptrdiff_t(at), std::move(item));
}

void CommandTable::AddItemTo(Menu menu, CommandName submenu, MenuItem item) {
    auto found = Find(MenuList(menu), submenu);
    if (!found) Unknown(submenu);
    RegisterAll({item});
    (*found->first)[found->second].children.push_back(std::move(item));
}

void CommandTable::AddButton(CommandName after, ToolButton button) {
    auto at = toolBar_.end();
    if (!after.Empty()) {
        at = std::find_if(toolBar_.begin(), toolBar_.end(), [after](const ToolButton& b) { return b.name == after; });
        if (at == toolBar_.end()) Unknown(after);
        ++at;
    }
    Register(button.name, button.handler, 0);
    toolBar_.insert(at, std::move(button));
}

int CommandTable::Id(CommandName name) const {
    auto it = ids_.find(name);
    return it == ids_.end() ? 0 : it->second;
}

std::optional<CommandRef> CommandTable::ById(int id) const {
    auto it = refs_.find(id);
    if (it == refs_.end()) return std::nullopt;
    return it->second;
}

std::string CommandTable::Hint(int id) const {
    auto ref = ById(id);
    if (!ref) return {};
    for (const ToolButton& b : toolBar_)
        if (b.name == ref->name) return b.hint;
    return {};
}

std::optional<Shortcut> ParseShortcut(std::string_view text) {
    Shortcut s;
    if (text.substr(0, 5) == "Ctrl+") {
        s.ctrl = true;
        text.remove_prefix(5);
    }
    if (text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= '0' && text[0] <= '9'))) {
        s.key = text[0];
        return s;
    }
    if (text.size() >= 2 && text[0] == 'F') {
        int n = 0;
        for (char c : text.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 24) {
            s.key = 0x70 + n - 1;  // VK_F1 onwards
            return s;
        }
    }
    return std::nullopt;
}

}  // namespace vimbrel

// A command group with controls of its own adds them to named places of the standard table:
// the menus and the tool bar show them there, the router reaches their handlers, and the
// standard controls keep their ids.
#include <gtest/gtest.h>

#include <stdexcept>

#include "commands/command_router.h"
#include "commands/standard_commands.h"

namespace vimbrel {

// What a group of its own would declare in its own header.
namespace cmd {
VIMBREL_COMMAND(mnuMarkup);
VIMBREL_COMMAND(mnuMarkupBox);
VIMBREL_COMMAND(popMarkupBox);
VIMBREL_COMMAND(btnMarkupBox);
}  // namespace cmd
namespace handler {
VIMBREL_HANDLER(MarkupBox);
}  // namespace handler

namespace {

std::vector<CommandName> Names(const std::vector<MenuItem>& items) {
    std::vector<CommandName> names;
    for (const MenuItem& m : items) names.push_back(m.name);
    return names;
}

TEST(CommandTable, AGroupsControlsStandWhereItPutsThemAndReachItsHandler) {
    const CommandTable standard = StandardCommandTable();
    CommandTable table = standard;
    table.AddItem(Menu::Main, cmd::mnuImage, MenuItem{cmd::mnuMarkup, "&Markup", {}, handler::None, 0, false, {}});
    table.AddItemTo(Menu::Main, cmd::mnuMarkup, MenuItem{cmd::mnuMarkupBox, "&Box", "Ctrl+B", handler::MarkupBox, 7, false, {}});
    table.AddItem(Menu::Image, cmd::popGrey, MenuItem{cmd::popMarkupBox, "Draw a Box", {}, handler::MarkupBox, 7, false, {}});
    table.AddButton(cmd::btnSelect, ToolButton{cmd::btnMarkupBox, "Draw a Box", handler::MarkupBox, ToolImage::None, 25, {}});

    const auto& bar = table.MenuItems(Menu::Main);
    EXPECT_EQ(Names(bar), (std::vector<CommandName>{cmd::mnuFile, cmd::mnuEdit, cmd::mnuOptionsMenu, cmd::mnuImage,
                                                    cmd::mnuMarkup, cmd::mnuHelp}));
    EXPECT_EQ(Names(bar[4].children), std::vector<CommandName>{cmd::mnuMarkupBox});
    const auto picture = Names(table.MenuItems(Menu::Image));
    const auto grey = std::find(picture.begin(), picture.end(), cmd::popGrey);
    ASSERT_NE(grey, picture.end());
    EXPECT_EQ(*(grey + 1), cmd::popMarkupBox);
    ASSERT_GT(table.ToolBar().size(), 14u);
    EXPECT_EQ(table.ToolBar()[13].name, cmd::btnSelect);
    EXPECT_EQ(table.ToolBar()[14].name, cmd::btnMarkupBox);
    EXPECT_EQ(table.Hint(table.Id(cmd::btnMarkupBox)), "Draw a Box");

    for (CommandName name : standard.Names()) EXPECT_EQ(table.Id(name), standard.Id(name)) << name;
    EXPECT_EQ(standard.Id(cmd::mnuMarkupBox), 0) << "the standard table stays as it was";

    CommandRouter router{table};
    CommandStates states;
    std::vector<std::pair<CommandName, int>> ran;
    router.Bind(handler::MarkupBox, [&](const CommandRef& c) { ran.emplace_back(c.name, c.argument); });
    EXPECT_TRUE(router.RouteControl(table.Id(cmd::mnuMarkupBox), states));
    EXPECT_TRUE(router.RouteControl(table.Id(cmd::btnMarkupBox), states));
    EXPECT_TRUE(router.RouteControl(table.Id(cmd::popMarkupBox), states));
    EXPECT_EQ(ran, (std::vector<std::pair<CommandName, int>>{{cmd::mnuMarkupBox, 7}, {cmd::btnMarkupBox, 0}, {cmd::popMarkupBox, 7}}))
        << "a menu item carries its argument, a tool button none";
}

TEST(CommandTable, APlaceTheMenuLacksOrANameThatIsTakenIsAWiringMistake) {
    CommandTable table = StandardCommandTable();
    const MenuItem item{cmd::mnuMarkupBox, "&Box", {}, handler::MarkupBox, 0, false, {}};
    EXPECT_THROW(table.AddItem(Menu::Tray, cmd::mnuImage, item), std::logic_error) << "the Image menu is not in the tray";
    EXPECT_THROW(table.AddItemTo(Menu::Main, cmd::mnuMarkup, item), std::logic_error);
    EXPECT_THROW(table.AddButton(cmd::mnuUndo, ToolButton{cmd::btnMarkupBox, "", handler::MarkupBox, ToolImage::None, 25, {}}),
                 std::logic_error);
    EXPECT_EQ(table.Id(cmd::mnuMarkupBox), 0) << "a refused item leaves nothing behind";
    EXPECT_THROW(table.AddItem(Menu::Main, cmd::mnuUndo, MenuItem{cmd::popUndo, "&Undo", {}, handler::Undo, 0, false, {}}),
                 std::logic_error);
}

}  // namespace
}  // namespace vimbrel

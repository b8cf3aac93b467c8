// The router: what is bound runs with its command, what is not stays unwired, and a control
// runs only while its command is enabled.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "commands/command_router.h"
#include "commands/standard_commands.h"

namespace vimbrel {
namespace {

const CommandTable kTable = StandardCommandTable();

TEST(CommandRouter, ControlsRouteToTheBoundHandlerWithTheirNameAndArgumentWhileEnabled) {
    CommandRouter router{kTable};
    CommandStates states;
    std::vector<std::string> ran;
    router.Bind(handler::Zoom, [&](const CommandRef& c) { ran.push_back(std::string(c.name.Text()) + " " + std::to_string(c.argument)); });
    router.Bind(handler::Undo, [&] { ran.push_back("undo"); });

    EXPECT_TRUE(router.RouteControl(kTable.Id(cmd::zmo03), states));
    EXPECT_TRUE(router.RouteControl(kTable.Id(cmd::popUndo), states));
    states.SetEnabled(cmd::mnuUndo, false);
    EXPECT_FALSE(router.RouteControl(kTable.Id(cmd::mnuUndo), states)) << "a disabled control does nothing";
    EXPECT_TRUE(router.RouteControl(kTable.Id(cmd::btnUndo), states)) << "each control has its own state";
    EXPECT_FALSE(router.RouteControl(kTable.Id(cmd::Print1), states)) << "nobody serves printing yet";
    EXPECT_FALSE(router.RouteControl(0, states));
    EXPECT_EQ(ran, (std::vector<std::string>{"zmo03 -3", "undo", "undo"}));
}

TEST(CommandRouter, HotkeysAndMessagesRouteWithoutAControlAndOnlyBoundHandlersAreWired) {
    CommandRouter router{kTable};
    int entry = -1;
    router.Bind(handler::HotKey, [&](const CommandRef& c) { entry = c.argument; });
    EXPECT_TRUE(router.Route(handler::HotKey, 2));
    EXPECT_EQ(entry, 2);
    EXPECT_TRUE(router.Wired(handler::HotKey));
    EXPECT_FALSE(router.Wired(handler::CaptureScreenNow));
    EXPECT_FALSE(router.Route(handler::CaptureScreenNow)) << "a second start's capture request is ignored";
}

TEST(CommandRouter, AHandlerBoundTwiceIsAWiringMistake) {
    CommandRouter router{kTable};
    router.Bind(handler::Exit, [] {});
    EXPECT_THROW(router.Bind(handler::Exit, [] {}), std::logic_error);
    EXPECT_THROW(router.Bind(handler::None, [] {}), std::logic_error);
}

}  // namespace
}  // namespace vimbrel

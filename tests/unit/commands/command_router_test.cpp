// The router: what is bound runs with its command, what is not stays unwired, and a control
// runs only while its command is enabled.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "commands/command_router.h"

namespace vimbrel {
namespace {

TEST(CommandRouter, ControlsRouteToTheBoundHandlerWithTheirNameAndArgumentWhileEnabled) {
    CommandRouter router;
    CommandStates states;
    std::vector<std::string> ran;
    router.Bind(Handler::Zoom, [&](const CommandRef& c) { ran.push_back(std::string(c.name.Text()) + " " + std::to_string(c.argument)); });
    router.Bind(Handler::Undo, [&] { ran.push_back("undo"); });

    EXPECT_TRUE(router.RouteControl(CommandId(cmd::zmo03), states));
    EXPECT_TRUE(router.RouteControl(CommandId(cmd::popUndo), states));
    states.SetEnabled(cmd::mnuUndo, false);
    EXPECT_FALSE(router.RouteControl(CommandId(cmd::mnuUndo), states)) << "a disabled control does nothing";
    EXPECT_TRUE(router.RouteControl(CommandId(cmd::btnUndo), states)) << "each control has its own state";
    EXPECT_FALSE(router.RouteControl(CommandId(cmd::Print1), states)) << "nobody serves printing yet";
    EXPECT_FALSE(router.RouteControl(0, states));
    EXPECT_EQ(ran, (std::vector<std::string>{"zmo03 -3", "undo", "undo"}));
}

TEST(CommandRouter, HotkeysAndMessagesRouteWithoutAControlAndOnlyBoundHandlersAreWired) {
    CommandRouter router;
    int entry = -1;
    router.Bind(Handler::HotKey, [&](const CommandRef& c) { entry = c.argument; });
    EXPECT_TRUE(router.Route(Handler::HotKey, 2));
    EXPECT_EQ(entry, 2);
    EXPECT_TRUE(router.Wired(Handler::HotKey));
    EXPECT_FALSE(router.Wired(Handler::CaptureScreenNow));
    EXPECT_FALSE(router.Route(Handler::CaptureScreenNow)) << "a second start's capture request is ignored";
}

TEST(CommandRouter, AHandlerBoundTwiceIsAWiringMistake) {
    CommandRouter router;
    router.Bind(Handler::Exit, [] {});
    EXPECT_THROW(router.Bind(Handler::Exit, [] {}), std::logic_error);
    EXPECT_THROW(router.Bind(Handler::None, [] {}), std::logic_error);
}

}  // namespace
}  // namespace vimbrel

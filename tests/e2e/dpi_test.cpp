// The main window at the screen's density: at 96 dpi as designed, on a denser screen every
// length grown in proportion. Run twice by ctest: in the usual prefix, and in one whose
// screen is set to 144 dpi (VIMBREL_EXPECT_DPI says so, so a lost setting cannot pass).
#include "vimbrel_process.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_form_rules.h"

namespace e2e {
namespace {

int ScreenDpi() { return int(::GetDpiForSystem()); }

TEST(DpiTest, TheMainWindowIsLaidOutAtTheScreensDensity) {
    if (const char* expected = std::getenv("VIMBREL_EXPECT_DPI")) {
        ASSERT_EQ(ScreenDpi(), std::atoi(expected));
    }
    const vimbrel::MainFormMetrics metrics = vimbrel::MainFormMetricsAt(ScreenDpi());

    ClearSettings();
    WriteSetting("CheckClose", "N");
    VimbrelProcess app("dpi-layout");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.RunSecondInstance("").has_value());
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));

    RECT client;
    ::GetClientRect(app.MainWindow(), &client);
    EXPECT_EQ(client.right, metrics.client.width);
    EXPECT_EQ(client.bottom, metrics.client.height);

    HWND toolBar = FindDescendantOfClass(app.MainWindow(), TOOLBARCLASSNAMEA);
    ASSERT_NE(toolBar, nullptr);
    const LRESULT button = ::SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(HIWORD(button), metrics.buttonSize);
    EXPECT_GE(LOWORD(button), metrics.buttonSize);

    // The picture's box starts below the tool bar at the new scale.
    HWND box = FindDescendantOfClass(app.MainWindow(), "TScrollBox");
    ASSERT_NE(box, nullptr);
    RECT r;
    ::GetWindowRect(box, &r);
    POINT topLeft{r.left, r.top};
    ::ScreenToClient(app.MainWindow(), &topLeft);
    EXPECT_EQ(topLeft.y, metrics.toolBarHeight);
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e

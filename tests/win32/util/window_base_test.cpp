// The window base: failures never cross into Windows but reach the program's handler, the
// window goes with its object, and letting pending messages run keeps the program's end.
#include "util/win32/window_base.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vimbrel::win32 {
namespace {

std::vector<std::string> reported;

void RecordFailure(HWND, std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        reported.push_back(e.what());
    }
}

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kCount = WM_APP + 2;

class TestWindow : public WindowBase {
public:
    TestWindow() {
        RegisterWindowClass({.name = "VimbrelWindowBaseTest"});
        CreateFor({.className = "VimbrelWindowBaseTest", .style = WS_POPUP});
    }
    int counted = 0;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) throw std::runtime_error("thrown in a window procedure");
        if (message == kCount) {
            ++counted;
            return 7;
        }
        return Default(message, wParam, lParam);
    }
};

class WindowBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        reported.clear();
        SetWindowFailureHandler(&RecordFailure);
    }
    void TearDown() override { SetWindowFailureHandler(nullptr); }
};

TEST_F(WindowBaseTest, AFailureInAWindowProcedureReachesTheHandlerAndTheWindowRunsOn) {
    TestWindow window;
    ASSERT_NE(window.Hwnd(), nullptr);
    EXPECT_EQ(::SendMessageA(window.Hwnd(), kThrow, 0, 0), 0);
    EXPECT_EQ(reported, std::vector<std::string>{"thrown in a window procedure"});
    EXPECT_EQ(::SendMessageA(window.Hwnd(), kCount, 0, 0), 7);

    RunReported(window.Hwnd(), [] { throw std::runtime_error("thrown in a step"); });
    EXPECT_EQ(reported.back(), "thrown in a step") << "and the caller goes on";
}

TEST_F(WindowBaseTest, TheWindowGoesWithItsObjectAndAWindowDestroyedFromOutsideIsLetGo) {
    HWND hwnd;
    {
        TestWindow window;
        hwnd = window.Hwnd();
        ASSERT_TRUE(::IsWindow(hwnd));
    }
    EXPECT_FALSE(::IsWindow(hwnd));

    TestWindow other;
    ::DestroyWindow(other.Hwnd());
    EXPECT_EQ(other.Hwnd(), nullptr);
}

TEST_F(WindowBaseTest, PendingMessagesRunAndAQuitMetOnTheWayIsKeptForTheMessageLoop) {
    TestWindow window;
    ::PostMessageA(window.Hwnd(), kCount, 0, 0);
    ::PostMessageA(window.Hwnd(), kCount, 0, 0);
    EXPECT_TRUE(ProcessPendingMessages());
    EXPECT_EQ(window.counted, 2);

    ::PostMessageA(window.Hwnd(), kCount, 0, 0);
    ::PostQuitMessage(3);
    EXPECT_FALSE(ProcessPendingMessages()) << "the program is ending";
    EXPECT_EQ(window.counted, 3);
    MSG msg;
    ASSERT_EQ(::GetMessageA(&msg, nullptr, 0, 0), 0) << "the loop still sees WM_QUIT";
    EXPECT_EQ(msg.wParam, 3u);
}

INT_PTR ThrowingDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == kThrow) throw std::runtime_error("thrown in a dialog");
    return FALSE;
}

TEST_F(WindowBaseTest, ADialogProcedureFailureIsReportedAndCountsAsNotHandled) {
    EXPECT_EQ(GuardedDialogProc<ThrowingDialogProc>(nullptr, kThrow, 0, 0), FALSE);
    EXPECT_EQ(reported, std::vector<std::string>{"thrown in a dialog"});
}

}  // namespace
}  // namespace vimbrel::win32

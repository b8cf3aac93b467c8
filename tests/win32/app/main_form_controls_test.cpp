// The main window's controls moved between screen densities, as WM_DPICHANGED moves them:
// Wine never sends that message, so the test makes the change itself on a window of its own.
#include "app/win32/main_form_controls.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/main_commands.h"

namespace vimbrel::win32 {
namespace {

struct Layout {
    int buttonSize;
    int boxTop;
    int statusFontHeight;
    int panel2Width;
    int toolBars;

    bool operator==(const Layout&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Layout& l) {
    return os << "button " << l.buttonSize << ", box top " << l.boxTop << ", status font " << l.statusFontHeight
              << ", panel 2 " << l.panel2Width << ", tool bars " << l.toolBars;
}

class MainFormControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "VimbrelFormControlsTest";
        ::RegisterClassA(&wc);
        window = ::CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 560, 340, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        box = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr, wc.hInstance,
                                nullptr);
        LOGFONTA lf{};
        lf.lfHeight = -11;
        lstrcpynA(lf.lfFaceName, "MS Sans Serif", LF_FACESIZE);
        base.reset(::CreateFontIndirectA(&lf));
    }
    void TearDown() override { ::DestroyWindow(window); }

    Layout Measured() {
        controls.Layout();
        controls.SizeStatusPanels();
        Layout l{};
        l.buttonSize = LOWORD(::SendMessageA(controls.ToolBar(), TB_GETBUTTONSIZE, 0, 0));
        POINT top{0, 0};
        ::MapWindowPoints(box, window, &top, 1);
        l.boxTop = top.y;
        HWND status = ::FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
        LOGFONTA lf{};
        ::GetObjectA(HFONT(::SendMessageA(status, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        l.statusFontHeight = -lf.lfHeight;
        int edges[4] = {};
        ::SendMessageA(status, SB_GETPARTS, 4, LPARAM(edges));
        l.panel2Width = edges[2] - edges[1];
        for (HWND bar = nullptr; (bar = ::FindWindowExA(window, bar, TOOLBARCLASSNAMEA, nullptr));) ++l.toolBars;
        return l;
    }

    HWND window = nullptr, box = nullptr;
    UniqueFont base;
    MainFormControls controls;
};

TEST_F(MainFormControlsTest, MovingToADenserScreenAndBackLaysTheControlsOutAtEachScale) {
    controls.Create(window, box, base.get(), MainCommandTable());
    ASSERT_EQ(controls.Metrics().dpi, 96) << "the test prefix's screen";
    const int buttons = int(::SendMessageA(controls.ToolBar(), TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(Measured(), (Layout{25, 34, 11, 65, 1}));

    controls.DensityChanged(144);
    EXPECT_EQ(Measured(), (Layout{38, 51, 17, 98, 1})) << "one new tool bar in place of the old";
    EXPECT_EQ(::SendMessageA(controls.ToolBar(), TB_BUTTONCOUNT, 0, 0), buttons);

    controls.DensityChanged(96);
    EXPECT_EQ(Measured(), (Layout{25, 34, 11, 65, 1}));
}

}  // namespace
}  // namespace vimbrel::win32

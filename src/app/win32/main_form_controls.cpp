#include "app/win32/main_form_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/win32/menu_builder.h"

namespace vimbrel::win32 {
namespace {

constexpr int kToolBarId = 1;
constexpr int kStatusBarId = 2;

}  // namespace

void MainFormControls::Create(HWND window, HWND scrollBox, HFONT baseFont, const CommandTable& table) {
    window_ = window;
    table_ = &table;
    scrollBox_ = scrollBox;
    baseFont_ = baseFont;
    metrics_ = MainFormMetricsAt(int(::GetDpiForWindow(window)));
    toolBar_ = CreateToolBar(window, kToolBarId, metrics_, table);
    statusBar_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   window, HMENU(INT_PTR(kStatusBarId)), ::GetModuleHandleA(nullptr), nullptr);
    SetStatusFont();
}

void MainFormControls::Layout() {
    if (!toolBar_ || !statusBar_ || !scrollBox_) return;
    ::SendMessageA(toolBar_, TB_AUTOSIZE, 0, 0);
    ::SendMessageA(statusBar_, WM_SIZE, 0, 0);
    RECT client, bar;
    ::GetClientRect(window_, &client);
    ::GetWindowRect(statusBar_, &bar);
    const int statusHeight = bar.bottom - bar.top;
    const int top = metrics_.toolBarHeight;
    const int height = std::max(0, int(client.bottom) - top - statusHeight);
    const int left = sideBar_ ? std::min(sideBarWidth_, int(client.right)) : 0;
    if (sideBar_) ::MoveWindow(sideBar_, 0, top, left, height, TRUE);
    ::MoveWindow(scrollBox_, left, top, std::max(0, int(client.right) - left), height, TRUE);
}

void MainFormControls::SetSideBar(HWND bar, int width) {
    sideBar_ = bar;
    sideBarWidth_ = width;
    Layout();
}

void MainFormControls::SizeStatusPanels() {
    if (!statusBar_) return;
    RECT bar;
    ::GetClientRect(statusBar_, &bar);
    int widths[4];
    int right = StatusPanel0Width(bar.right, metrics_.dpi);
    widths[0] = right;
    for (int i = 1; i < 4; ++i) {
        right += metrics_.statusPanelWidths[i];
        widths[i] = right;
    }
    widths[3] = -1;
    ::SendMessageA(statusBar_, SB_SETPARTS, 4, LPARAM(widths));
}

void MainFormControls::SetStatusText(int panel, const std::string& text) {
    // A leading tab centres the text.
    const std::string shown = (panel == 1 || panel == 2) ? "\t" + text : text;
    ::SendMessageA(statusBar_, SB_SETTEXTA, WPARAM(panel), LPARAM(shown.c_str()));
}

void MainFormControls::DensityChanged(int dpi) {
    metrics_ = MainFormMetricsAt(dpi);
    SetStatusFont();
    ::DestroyWindow(toolBar_);
    toolBar_ = CreateToolBar(window_, kToolBarId, metrics_, *table_);
}

void MainFormControls::SetStatusFont() {
    LOGFONTA lf{};
    ::GetObjectA(baseFont_, sizeof lf, &lf);
    lf.lfHeight = -metrics_.statusFontHeight;
    // The bar lets go of the old font before it is deleted.
    UniqueFont font(::CreateFontIndirectA(&lf));
    ::SendMessageA(statusBar_, WM_SETFONT, WPARAM(font.get()), TRUE);
    statusFont_ = std::move(font);
}

}  // namespace vimbrel::win32

#include "capture/win32/second_timer.h"

#include <stdexcept>

namespace vimbrel::win32 {
namespace {
const char kClassName[] = "VimbrelSecondTimer";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

WinSecondTimer::WinSecondTimer() {
    RegisterWindowClass({.name = kClassName});
    if (!CreateFor({.className = kClassName, .style = 0, .x = 0, .y = 0, .width = 0, .height = 0, .parent = HWND_MESSAGE}))
        throw std::runtime_error("The countdown timer's window could not be created");
}

WinSecondTimer::~WinSecondTimer() { Stop(); }

void WinSecondTimer::Start(std::function<void()> tick) {
    tick_ = std::move(tick);
    ::SetTimer(hwnd_, kTimerId, 1000, nullptr);
}

void WinSecondTimer::Stop() {
    ::KillTimer(hwnd_, kTimerId);
    tick_ = nullptr;
}

LRESULT WinSecondTimer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        // The tick may stop the timer and start a capture: it runs on a copy.
        if (auto tick = tick_) tick();
        return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace vimbrel::win32

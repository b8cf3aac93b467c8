#pragma once
// A timer that calls back once a second on the user-interface thread, through a
// message-only window of its own.
#include <windows.h>

#include <functional>

#include "capture/delayed_capture_commands.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {

class WinSecondTimer : public SecondTimer, private WindowBase {
public:
    WinSecondTimer();
    ~WinSecondTimer() override;
    void Start(std::function<void()> tick) override;
    void Stop() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::function<void()> tick_;
};

}  // namespace vimbrel::win32

#pragma once
// The timer pool on Win32: timeGetTime as the clock, and a hidden window on the
// user-interface thread that runs each tick there (the timing thread waits in SendMessage).
// The message carries only the id of a pending tick: any program can send a window a
// registered message, so nothing it holds is ever called.
#include <windows.h>

#include <memory>

#include "desktop/pending_calls.h"
#include "desktop/timer_pool.h"
#include "desktop/win32/windowed_component.h"

namespace vimbrel::win32 {

class TimeGetTimeClock final : public Clock {
public:
    std::uint32_t NowMs() override;
};

// Runs the pending tick a message names, when another thread of this program sent it.
class PoolSyncWindow final : public TWindowedComponent {
public:
    static UINT SyncMessage();
    // Shared with the timing thread, which may outlive the window.
    const std::shared_ptr<PendingCalls>& Pending() const { return pending_; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::shared_ptr<PendingCalls> pending_ = std::make_shared<PendingCalls>();
};

// Sends the id of the work to the window and waits; a window that is gone makes it return
// at once.
class WindowSynchronizer final : public Synchronizer {
public:
    WindowSynchronizer(HWND window, std::shared_ptr<PendingCalls> pending)
        : window_(window), pending_(std::move(pending)) {}
    void Synchronize(const std::function<void()>& work) override;

private:
    HWND window_;  // not owned: it may be destroyed while the timing thread still runs
    std::shared_ptr<PendingCalls> pending_;
};

// One per process, made and destroyed on the user-interface thread, and passed to what
// animates icons.
class WinTimerPool {
public:
    WinTimerPool();
    WinTimerPool(const WinTimerPool&) = delete;
    WinTimerPool& operator=(const WinTimerPool&) = delete;

    TTimerPool& Pool() { return pool_; }
    // Ticks run inside this window's procedure: failures go to the program's failure handler.
    TWindowedComponent& Window() { return window_; }

private:
    PoolSyncWindow window_;
    TTimerPool pool_;  // after window_: its thread is let go before the window goes
};

}  // namespace vimbrel::win32

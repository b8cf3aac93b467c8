#include "desktop/win32/timer_pool.h"

#include <mmsystem.h>

namespace vimbrel::win32 {

std::uint32_t TimeGetTimeClock::NowMs() { return ::timeGetTime(); }

UINT PoolSyncWindow::SyncMessage() {
    static const UINT message = ::RegisterWindowMessageA("VimbrelTimerPoolTick");
    return message;
}

LRESULT PoolSyncWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SyncMessage()) {
        // Posted, or sent from this thread: not the timing thread's.
        if (::InSendMessage()) pending_->Run(wParam);
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

void WindowSynchronizer::Synchronize(const std::function<void()>& work) {
    const std::uintptr_t id = pending_->Add(work);
    ::SendMessageA(window_, PoolSyncWindow::SyncMessage(), id, 0);
    pending_->Withdraw(id);
}

WinTimerPool::WinTimerPool()
    : pool_(TTimingThread::Factory(std::make_shared<TimeGetTimeClock>(),
                                   std::make_shared<WindowSynchronizer>(window_.Handle(), window_.Pending()))) {}

}  // namespace vimbrel::win32

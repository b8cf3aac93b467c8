#include "desktop/win32/timer_pool.h"

#include <mmsystem.h>

namespace vimbrel::win32 {

std::uint32_t TimeGetTimeClock::NowMs() { return ::timeGetTime(); }

UINT PoolSyncWindow::SyncMessage() {
    static const UINT message = ::RegisterWindowMessageA("VimbrelTimerPoolTick");
    return message;
}

LRESULT PoolSyncWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SyncMessage() && lParam) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

void WindowSynchronizer::Synchronize(const std::function<void()>& work) {
    ::SendMessageA(window_, PoolSyncWindow::SyncMessage(), 0, reinterpret_cast<LPARAM>(&work));
}

WinTimerPool::WinTimerPool()
    : pool_(TTimingThread::Factory(std::make_shared<TimeGetTimeClock>(),
                                   std::make_shared<WindowSynchronizer>(window_.Handle()))) {}

}  // namespace vimbrel::win32

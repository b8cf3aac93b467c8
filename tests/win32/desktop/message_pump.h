#pragma once
// Lets this thread's messages run in tests until a condition holds or the time is up.
#include <windows.h>

namespace vimbrel::win32::testing {

template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

}  // namespace vimbrel::win32::testing

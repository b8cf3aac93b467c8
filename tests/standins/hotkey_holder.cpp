// hotkey_holder MODIFIERS VK READY_EVENT QUIT_EVENT
// Registers one hotkey for this process, signals READY_EVENT, and holds the hotkey until
// QUIT_EVENT is signalled (or 60 s pass). Exit code 2 when the hotkey was refused.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) return 1;
    const UINT modifiers = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    const UINT vk = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    HANDLE quit = ::OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (!ready || !quit) return 1;
    if (!::RegisterHotKey(nullptr, 1, modifiers, vk)) return 2;
    ::SetEvent(ready);
    ::WaitForSingleObject(quit, 60000);
    ::UnregisterHotKey(nullptr, 1);
    ::CloseHandle(ready);
    ::CloseHandle(quit);
    return 0;
}

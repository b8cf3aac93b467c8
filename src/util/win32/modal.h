#pragma once
// Every modal message and dialog of the program comes up inside a ModalScope, and every
// message box goes through ModalMessageBox. Before it shows, a sender waiting on the message
// being handled (a second start handing over its command line) is answered, so that it
// ends instead of waiting for the user; while it is up, the guard the program set holds
// (the capture hotkeys switched off), and it is let go however the box closes.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace vimbrel::win32 {

// Makes the guard that holds while one modal message or dialog is up; none until set.
using ModalGuardMaker = std::function<std::shared_ptr<void>()>;
void SetModalGuard(ModalGuardMaker maker);

class ModalScope {
public:
    ModalScope();
    ~ModalScope() = default;
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    std::shared_ptr<void> guard_;
};

// MessageBoxA inside a ModalScope: the button pressed.
int ModalMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style);

}  // namespace vimbrel::win32

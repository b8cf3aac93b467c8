#include "util/win32/modal.h"

namespace vimbrel::win32 {
namespace {
ModalGuardMaker& GuardMaker() {
    static ModalGuardMaker maker;
    return maker;
}
}  // namespace

void SetModalGuard(ModalGuardMaker maker) { GuardMaker() = std::move(maker); }

ModalScope::ModalScope() {
    // The sender stops waiting here: what follows waits on the user, not on it.
    if (::InSendMessage()) ::ReplyMessage(0);
    if (GuardMaker()) guard_ = GuardMaker()();
}

int ModalMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
    ModalScope scope;
    return ::MessageBoxA(owner, text.c_str(), title.c_str(), style);
}

}  // namespace vimbrel::win32

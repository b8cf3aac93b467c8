// The application's exception handler: registry failures are dropped silently, anything
// else is shown in a message box titled with the program title, and the program goes on.
#include <windows.h>

#include <exception>
#include <string>

#include "app/win32/exception_handler.h"
#include "util/errors.h"
#include "util/win32/modal.h"

namespace vimbrel::win32 {
namespace {
std::string& Title() {
    static std::string title = "  Vimbrel   ";
    return title;
}
}  // namespace

void SetApplicationTitle(const std::string& title) { Title() = title; }

void ReportException(HWND owner, std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ERegistryException&) {
        // The operation that failed has stopped; the program goes on.
    } catch (const std::exception& e) {
        ModalMessageBox(owner, e.what(), Title(), MB_OK | MB_ICONWARNING);
    } catch (...) {
        ModalMessageBox(owner, "An unexpected error occurred.", Title(), MB_OK | MB_ICONWARNING);
    }
}

}  // namespace vimbrel::win32

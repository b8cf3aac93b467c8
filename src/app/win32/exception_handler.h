#pragma once
#include <windows.h>

#include <exception>
#include <string>

namespace vimbrel::win32 {

// Title of the message box that reports an exception (the program title once known).
void SetApplicationTitle(const std::string& title);
void ReportException(HWND owner, std::exception_ptr failure);

}  // namespace vimbrel::win32

#pragma once
// The main window's small modal dialogs, each a function that returns the user's answer.
#include <windows.h>

#include <string>

namespace vimbrel::win32 {

struct ExitAnswer {
    bool yes = false;
    bool doNotAskAgain = false;
};

// "Are you sure you wish to exit?" with Yes, No and "Do not ask this again", centred on the
// screen, titled `title`. Closing it any other way answers No.
ExitAnswer AskExit(HWND owner, const std::string& title);

// The program's name and version.
void ShowAboutBox(HWND owner, const std::string& title, const std::string& version);

}  // namespace vimbrel::win32

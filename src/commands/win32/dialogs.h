#pragma once
// The main window's questions to the user: message boxes, the common file dialogs and the
// small modal dialogs, each a function that returns the user's answer.
#include <windows.h>

#include <string>

#include "commands/command_ports.h"

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

// "Bitmaps (*.bmp)|*.bmp" as the common dialogs take it: pairs separated by NULs, two at the end.
std::string DialogFilter(const std::string& filter);

// An open dialog titled `title` for a file that must exist, read-only box hidden.
std::optional<std::string> AskExistingFile(HWND owner, const std::string& title, const std::string& filter,
                                           const std::string& folder);

// The command groups' dialogs, owned by the main window and titled with the program title.
class WinDialogs final : public Dialogs {
public:
    WinDialogs(HWND owner, std::string title) : owner_(owner), title_(std::move(title)) {}

    std::optional<std::string> AskOpenFile(const std::string& filter, const std::string& folder,
                                           int filterIndex) override;
    std::optional<SaveChoice> AskSaveFile(const std::string& filter, const std::string& folder,
                                          int filterIndex) override;
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowAbout() override;

private:
    HWND owner_;
    std::string title_;
};

}  // namespace vimbrel::win32

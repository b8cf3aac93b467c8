#pragma once
// The image file commands' questions and system calls on Windows: the common open and save
// dialogs, message boxes titled with the program title, the shell and the beep.
#include <windows.h>

#include <string>

#include "app/image_file_commands.h"

namespace vimbrel::win32 {

class WinFileCommandsUi : public FileCommandsUi {
public:
    WinFileCommandsUi(HWND owner, const std::string& title) : owner_(owner), title_(title) {}

    std::optional<std::string> AskOpenFile(const std::string& filter, const std::string& folder,
                                           int filterIndex) override;
    std::optional<SaveChoice> AskSaveFile(const std::string& filter, const std::string& folder,
                                          int filterIndex) override;
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void OpenWithSystem(const std::string& path) override;
    void StartProgram(const std::string& program, const std::string& parameters) override;
    void Beep() override;
    std::string TempFolder() override;

private:
    HWND owner_;
    std::string title_;
};

// "Bitmaps (*.bmp)|*.bmp" as the common dialogs take it: pairs separated by NULs, two at the end.
std::string DialogFilter(const std::string& filter);

}  // namespace vimbrel::win32

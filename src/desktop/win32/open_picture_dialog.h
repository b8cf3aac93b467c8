#pragma once
// The open dialog for pictures: the system's open-file dialog with a panel beside its
// controls that previews the selected file with its size, shows it in a window of its own
// and deletes it after a question. Its template and glyph (res/open_picture.rc) must be
// linked into the program.
#include <windows.h>

#include <optional>
#include <string>

namespace vimbrel::win32 {

struct OpenPictureQuestion {
    std::string filter;  // name and pattern pairs as the common dialogs take them: NUL between, two at the end
    std::string folder;  // where it starts; empty for the system's choice
    int filterIndex = 1;
};

// Shows the dialog modally; the chosen file, or nothing when the user cancelled.
std::optional<std::string> AskOpenPicture(HWND owner, const OpenPictureQuestion& question);

}  // namespace vimbrel::win32

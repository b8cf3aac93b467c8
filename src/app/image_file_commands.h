#pragma once
// The main window's image file commands: Open, Save, Save Image As, Save as Shown, the
// numbered save (Ctrl+F2), stepping through a numbered series (Ctrl+Page Up/Down) and the
// external editor. They move the current picture between the program and files and keep
// the folder and extension settings up to date.
#include <string>

#include "app/command_ports.h"
#include "app/command_router.h"
#include "workspace/current_image.h"

namespace vimbrel {

// Shown when a file with an encrypted name is opened before deciphering exists here.
inline constexpr const char* kEncryptedOpenUnavailable =
    "This file is encrypted. Opening encrypted files is not available in this version.";

class ImageFileCommands {
public:
    explicit ImageFileCommands(const CommandDeps& deps);
    void BindTo(CommandRouter& router);

    void mnuOpenFileClick();
    // Opens any file: pictures become the current image, other files go to their program.
    void OpenFileByPath(const std::string& path);
    // Reads a picture file into the current image; false when it is not one (the user was
    // told, the picture is unchanged).
    bool LoadImageFile(const std::string& path, bool greys);

    void Save1Click();
    void SaveAs1Click() { AskSaveImageName(false); }
    void SaveAs2Click() { AskSaveImageName(true); }
    void AskSaveImageName(bool asShown);
    void WriteImageFile(const std::string& path, bool temporary, bool asShown);

    // The next numbered file in the automatic-save folder; never replaces a file.
    void AutoSaveImage();
    void StepNumberedFile(bool forward);
    void mnuEditorClick();

private:
    CurrentImage& image_;
    OptionFlags& flags_;
    CommandDeps deps_;
};

}  // namespace vimbrel

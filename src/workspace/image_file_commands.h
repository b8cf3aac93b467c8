#pragma once
// The main window's image file commands: Open, Save, Save Image As, Save as Shown, the
// numbered save (Ctrl+F2), stepping through a numbered series (Ctrl+Page Up/Down) and the
// external editor. They move the current picture between the program and files and keep
// the folder and extension settings up to date.
#include <optional>
#include <string>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "workspace/current_image.h"

namespace vimbrel {

// Shown as the description of a picture that was deciphered for opening.
inline constexpr const char* kEncryptedImageText = "Encrypted Image";

// Deciphers an encrypted file for opening: the plain copy in the work folder, or nothing
// when the user cancelled or it failed (the user was told).
class Decipherer {
public:
    virtual ~Decipherer() = default;
    virtual std::optional<std::string> DecipherForOpen(const std::string& FileName) = 0;
};

class ImageFileCommands {
public:
    explicit ImageFileCommands(const CommandDeps& deps);
    void BindTo(CommandRouter& router);

    void mnuOpenFileClick();
    // Encrypted files are opened through it; without one they are not opened.
    void DecipherWith(Decipherer& decipherer) { decipherer_ = &decipherer; }

    // Opens any file: pictures become the current image, other files go to their program.
    void OpenFileByPath(const std::string& path);
    // Reads a picture file into the current image; false when it is not one (the user was
    // told, the picture is unchanged). A deciphered picture gets no file name, so it is
    // never saved back in plain.
    bool LoadImageFile(const std::string& path, bool greys, bool deciphered = false);

    void Save1Click();
    void SaveAs1Click() { AskSaveImageName(false); }
    void SaveAs2Click() { AskSaveImageName(true); }
    void AskSaveImageName(bool asShown);
    // The picture goes with its marks unless `withMarks` is off (a working copy of the
    // picture alone).
    void WriteImageFile(const std::string& path, bool temporary, bool asShown, bool withMarks = true);

    // The next numbered file in the automatic-save folder; never replaces a file.
    void AutoSaveImage();
    void StepNumberedFile(bool forward);
    void mnuEditorClick();

private:
    void OpenDeciphered(const std::string& path);

    CurrentImage& image_;
    OptionFlags& flags_;
    CommandDeps deps_;
    Decipherer* decipherer_ = nullptr;
};

}  // namespace vimbrel

#pragma once
// The main window's image file commands: Open, Save, Save Image As, Save as Shown, the
// numbered save (Ctrl+F2), stepping through a numbered series (Ctrl+Page Up/Down) and the
// external editor. They move the current picture between the program and files and keep
// the folder and extension settings up to date.
#include <functional>
#include <optional>
#include <string>

#include "app/option_flags.h"
#include "util/command_states.h"
#include "util/busy_cursor.h"
#include "workspace/current_image.h"
#include "util/file_system_port.h"

namespace vimbrel {

// What the commands ask of the user and the system.
class FileCommandsUi {
public:
    virtual ~FileCommandsUi() = default;
    // The open dialog; the chosen file, nothing when cancelled.
    virtual std::optional<std::string> AskOpenFile(const std::string& filter, const std::string& folder,
                                                   int filterIndex) = 0;
    struct SaveChoice {
        std::string path;
        int filterIndex = 1;  // as the user left it
    };
    virtual std::optional<SaveChoice> AskSaveFile(const std::string& filter, const std::string& folder,
                                                  int filterIndex) = 0;
    // A message box with the warning icon, titled with the program title.
    virtual void Warning(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The file's associated program opens it.
    virtual void OpenWithSystem(const std::string& path) = 0;
    virtual void StartProgram(const std::string& program, const std::string& parameters) = 0;
    virtual void Beep() = 0;
    // The system's temporary folder, ending in a backslash.
    virtual std::string TempFolder() = 0;
};

// Shown when a file with an encrypted name is opened before deciphering exists here.
inline constexpr const char* kEncryptedOpenUnavailable =
    "This file is encrypted. Opening encrypted files is not available in this version.";

class ImageFileCommands {
public:
    using StoreNextSaveNo = std::function<void(std::int64_t)>;

    ImageFileCommands(CurrentImage& image, OptionFlags& flags, CommandStates& commands, const FileQueries& files,
                      FileCommandsUi& ui, CursorPort& cursor, StoreNextSaveNo storeNextSaveNo);

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
    CommandStates& commands_;
    const FileQueries& files_;
    FileCommandsUi& ui_;
    CursorPort& cursor_;
    StoreNextSaveNo storeNextSaveNo_;
};

}  // namespace vimbrel

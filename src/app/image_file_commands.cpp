#include "app/image_file_commands.h"

#include "util/text.h"
#include "workspace/file_names.h"
#include "workspace/image_errors.h"
#include "workspace/image_file.h"
#include "workspace/numbered_files.h"
#include "workspace/send_to_editor.h"

namespace vimbrel {

ImageFileCommands::ImageFileCommands(CurrentImage& image, OptionFlags& flags, CommandStates& commands,
                                     const FileQueries& files, FileCommandsUi& ui, CursorPort& cursor,
                                     StoreNextSaveNo storeNextSaveNo)
    : image_(image),
      flags_(flags),
      commands_(commands),
      files_(files),
      ui_(ui),
      cursor_(cursor),
      storeNextSaveNo_(std::move(storeNextSaveNo)) {}

void ImageFileCommands::mnuOpenFileClick() {
    auto file = ui_.AskOpenFile(kOpenFilter, flags_.OpenPath, OpenFilterIndex(flags_.LastOpenExt));
    if (file) OpenFileByPath(*file);
}

void ImageFileCommands::OpenFileByPath(const std::string& path) {
    BusyCursor busy(cursor_);
    flags_.OpenPath = ExtractFilePath(path);
    flags_.LastOpenExt = AsciiLowerCase(ExtractFileExt(path));
    switch (OpenRouteFor(path)) {
    case OpenRoute::Decipher:
        // Never read an encrypted file as something else.
        ui_.Warning(kEncryptedOpenUnavailable);
        return;
    case OpenRoute::LoadImage:
        LoadImageFile(path, false);
        return;
    case OpenRoute::HandToSystem:
        ui_.OpenWithSystem(path);
        return;
    }
}

bool ImageFileCommands::LoadImageFile(const std::string& path, bool greys) {
    BusyCursor busy(cursor_);
    image_.TakeUndoSnapshot();
    std::optional<Bitmap> picture;
    try {
        picture = vimbrel::LoadImageFile(path, JpegReadOptions{greys, image_.TrueColourDisplay});
    } catch (const EInvalidGraphic&) {
        ui_.Warning(kUnreadableImageMessage);
        return false;
    } catch (const EImageTooLarge&) {
        ui_.Warning(kUnreadableImageMessage);
        return false;
    }
    if (!picture) return false;
    image_.imgMain = std::move(*picture);
    if (!greys) {
        image_.CurrentFileName = path;
        image_.LastOpenedFile = path;
        flags_.OpenPath = ExtractFilePath(path);
    }
    image_.ResetZoom();
    image_.RenderShownImage(image_.imgMain, 1.0);
    if (!greys) {
        image_.CaptureText = path;
        image_.ShowCaptureStatus();
    }
    image_.EnableImageCommands(true);
    return true;
}

void ImageFileCommands::Save1Click() {
    if (image_.CurrentFileName.empty())
        AskSaveImageName(false);
    else
        WriteImageFile(image_.CurrentFileName, false, false);
}

void ImageFileCommands::AskSaveImageName(bool asShown) {
    auto choice = ui_.AskSaveFile(kSaveFilter, flags_.SavePath, SaveFilterIndex(flags_.AutoExt));
    if (!choice) return;
    SaveNameDecision decision = DecideSaveName(choice->path, choice->filterIndex, files_);
    if (decision.askOverwrite && !ui_.Confirm(OverwriteQuestion(decision.name))) return;
    WriteImageFile(decision.name, false, asShown);
}

void ImageFileCommands::WriteImageFile(const std::string& path, bool temporary, bool asShown) {
    BusyCursor busy(cursor_);
    if (!temporary) image_.CurrentFileName = path;
    vimbrel::WriteImageFile(asShown ? image_.Image1() : image_.imgMain, path);
    if (!temporary) {
        flags_.SavePath = ExtractFilePath(path);
        image_.CaptureText = path;
        image_.ShowCaptureStatus();
    }
    commands_.SetEnabled("Save1", true);
}

void ImageFileCommands::AutoSaveImage() {
    AutoSaveSettings settings{flags_.AutoSavePath, flags_.AutoPrefix, flags_.AutoExt, flags_.NextSaveNo};
    std::string name = ClaimAutoSaveName(settings, files_, [&](std::int64_t next) {
        flags_.NextSaveNo = static_cast<std::int32_t>(next);
        storeNextSaveNo_(next);
    });
    WriteImageFile(name, false, false);
    ui_.Beep();
}

void ImageFileCommands::StepNumberedFile(bool forward) {
    auto next = vimbrel::StepNumberedFile(image_.LastOpenedFile, flags_.OpenPath, forward, files_);
    if (next)
        LoadImageFile(*next, false);
    else
        mnuOpenFileClick();
}

void ImageFileCommands::mnuEditorClick() {
    auto launch = SendToEditor(image_.Image1(), flags_.ImageEditor, ui_.TempFolder(), files_);
    if (launch) ui_.StartProgram(launch->program, launch->parameters);
}

}  // namespace vimbrel

#include "workspace/image_file_commands.h"

#include "workspace/step_trace.h"

#include "settings/settings.h"
#include "util/text.h"
#include "workspace/file_kinds.h"
#include "workspace/file_names.h"
#include "workspace/image_errors.h"
#include "workspace/image_file.h"
#include "workspace/numbered_files.h"
#include "workspace/path_parts.h"
#include "workspace/send_to_editor.h"

namespace vimbrel {

ImageFileCommands::ImageFileCommands(const CommandDeps& deps) : image_(deps.image), flags_(deps.flags), deps_(deps) {}

void ImageFileCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::OpenFile, [this] { mnuOpenFileClick(); });
    router.Bind(handler::Save, [this] { Save1Click(); });
    router.Bind(handler::SaveAs, [this] { SaveAs1Click(); });
    router.Bind(handler::SaveAsShown, [this] { SaveAs2Click(); });
    router.Bind(handler::Editor, [this] { mnuEditorClick(); });
    router.Bind(handler::NumberedSave, [this] { AutoSaveImage(); });
    router.Bind(handler::PreviousNumberedFile, [this] { StepNumberedFile(false); });
    router.Bind(handler::NextNumberedFile, [this] { StepNumberedFile(true); });
}

void ImageFileCommands::mnuOpenFileClick() {
    auto file = deps_.dialogs.AskOpenFile(OpenFilter(), flags_.OpenPath, OpenFilterIndex(flags_.LastOpenExt));
    if (file) OpenFileByPath(*file);
}

void ImageFileCommands::OpenFileByPath(const std::string& path) {
    BusyCursor busy(deps_.cursor);
    flags_.OpenPath = ExtractFilePath(path);
    flags_.LastOpenExt = AsciiLowerCase(ExtractFileExt(path));
    switch (OpenRouteFor(path)) {
    case OpenRoute::Decipher:
        OpenDeciphered(path);
        return;
    case OpenRoute::LoadImage:
        LoadImageFile(path, false);
        return;
    case OpenRoute::HandToSystem:
        deps_.shell.OpenWithSystem(path);
        return;
    }
}

void ImageFileCommands::OpenDeciphered(const std::string& path) {
    // Never read an encrypted file as something else.
    if (!decipherer_) return;
    std::optional<std::string> plain = decipherer_->DecipherForOpen(path);
    if (!plain) return;
    if (OpenRouteFor(*plain, true) != OpenRoute::LoadImage) {
        // Its program reads it later; it stays until the work folder is emptied.
        deps_.shell.OpenWithSystem(*plain);
        return;
    }
    // The plain copy of a picture goes once it is read, shown or not.
    FileRemover removeAfter(deps_.files, *plain);
    LoadImageFile(*plain, false, true);
}

bool ImageFileCommands::LoadImageFile(const std::string& path, bool greys, bool deciphered) {
    BusyCursor busy(deps_.cursor);
    image_.TakeUndoSnapshot();
    std::optional<Bitmap> picture;
    try {
        picture = vimbrel::LoadImageFile(path, JpegReadOptions{greys, image_.TrueColourDisplay});
    } catch (const EInvalidGraphic&) {
        deps_.dialogs.Warning(kUnreadableImageMessage);
        return false;
    } catch (const EImageTooLarge&) {
        deps_.dialogs.Warning(kUnreadableImageMessage);
        return false;
    }
    if (!picture) return false;
    image_.imgMain = std::move(*picture);
    if (!greys) image_.NewPicture();
    if (deciphered) {
        image_.CurrentFileName.clear();
        image_.LastOpenedFile.clear();
    } else if (!greys) {
        image_.CurrentFileName = path;
        image_.LastOpenedFile = path;
        flags_.OpenPath = ExtractFilePath(path);
    }
    image_.ResetZoom();
    image_.RenderShownImage(image_.imgMain, 1.0);
    if (!greys) {
        image_.CaptureText = deciphered ? kEncryptedImageText : path;
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
    auto choice = deps_.dialogs.AskSaveFile(SaveFilter(), flags_.SavePath, SaveFilterIndex(flags_.AutoExt));
    if (!choice) return;
    SaveNameDecision decision = DecideSaveName(choice->path, choice->filterIndex, deps_.files);
    if (decision.askOverwrite && !deps_.dialogs.Confirm(OverwriteQuestion(decision.name))) return;
    WriteImageFile(decision.name, false, asShown);
}

void ImageFileCommands::WriteImageFile(const std::string& path, bool temporary, bool asShown, bool withMarks) {
    BusyCursor busy(deps_.cursor);
    const Bitmap& picture = withMarks ? image_.Outgoing(asShown) : (asShown ? image_.Image1() : image_.imgMain);
    if (!temporary) image_.CurrentFileName = path;
    vimbrel::WriteImageFile(picture, path);
    if (!temporary) {
        flags_.SavePath = ExtractFilePath(path);
        image_.CaptureText = path;
        image_.ShowCaptureStatus();
    }
    deps_.commands.SetEnabled(cmd::Save1, true);
}

void ImageFileCommands::AutoSaveImage() {
    StepTrace trace("numbered save");
    AutoSaveSettings settings{flags_.AutoSavePath, flags_.AutoPrefix, flags_.AutoExt, flags_.NextSaveNo};
    std::string name = ClaimAutoSaveName(settings, deps_.files, [&](std::int64_t next) {
        flags_.NextSaveNo = next;
        WriteNextSaveNo(next, deps_.store);
    });
    trace.Step("name");
    WriteImageFile(name, false, false);
    trace.Step("write " + std::string(ExtractFileExt(name)));
    deps_.shell.Beep();
    trace.Step("beep");
}

void ImageFileCommands::StepNumberedFile(bool forward) {
    auto next = vimbrel::StepNumberedFile(image_.LastOpenedFile, flags_.OpenPath, forward, deps_.files);
    if (next)
        LoadImageFile(*next, false);
    else
        mnuOpenFileClick();
}

void ImageFileCommands::mnuEditorClick() {
    auto launch = SendToEditor(image_.Outgoing(true), flags_.ImageEditor, deps_.shell.TempFolder(), deps_.files);
    if (launch) deps_.shell.StartProgram(launch->program, launch->parameters);
}

}  // namespace vimbrel

#include "workspace/edit_commands.h"

#include <cstdlib>

#include "desktop/sys_hotkey.h"
#include "workspace/current_image.h"
#include "workspace/file_names.h"
#include "workspace/image_errors.h"

namespace vimbrel {

namespace {

constexpr CursorStamp kStamps[] = {
    {1, {0, 0}, ImagePointer::Normal},
    {2, {-8, 0}, ImagePointer::HandPoint},
    {3, {-2, -2}, ImagePointer::NoDrop},
    {4, {-5, -6}, ImagePointer::Help},
};
constexpr CommandName kPasteCommands[] = {cmd::mnuPaste, cmd::btnPaste, cmd::popPaste};

}  // namespace

const CursorStamp* StampFor(int number) {
    for (const CursorStamp& s : kStamps)
        if (s.number == number) return &s;
    return nullptr;
}

void DisarmStamp(CurrentImage& image, MainView& view) {
    if (image.StampCursor == 0) return;
    image.StampCursor = 0;
    view.SetImagePointer(ImagePointer::Normal);
}

EditCommands::EditCommands(const CommandDeps& deps, Clipboard& clipboard, StampPainter& painter,
                           ImageFileCommands& files, std::function<bool()> cropMode, ConsoleWatch& console)
    : deps_(deps),
      image_(deps.image),
      clipboard_(clipboard),
      painter_(painter),
      files_(files),
      cropMode_(std::move(cropMode)),
      console_(console) {}

void EditCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::Copy, [this] { mnuCopyClick(); });
    router.Bind(handler::Paste, [this] { PasteFromClipboard(); });
    router.Bind(handler::ClipboardChanged, [this] { ClipboardChanged(); });
    router.Bind(handler::Grey, [this] { ConvertToGreys(); });
    router.Bind(handler::AddCursor, [this](const CommandRef& ref) { ArmStamp(ref.argument); });
}

void EditCommands::mnuCopyClick() {
    if (image_.imgMain.Empty()) return;
    BusyCursor busy(deps_.cursor);
    PutClipboardPicture(clipboard_, image_.Outgoing(true));
}

void EditCommands::PasteFromClipboard() {
    // The busy flag: nothing is pasted while a capture, a print or a dialog runs.
    if (!deps_.hotKeys.Active() || !HoldsPicture(clipboard_)) return;
    std::optional<Bitmap> pasted;
    try {
        BusyCursor busy(deps_.cursor);
        pasted = ReadClipboardPicture(clipboard_, JpegReadOptions{false, image_.TrueColourDisplay});
    } catch (const EInvalidGraphic&) {
        deps_.dialogs.Warning(kUnreadableImageMessage);
        return;
    }
    if (!pasted) return;
    DisarmStamp(image_, deps_.view);
    image_.CurrentFileName.clear();
    image_.TakeUndoSnapshotAndReplace(std::move(*pasted));
    image_.ResetZoom();
    image_.RenderShownImage(image_.imgMain, 1.0);
    image_.EnableImageCommands(true);
    CommandStates& commands = deps_.commands;
    if (deps_.flags.PopUp) deps_.view.RestoreMainWindow();
    // A paste prints and saves like a capture, but neither copies nor starts the editor.
    if (commands.Enabled(cmd::Print1) && commands.Checked(cmd::mnuAutoPrint)) deps_.router.Route(handler::Print);
    if (commands.Enabled(cmd::mnuAutoSave) && commands.Checked(cmd::mnuAutoSave)) deps_.router.Route(handler::NumberedSave);
    deps_.view.SetStatusText("");
}

void EditCommands::ClipboardChanged() {
    if (!deps_.hotKeys.Active()) return;
    CommandStates& commands = deps_.commands;
    for (CommandName name : kPasteCommands) commands.SetEnabled(name, false);
    if (HoldsPicture(clipboard_)) {
        for (CommandName name : kPasteCommands) commands.SetEnabled(name, true);
        // Our own copy (the shown picture at its zoom, or a capture's automatic copy) is not
        // taken back: it would replace the full-size picture and capture it a second time.
        if (deps_.flags.WatchClips && !clipboard_.HoldsOwnCopy()) PasteFromClipboard();
    } else if (commands.Enabled(cmd::PrintSetup1) && deps_.flags.DosPrint && clipboard_.HasText() &&
               console_.ConsoleInForeground()) {
        deps_.router.Route(handler::PrintConsoleText);
    }
}

void EditCommands::ConvertToGreys() {
    BusyCursor busy(deps_.cursor);
    // Greys are the luminance of a quality-90 JPEG of the picture, read back as greys.
    const std::string jpeg = GreysTempPath(deps_.dataFolder);
    FileRemover removeAfter(deps_.files, jpeg);
    // A temporary write like any other: it enables Save. The marks stay marks over the
    // grey picture.
    files_.WriteImageFile(jpeg, true, false, false);
    files_.LoadImageFile(jpeg, true);
}

void EditCommands::ArmStamp(int number) {
    const CursorStamp* stamp = StampFor(number);
    if (!stamp) return;
    image_.StampCursor = std::uintptr_t(number);
    image_.StampOffset = stamp->offset;
    if (stamp->pointer != ImagePointer::Normal) deps_.view.SetImagePointer(stamp->pointer);
}

void EditCommands::Image1MouseDown(MouseButton button, Point at) {
    if (button != MouseButton::Left) return;
    if (const CursorStamp* stamp = StampFor(int(image_.StampCursor))) {
        image_.TakeUndoSnapshot();
        painter_.Draw(stamp->number, image_.imgMain, at);
        const Point shown{at.x + image_.StampOffset.x, at.y + image_.StampOffset.y};
        image_.DrawIntoShown([&](Bitmap& image1) { painter_.Draw(stamp->number, image1, shown); });
        DisarmStamp(image_, deps_.view);
        return;
    }
    if (cropMode_()) return;
    if (deps_.view.ImageScrollable()) {
        image_.DragOrigin = at;
        deps_.view.SetImagePointer(ImagePointer::HandDrag);
    } else {
        image_.DragOrigin.x = -1;
    }
}

void EditCommands::Image1MouseMove(Point at) {
    Point& origin = image_.DragOrigin;
    if (origin.x == -1 || cropMode_()) return;
    // Moves within the dead zone still move the origin, so a slow drag never scrolls.
    if (std::abs(origin.x - at.x) > kDragDeadZone) deps_.view.ScrollImageLine(true, at.x > origin.x);
    origin.x = at.x;
    if (!deps_.view.LetPendingMessagesRun()) return;
    if (std::abs(origin.y - at.y) > kDragDeadZone) deps_.view.ScrollImageLine(false, at.y > origin.y);
    origin.y = at.y;
    deps_.view.LetPendingMessagesRun();
}

void EditCommands::Image1MouseUp(MouseButton, Point) {
    image_.DragOrigin = Point{-1, -1};
    deps_.view.SetImagePointer(ImagePointer::Normal);
    image_.StampCursor = 0;
}

}  // namespace vimbrel

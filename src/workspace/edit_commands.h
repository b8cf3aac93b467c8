#pragma once
// The Edit menu and the picture's own mouse commands: copy and paste through the clipboard,
// watching the clipboard, greys, the cursor stamps and scrolling by dragging the picture.
#include <functional>
#include <optional>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "workspace/image_file_commands.h"
#include "capture/area_selection.h"
#include "workspace/bitmap.h"
#include "workspace/clipboard_picture.h"

namespace vimbrel {

// The four stamps of "Add a cursor": the arrow, the pointing hand, the no-drop sign and the
// help arrow.
struct CursorStamp {
    int number;             // 1 to 4, as StampCursor holds it
    Point offset;           // where the stamp goes in the shown picture, from the click
    ImagePointer pointer;   // the pointer while it is armed
};
const CursorStamp* StampFor(int number);

class StampPainter {
public:
    virtual ~StampPainter() = default;
    // The stamp's cursor picture at its natural size, its top-left corner at `at`.
    virtual void Draw(int stamp, Bitmap& picture, Point at) = 0;
};

// Whether a console window is in front: console text on the clipboard is printed then.
class ConsoleWatch {
public:
    virtual ~ConsoleWatch() = default;
    virtual bool ConsoleInForeground() = 0;
};

// Disarms a cursor stamp: no stamp, the normal pointer.
void DisarmStamp(CurrentImage& image, MainView& view);

// Moves of more than this many pixels scroll the picture by a line.
inline constexpr int kDragDeadZone = 2;

class EditCommands {
public:
    // cropMode: whether a crop is under way (the picture's mouse then belongs to it).
    EditCommands(const CommandDeps& deps, Clipboard& clipboard, StampPainter& painter, ImageFileCommands& files,
                 std::function<bool()> cropMode, ConsoleWatch& console);
    void BindTo(CommandRouter& router);

    // The shown picture, at the zoom it is shown at, when there is a picture at all.
    void mnuCopyClick();
    // A clipboard picture that cannot be read is reported and changes nothing.
    void PasteFromClipboard();
    // The clipboard changed (a notice of the clipboard-viewer chain).
    void ClipboardChanged();
    void ConvertToGreys();
    void ArmStamp(int number);

    // The picture's mouse, at the shown picture's coordinates.
    void Image1MouseDown(MouseButton button, Point at);
    void Image1MouseMove(Point at);
    void Image1MouseUp(MouseButton button, Point at);

private:
    CommandDeps deps_;
    CurrentImage& image_;
    Clipboard& clipboard_;
    StampPainter& painter_;
    ImageFileCommands& files_;
    std::function<bool()> cropMode_;
    ConsoleWatch& console_;
};

}  // namespace vimbrel

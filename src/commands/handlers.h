#pragma once
// What a command does, shared by the controls that start it: the command router routes on
// it, and each command group binds the handlers it serves. The handlers below are the main
// window's own; a command group with controls of its own declares its handlers beside them,
// in namespace vimbrel::handler, with VIMBREL_HANDLER. Two handlers of the same text are
// one handler, and binding one twice is refused, so a clash shows at the first start.
#include "util/named_constant.h"

namespace vimbrel {

using Handler = NamedConstant<struct HandlerTag>;

#define VIMBREL_HANDLER(name) inline constexpr ::vimbrel::Handler name{#name}

namespace handler {

// No handler: a submenu, a hidden item, a separator.
inline constexpr Handler None{};

VIMBREL_HANDLER(OpenFile);
VIMBREL_HANDLER(Save);
VIMBREL_HANDLER(SaveAs);
VIMBREL_HANDLER(SaveAsShown);
VIMBREL_HANDLER(SaveEncrypted);
VIMBREL_HANDLER(EncryptFile);
VIMBREL_HANDLER(OpenEncrypted);
VIMBREL_HANDLER(SendMail);
VIMBREL_HANDLER(PrintSetup);
VIMBREL_HANDLER(PrintPreview);
VIMBREL_HANDLER(Print);
VIMBREL_HANDLER(Exit);
VIMBREL_HANDLER(Undo);
VIMBREL_HANDLER(Clear);
VIMBREL_HANDLER(Copy);
VIMBREL_HANDLER(Paste);
VIMBREL_HANDLER(Grey);
VIMBREL_HANDLER(Editor);
VIMBREL_HANDLER(SetScreen);
VIMBREL_HANDLER(SetArea);
VIMBREL_HANDLER(Options);
VIMBREL_HANDLER(Zoom);
VIMBREL_HANDLER(AddCursor);
VIMBREL_HANDLER(Crop);
VIMBREL_HANDLER(CaptureArea);
VIMBREL_HANDLER(CaptureScreenNow);
VIMBREL_HANDLER(CaptureActiveNow);
VIMBREL_HANDLER(AutoPrint);
VIMBREL_HANDLER(AutoSave);
VIMBREL_HANDLER(Notes);
VIMBREL_HANDLER(Restore);
VIMBREL_HANDLER(HelpContents);
VIMBREL_HANDLER(HelpContext);
VIMBREL_HANDLER(WebLink);
VIMBREL_HANDLER(WebLink2);
VIMBREL_HANDLER(About);
VIMBREL_HANDLER(PreviousNumberedFile);
VIMBREL_HANDLER(NextNumberedFile);
VIMBREL_HANDLER(PrintWithNotes);
VIMBREL_HANDLER(NumberedSave);

// Without a control: the keys the window sees first and the hotkeys.
VIMBREL_HANDLER(HotKey);            // argument: the hotkey entry, 0 full screen, 1 active window, 2 area
VIMBREL_HANDLER(ClipboardChanged);  // the clipboard-viewer chain's notice
VIMBREL_HANDLER(PrintConsoleText);  // console text arrived on the clipboard

}  // namespace handler
}  // namespace vimbrel

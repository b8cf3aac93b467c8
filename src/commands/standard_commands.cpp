#include "commands/standard_commands.h"

#include <cstdio>

namespace vimbrel {
namespace {

MenuItem Item(CommandName name, std::string caption, Handler h, std::string shortcut = {}, int arg = 0) {
    return MenuItem{name, std::move(caption), std::move(shortcut), h, arg, false, {}};
}
MenuItem Hidden(CommandName name, std::string caption, Handler h, int arg = 0) {
    MenuItem m = Item(name, std::move(caption), h, {}, arg);
    m.hidden = true;
    return m;
}
MenuItem Sub(CommandName name, std::string caption, std::vector<MenuItem> children) {
    MenuItem m = Item(name, std::move(caption), handler::None);
    m.children = std::move(children);
    return m;
}
MenuItem Separator() { return MenuItem{}; }

std::string Printed(const char* format, int k) {
    char text[32];
    std::snprintf(text, sizeof text, format, k);
    return text;
}

std::vector<MenuItem> ZoomInItems() {
    std::vector<MenuItem> items;
    for (int k = 1; k <= 16; ++k) {
        const CommandName name = cmd::ZoomIn(k);
        std::string caption = Printed(k < 10 ? "  %d : 1" : "%d : 1", k);
        if (k <= 10)
            items.push_back(Item(name, caption, handler::Zoom, {}, k));
        else
            items.push_back(Hidden(name, caption, handler::None));
    }
    return items;
}

std::vector<MenuItem> ZoomOutItems() {
    std::vector<MenuItem> items;
    for (int k = 1; k <= 10; ++k)
        items.push_back(Item(cmd::ZoomOut(k), Printed("1 : %2d", k), handler::Zoom, {}, -k));
    return items;
}

std::vector<MenuItem> BuildMainMenu() {
    return {
        Sub(cmd::mnuFile, "&File", {
            Item(cmd::mnuOpenFile, "&Open", handler::OpenFile, "Ctrl+O"),
            Item(cmd::Save1, "&Save", handler::Save, "Ctrl+S"),
            Item(cmd::SaveAs1, "Save Image &As...", handler::SaveAs),
            Item(cmd::SaveAs2, "Save as Shown...", handler::SaveAsShown),
            Separator(),
            Sub(cmd::mnuEncryption, "&Encryption...", {
                Item(cmd::mnuSaveEncrypted, "&Save Image Encrypted", handler::SaveEncrypted),
                Item(cmd::EncryptaFile1, "&Encrypt a File with VRL", handler::EncryptFile),
                Item(cmd::OpenanEncryptedFile1, "&Open a VRL Encrypted File", handler::OpenEncrypted),
            }),
            Item(cmd::mnuSendMail, "Send as Email", handler::SendMail, "Ctrl+E"),
            Separator(),
            Item(cmd::PrintSetup1, "Print S&etup", handler::PrintSetup),
            Item(cmd::PrintPreview1, "Print P&review", handler::PrintPreview),
            Item(cmd::Print1, "&Print", handler::Print, "Ctrl+P"),
            Separator(),
            Item(cmd::Exit1, "E&xit", handler::Exit),
        }),
        Sub(cmd::mnuEdit, "&Edit", {
            Item(cmd::mnuUndo, "&Undo", handler::Undo, "Ctrl+Z"),
            Separator(),
            Item(cmd::mnuCopy, "&Copy to Clipboard", handler::Copy),
            Item(cmd::mnuPaste, "&Paste from Clipboard", handler::Paste),
            Separator(),
            Item(cmd::Clear1, "Clea&r Capture", handler::Clear),
        }),
        Sub(cmd::mnuOptionsMenu, "&Options", {
            Item(cmd::mnuOptions, "Option S&ettings", handler::Options),
            Hidden(cmd::mnuSetScreen, "Capture &Screen", handler::SetScreen),
            Hidden(cmd::mnuSetArea, "Capture &Area", handler::SetArea),
        }),
        Sub(cmd::mnuImage, "&Image", {
            Sub(cmd::mnuZoomIn, "Zoom &In", ZoomInItems()),
            Sub(cmd::mnuZoomOut, "Zoom &Out", ZoomOutItems()),
            Separator(),
            Item(cmd::mOptGrey, "Convert to &Greys", handler::Grey),
            Hidden(cmd::mnuNegative, "&Negative", handler::None),
            Sub(cmd::mnuAddCursor, "&Add a cursor", {
                Item(cmd::curAdd1, "Cursor &1", handler::AddCursor, {}, 1),
                Item(cmd::curAdd2, "Cursor &2", handler::AddCursor, {}, 2),
                Item(cmd::crAdd3, "Cursor &3", handler::AddCursor, {}, 3),
                Item(cmd::crAdd4, "Cursor &4", handler::AddCursor, {}, 4),
            }),
            Separator(),
            Item(cmd::mnuEditor, "&Editor", handler::Editor),
        }),
        Sub(cmd::mnuHelp, "&Help", {
            Item(cmd::mnuHelpContent, "&Help Contents", handler::HelpContents, "F1"),
            Item(cmd::mnuHelpCapture, "&Capturing Images", handler::HelpContext, {}, 100),
            Item(cmd::mnuHelpPrint, "&Printing Images", handler::HelpContext, {}, 200),
            Item(cmd::mnuHelpSave, "&Saving Images", handler::HelpContext, {}, 300),
            Item(cmd::mnuHelpContact, "How to Contact &us", handler::HelpContext, {}, 500),
            Separator(),
            Item(cmd::mnuWebLink, "Vimbrel on the &Web", handler::WebLink),
            Item(cmd::mnuWebLink2, "Visit our &Web Site", handler::WebLink2),
            Separator(),
            Item(cmd::About1, "&About", handler::About),
        }),
    };
}

std::vector<MenuItem> BuildTrayMenu() {
    return {
        Item(cmd::mnuRestore, "&Restore", handler::Restore),
        Separator(),
        Item(cmd::mnuAutoPrint, "Auto &Print", handler::AutoPrint),
        Item(cmd::mnuAutoSave, "Auto Sa&ve", handler::AutoSave),
        Item(cmd::mnuNotes, "Add &Notes to Image", handler::Notes),
        Separator(),
        Item(cmd::mnuCapScreenNow, "Capture &Screen Now", handler::CaptureScreenNow),
        Item(cmd::mnuCapActiveNow, "Capture &Active Now", handler::CaptureActiveNow),
        Item(cmd::mnuCaptureAreaNow, "Capture A&rea Now", handler::CaptureArea),
        Separator(),
        Item(cmd::mnuHelp1, "Vimbrel &Help", handler::HelpContents),
        Item(cmd::mnuVisit1, "Visit our &Web Site", handler::WebLink2),
        Separator(),
        Item(cmd::mnuClose, "&Close", handler::Exit),
    };
}

std::vector<MenuItem> BuildImageMenu() {
    return {
        Item(cmd::Openfile1, "&Open File", handler::OpenFile),
        Item(cmd::popSave, "&Save Image", handler::Save),
        Item(cmd::popEmail, "Send as &Email", handler::SendMail),
        Item(cmd::popSendToEditor, "Send &To Editor", handler::Editor),
        Separator(),
        Item(cmd::popUndo, "&Undo", handler::Undo),
        Item(cmd::popClear, "Clea&r Capture", handler::Clear),
        Item(cmd::popCopy, "&Copy to Clipboard", handler::Copy),
        Item(cmd::popPaste, "&Paste from Clipboard", handler::Paste),
        Item(cmd::popCrop, "Crop Image", handler::Crop),
        Item(cmd::popGrey, "Convert to &Greys", handler::Grey),
        Separator(),
        Item(cmd::popAutoPrint, "Auto Print", handler::AutoPrint),
        Item(cmd::popAutoSave, "Auto Save", handler::AutoSave),
        Item(cmd::popNotes, "Add Notes to Image", handler::Notes),
        Separator(),
        Item(cmd::popPreview, "Print Previe&w", handler::PrintPreview),
        Item(cmd::popPrint, "&Print Image", handler::Print),
    };
}

ToolButton Button(CommandName name, std::string hint, Handler h, ToolImage image, int width = 25, std::string caption = {}) {
    return ToolButton{name, std::move(hint), h, image, width, std::move(caption)};
}

std::vector<ToolButton> BuildToolBar() {
    return {
        Button(cmd::btnOpenFile, "File open", handler::OpenFile, ToolImage::FileOpen),
        Button(cmd::btnSave, "Save Image", handler::Save, ToolImage::FileSave),
        Button(cmd::btnEmail, "Send Image as Email", handler::SendMail, ToolImage::Replace),
        ToolButton{},
        Button(cmd::btnPrtSetup, "Printer Setup", handler::PrintSetup, ToolImage::Properties),
        Button(cmd::btnPrtPreview, "Print Preview", handler::PrintPreview, ToolImage::PrintPreview),
        Button(cmd::PrintButton, "Print", handler::Print, ToolImage::Print),
        ToolButton{},
        Button(cmd::btnUndo, "Undo", handler::Undo, ToolImage::Undo),
        Button(cmd::btnCopy, "Copy Image to Clipboard", handler::Copy, ToolImage::Copy),
        Button(cmd::btnPaste, "Paste Image from the Clipboard", handler::Paste, ToolImage::Paste),
        Button(cmd::btnClear, "Clear Capture", handler::Clear, ToolImage::Delete),
        Button(cmd::btnCrop, "Crop Current Image", handler::Crop, ToolImage::Cut),
        Button(cmd::btnSelect, "Select an Area", handler::CaptureArea, ToolImage::Find),
        ToolButton{},
        Button(cmd::btnOptions, "Options", handler::Options, ToolImage::None, 68, "Options"),
        ToolButton{},
        Button(cmd::btnHelp, "Help", handler::HelpContents, ToolImage::Help),
        Button(cmd::CancelButton, "Exit", handler::Exit, ToolImage::RedoW),
    };
}

}  // namespace

CommandTable StandardCommandTable() { return CommandTable(BuildMainMenu(), BuildTrayMenu(), BuildImageMenu(), BuildToolBar()); }

}  // namespace vimbrel

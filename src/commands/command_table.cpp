#include "commands/command_table.h"

#include <cstdio>
#include <map>

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
    MenuItem m = Item(name, std::move(caption), Handler::None);
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
            items.push_back(Item(name, caption, Handler::Zoom, {}, k));
        else
            items.push_back(Hidden(name, caption, Handler::None));
    }
    return items;
}

std::vector<MenuItem> ZoomOutItems() {
    std::vector<MenuItem> items;
    for (int k = 1; k <= 10; ++k)
        items.push_back(Item(cmd::ZoomOut(k), Printed("1 : %2d", k), Handler::Zoom, {}, -k));
    return items;
}

std::vector<MenuItem> BuildMainMenu() {
    return {
        Sub(cmd::mnuFile, "&File", {
            Item(cmd::mnuOpenFile, "&Open", Handler::OpenFile, "Ctrl+O"),
            Item(cmd::Save1, "&Save", Handler::Save, "Ctrl+S"),
            Item(cmd::SaveAs1, "Save Image &As...", Handler::SaveAs),
            Item(cmd::SaveAs2, "Save as Shown...", Handler::SaveAsShown),
            Separator(),
            Sub(cmd::mnuEncryption, "&Encryption...", {
                Item(cmd::mnuSaveEncrypted, "&Save Image Encrypted", Handler::SaveEncrypted),
                Item(cmd::EncryptaFile1, "&Encrypt a File with VRL", Handler::EncryptFile),
                Item(cmd::OpenanEncryptedFile1, "&Open a VRL Encrypted File", Handler::OpenEncrypted),
            }),
            Item(cmd::mnuSendMail, "Send as Email", Handler::SendMail, "Ctrl+E"),
            Separator(),
            Item(cmd::PrintSetup1, "Print S&etup", Handler::PrintSetup),
            Item(cmd::PrintPreview1, "Print P&review", Handler::PrintPreview),
            Item(cmd::Print1, "&Print", Handler::Print, "Ctrl+P"),
            Separator(),
            Item(cmd::Exit1, "E&xit", Handler::Exit),
        }),
        Sub(cmd::mnuEdit, "&Edit", {
            Item(cmd::mnuUndo, "&Undo", Handler::Undo, "Ctrl+Z"),
            Separator(),
            Item(cmd::mnuCopy, "&Copy to Clipboard", Handler::Copy),
            Item(cmd::mnuPaste, "&Paste from Clipboard", Handler::Paste),
            Separator(),
            Item(cmd::Clear1, "Clea&r Capture", Handler::Clear),
        }),
        Sub(cmd::mnuOptionsMenu, "&Options", {
            Item(cmd::mnuOptions, "Option S&ettings", Handler::Options),
            Hidden(cmd::mnuSetScreen, "Capture &Screen", Handler::SetScreen),
            Hidden(cmd::mnuSetArea, "Capture &Area", Handler::SetArea),
        }),
        Sub(cmd::mnuImage, "&Image", {
            Sub(cmd::mnuZoomIn, "Zoom &In", ZoomInItems()),
            Sub(cmd::mnuZoomOut, "Zoom &Out", ZoomOutItems()),
            Separator(),
            Item(cmd::mOptGrey, "Convert to &Greys", Handler::Grey),
            Hidden(cmd::mnuNegative, "&Negative", Handler::None),
            Sub(cmd::mnuAddCursor, "&Add a cursor", {
                Item(cmd::curAdd1, "Cursor &1", Handler::AddCursor, {}, 1),
                Item(cmd::curAdd2, "Cursor &2", Handler::AddCursor, {}, 2),
                Item(cmd::crAdd3, "Cursor &3", Handler::AddCursor, {}, 3),
                Item(cmd::crAdd4, "Cursor &4", Handler::AddCursor, {}, 4),
            }),
            Separator(),
            Item(cmd::mnuEditor, "&Editor", Handler::Editor),
        }),
        Sub(cmd::mnuHelp, "&Help", {
            Item(cmd::mnuHelpContent, "&Help Contents", Handler::HelpContents, "F1"),
            Item(cmd::mnuHelpCapture, "&Capturing Images", Handler::HelpContext, {}, 100),
            Item(cmd::mnuHelpPrint, "&Printing Images", Handler::HelpContext, {}, 200),
            Item(cmd::mnuHelpSave, "&Saving Images", Handler::HelpContext, {}, 300),
            Item(cmd::mnuHelpContact, "How to Contact &us", Handler::HelpContext, {}, 500),
            Separator(),
            Item(cmd::mnuWebLink, "Vimbrel on the &Web", Handler::WebLink),
            Item(cmd::mnuWebLink2, "Visit our &Web Site", Handler::WebLink2),
            Separator(),
            Item(cmd::About1, "&About", Handler::About),
        }),
    };
}

std::vector<MenuItem> BuildTrayMenu() {
    return {
        Item(cmd::mnuRestore, "&Restore", Handler::Restore),
        Separator(),
        Item(cmd::mnuAutoPrint, "Auto &Print", Handler::AutoPrint),
        Item(cmd::mnuAutoSave, "Auto Sa&ve", Handler::AutoSave),
        Item(cmd::mnuNotes, "Add &Notes to Image", Handler::Notes),
        Separator(),
        Item(cmd::mnuCapScreenNow, "Capture &Screen Now", Handler::CaptureScreenNow),
        Item(cmd::mnuCapActiveNow, "Capture &Active Now", Handler::CaptureActiveNow),
        Item(cmd::mnuCaptureAreaNow, "Capture A&rea Now", Handler::CaptureArea),
        Separator(),
        Item(cmd::mnuHelp1, "Vimbrel &Help", Handler::HelpContents),
        Item(cmd::mnuVisit1, "Visit our &Web Site", Handler::WebLink2),
        Separator(),
        Item(cmd::mnuClose, "&Close", Handler::Exit),
    };
}

std::vector<MenuItem> BuildImageMenu() {
    return {
        Item(cmd::Openfile1, "&Open File", Handler::OpenFile),
        Item(cmd::popSave, "&Save Image", Handler::Save),
        Item(cmd::popEmail, "Send as &Email", Handler::SendMail),
        Item(cmd::popSendToEditor, "Send &To Editor", Handler::Editor),
        Separator(),
        Item(cmd::popUndo, "&Undo", Handler::Undo),
        Item(cmd::popClear, "Clea&r Capture", Handler::Clear),
        Item(cmd::popCopy, "&Copy to Clipboard", Handler::Copy),
        Item(cmd::popPaste, "&Paste from Clipboard", Handler::Paste),
        Item(cmd::popCrop, "Crop Image", Handler::Crop),
        Item(cmd::popGrey, "Convert to &Greys", Handler::Grey),
        Separator(),
        Item(cmd::popAutoPrint, "Auto Print", Handler::AutoPrint),
        Item(cmd::popAutoSave, "Auto Save", Handler::AutoSave),
        Item(cmd::popNotes, "Add Notes to Image", Handler::Notes),
        Separator(),
        Item(cmd::popPreview, "Print Previe&w", Handler::PrintPreview),
        Item(cmd::popPrint, "&Print Image", Handler::Print),
    };
}

ToolButton Button(CommandName name, std::string hint, Handler h, int width = 25, std::string caption = {}) {
    return ToolButton{name, std::move(hint), h, width, std::move(caption)};
}

std::vector<ToolButton> BuildToolBar() {
    return {
        Button(cmd::btnOpenFile, "File open", Handler::OpenFile),
        Button(cmd::btnSave, "Save Image", Handler::Save),
        Button(cmd::btnEmail, "Send Image as Email", Handler::SendMail),
        ToolButton{},
        Button(cmd::btnPrtSetup, "Printer Setup", Handler::PrintSetup),
        Button(cmd::btnPrtPreview, "Print Preview", Handler::PrintPreview),
        Button(cmd::PrintButton, "Print", Handler::Print),
        ToolButton{},
        Button(cmd::btnUndo, "Undo", Handler::Undo),
        Button(cmd::btnCopy, "Copy Image to Clipboard", Handler::Copy),
        Button(cmd::btnPaste, "Paste Image from the Clipboard", Handler::Paste),
        Button(cmd::btnClear, "Clear Capture", Handler::Clear),
        Button(cmd::btnCrop, "Crop Current Image", Handler::Crop),
        Button(cmd::btnSelect, "Select an Area", Handler::CaptureArea),
        ToolButton{},
        Button(cmd::btnOptions, "Options", Handler::Options, 68, "Options"),
        ToolButton{},
        Button(cmd::btnHelp, "Help", Handler::HelpContents),
        Button(cmd::CancelButton, "Exit", Handler::Exit),
    };
}

struct Registry {
    std::map<CommandName, int> ids;
    std::map<int, CommandRef> refs;
    std::vector<CommandName> names;

    void Add(CommandName name, Handler h, int arg) {
        if (name.Empty() || ids.count(name)) return;
        int id = 1000 + int(names.size());
        ids.emplace(name, id);
        refs.emplace(id, CommandRef{name, h, arg});
        names.push_back(name);
    }
    void AddMenu(const std::vector<MenuItem>& items) {
        for (const MenuItem& m : items) {
            Add(m.name, m.handler, m.argument);
            AddMenu(m.children);
        }
    }
};

const Registry& TheRegistry() {
    static const Registry r = [] {
        Registry reg;
        reg.AddMenu(MainMenu());
        reg.AddMenu(TrayMenu());
        reg.AddMenu(ImageMenu());
        for (const ToolButton& b : ToolBar()) reg.Add(b.name, b.handler, 0);
        return reg;
    }();
    return r;
}

}  // namespace

const std::vector<MenuItem>& MainMenu() { static const auto m = BuildMainMenu(); return m; }
const std::vector<MenuItem>& TrayMenu() { static const auto m = BuildTrayMenu(); return m; }
const std::vector<MenuItem>& ImageMenu() { static const auto m = BuildImageMenu(); return m; }
const std::vector<ToolButton>& ToolBar() { static const auto t = BuildToolBar(); return t; }

int CommandId(CommandName name) {
    const auto& ids = TheRegistry().ids;
    auto it = ids.find(name);
    return it == ids.end() ? 0 : it->second;
}

std::optional<CommandRef> CommandById(int id) {
    const auto& refs = TheRegistry().refs;
    auto it = refs.find(id);
    if (it == refs.end()) return std::nullopt;
    return it->second;
}

std::vector<CommandName> AllCommandNames() { return TheRegistry().names; }

std::optional<Shortcut> ParseShortcut(std::string_view text) {
    Shortcut s;
    if (text.substr(0, 5) == "Ctrl+") {
        s.ctrl = true;
        text.remove_prefix(5);
    }
    if (text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= '0' && text[0] <= '9'))) {
        s.key = text[0];
        return s;
    }
    if (text.size() >= 2 && text[0] == 'F') {
        int n = 0;
        for (char c : text.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 24) {
            s.key = 0x70 + n - 1;  // VK_F1 onwards
            return s;
        }
    }
    return std::nullopt;
}

}  // namespace vimbrel

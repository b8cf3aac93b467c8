#include "commands/command_table.h"

#include <cstdio>
#include <map>

namespace vimbrel {
namespace {

MenuItem Item(std::string name, std::string caption, Handler h, std::string shortcut = {}, int arg = 0) {
    return MenuItem{std::move(name), std::move(caption), std::move(shortcut), h, arg, false, {}};
}
MenuItem Hidden(std::string name, std::string caption, Handler h, int arg = 0) {
    MenuItem m = Item(std::move(name), std::move(caption), h, {}, arg);
    m.hidden = true;
    return m;
}
MenuItem Sub(std::string name, std::string caption, std::vector<MenuItem> children) {
    MenuItem m = Item(std::move(name), std::move(caption), Handler::None);
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
        std::string name = Printed("zmi%02d", k);
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
        items.push_back(Item(Printed("zmo%02d", k), Printed("1 : %2d", k), Handler::Zoom, {}, -k));
    return items;
}

std::vector<MenuItem> BuildMainMenu() {
    return {
        Sub("mnuFile", "&File", {
            Item("mnuOpenFile", "&Open", Handler::OpenFile, "Ctrl+O"),
            Item("Save1", "&Save", Handler::Save, "Ctrl+S"),
            Item("SaveAs1", "Save Image &As...", Handler::SaveAs),
            Item("SaveAs2", "Save as Shown...", Handler::SaveAsShown),
            Separator(),
            Sub("mnuEncryption", "&Encryption...", {
                Item("mnuSaveEncrypted", "&Save Image Encrypted", Handler::SaveEncrypted),
                Item("EncryptaFile1", "&Encrypt a File with VRL", Handler::EncryptFile),
                Item("OpenanEncryptedFile1", "&Open a VRL Encrypted File", Handler::OpenEncrypted),
            }),
            Item("mnuSendMail", "Send as Email", Handler::SendMail, "Ctrl+E"),
            Separator(),
            Item("PrintSetup1", "Print S&etup", Handler::PrintSetup),
            Item("PrintPreview1", "Print P&review", Handler::PrintPreview),
            Item("Print1", "&Print", Handler::Print, "Ctrl+P"),
            Separator(),
            Item("Exit1", "E&xit", Handler::Exit),
        }),
        Sub("mnuEdit", "&Edit", {
            Item("mnuUndo", "&Undo", Handler::Undo, "Ctrl+Z"),
            Separator(),
            Item("mnuCopy", "&Copy to Clipboard", Handler::Copy),
            Item("mnuPaste", "&Paste from Clipboard", Handler::Paste),
            Separator(),
            Item("Clear1", "Clea&r Capture", Handler::Clear),
        }),
        Sub("mnuOptionsMenu", "&Options", {
            Item("mnuOptions", "Option S&ettings", Handler::Options),
            Hidden("mnuSetScreen", "Capture &Screen", Handler::SetScreen),
            Hidden("mnuSetArea", "Capture &Area", Handler::SetArea),
        }),
        Sub("mnuImage", "&Image", {
            Sub("mnuZoomIn", "Zoom &In", ZoomInItems()),
            Sub("mnuZoomOut", "Zoom &Out", ZoomOutItems()),
            Separator(),
            Item("mOptGrey", "Convert to &Greys", Handler::Grey),
            Hidden("mnuNegative", "&Negative", Handler::None),
            Sub("mnuAddCursor", "&Add a cursor", {
                Item("curAdd1", "Cursor &1", Handler::AddCursor, {}, 1),
                Item("curAdd2", "Cursor &2", Handler::AddCursor, {}, 2),
                Item("crAdd3", "Cursor &3", Handler::AddCursor, {}, 3),
                Item("crAdd4", "Cursor &4", Handler::AddCursor, {}, 4),
            }),
            Separator(),
            Item("mnuEditor", "&Editor", Handler::Editor),
        }),
        Sub("mnuHelp", "&Help", {
            Item("mnuHelpContent", "&Help Contents", Handler::HelpContents, "F1"),
            Item("mnuHelpCapture", "&Capturing Images", Handler::HelpContext, {}, 100),
            Item("mnuHelpPrint", "&Printing Images", Handler::HelpContext, {}, 200),
            Item("mnuHelpSave", "&Saving Images", Handler::HelpContext, {}, 300),
            Item("mnuHelpContact", "How to Contact &us", Handler::HelpContext, {}, 500),
            Separator(),
            Item("mnuWebLink", "Vimbrel on the &Web", Handler::WebLink),
            Item("mnuWebLink2", "Visit our &Web Site", Handler::WebLink2),
            Separator(),
            Item("About1", "&About", Handler::About),
        }),
    };
}

std::vector<MenuItem> BuildTrayMenu() {
    return {
        Item("mnuRestore", "&Restore", Handler::Restore),
        Separator(),
        Item("mnuAutoPrint", "Auto &Print", Handler::AutoPrint),
        Item("mnuAutoSave", "Auto Sa&ve", Handler::AutoSave),
        Item("mnuNotes", "Add &Notes to Image", Handler::Notes),
        Separator(),
        Item("mnuCapScreenNow", "Capture &Screen Now", Handler::CaptureScreenNow),
        Item("mnuCapActiveNow", "Capture &Active Now", Handler::CaptureActiveNow),
        Item("mnuCaptureAreaNow", "Capture A&rea Now", Handler::CaptureArea),
        Separator(),
        Item("mnuHelp1", "Vimbrel &Help", Handler::HelpContents),
        Item("mnuVisit1", "Visit our &Web Site", Handler::WebLink2),
        Separator(),
        Item("mnuClose", "&Close", Handler::Exit),
    };
}

std::vector<MenuItem> BuildImageMenu() {
    return {
        Item("Openfile1", "&Open File", Handler::OpenFile),
        Item("popSave", "&Save Image", Handler::Save),
        Item("popEmail", "Send as &Email", Handler::SendMail),
        Item("popSendToEditor", "Send &To Editor", Handler::Editor),
        Separator(),
        Item("popUndo", "&Undo", Handler::Undo),
        Item("popClear", "Clea&r Capture", Handler::Clear),
        Item("popCopy", "&Copy to Clipboard", Handler::Copy),
        Item("popPaste", "&Paste from Clipboard", Handler::Paste),
        Item("popCrop", "Crop Image", Handler::Crop),
        Item("popGrey", "Convert to &Greys", Handler::Grey),
        Separator(),
        Item("popAutoPrint", "Auto Print", Handler::AutoPrint),
        Item("popAutoSave", "Auto Save", Handler::AutoSave),
        Item("popNotes", "Add Notes to Image", Handler::Notes),
        Separator(),
        Item("popPreview", "Print Previe&w", Handler::PrintPreview),
        Item("popPrint", "&Print Image", Handler::Print),
    };
}

ToolButton Button(std::string name, std::string hint, Handler h, int width = 25, std::string caption = {}) {
    return ToolButton{std::move(name), std::move(hint), h, width, std::move(caption)};
}

std::vector<ToolButton> BuildToolBar() {
    return {
        Button("btnOpenFile", "File open", Handler::OpenFile),
        Button("btnSave", "Save Image", Handler::Save),
        Button("btnEmail", "Send Image as Email", Handler::SendMail),
        ToolButton{},
        Button("btnPrtSetup", "Printer Setup", Handler::PrintSetup),
        Button("btnPrtPreview", "Print Preview", Handler::PrintPreview),
        Button("PrintButton", "Print", Handler::Print),
        ToolButton{},
        Button("btnUndo", "Undo", Handler::Undo),
        Button("btnCopy", "Copy Image to Clipboard", Handler::Copy),
        Button("btnPaste", "Paste Image from the Clipboard", Handler::Paste),
        Button("btnClear", "Clear Capture", Handler::Clear),
        Button("btnCrop", "Crop Current Image", Handler::Crop),
        Button("btnSelect", "Select an Area", Handler::CaptureArea),
        ToolButton{},
        Button("btnOptions", "Options", Handler::Options, 68, "Options"),
        ToolButton{},
        Button("btnHelp", "Help", Handler::HelpContents),
        Button("CancelButton", "Exit", Handler::Exit),
    };
}

struct Registry {
    std::map<std::string, int, std::less<>> ids;
    std::map<int, CommandRef> refs;
    std::vector<std::string> names;

    void Add(const std::string& name, Handler h, int arg) {
        if (name.empty() || ids.count(name)) return;
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

int CommandId(std::string_view name) {
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

std::vector<std::string> AllCommandNames() { return TheRegistry().names; }

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

// The main window's controls as the command table defines them, the hand-over decision of a
// second start, and the indicator and key rules.
#include <gtest/gtest.h>

#include <set>

#include "commands/command_table.h"
#include "app/hand_over.h"
#include "app/main_form_rules.h"

namespace vimbrel {
namespace {

const MenuItem* FindItem(const std::vector<MenuItem>& items, const std::string& name) {
    for (const MenuItem& m : items) {
        if (m.name == name) return &m;
        if (const MenuItem* found = FindItem(m.children, name)) return found;
    }
    return nullptr;
}

std::vector<std::string> Names(const std::vector<MenuItem>& items) {
    std::vector<std::string> names;
    for (const MenuItem& m : items) names.push_back(m.IsSeparator() ? "-" : m.name);
    return names;
}

TEST(CommandTable, MainMenuItemsCarryTheirCaptionsAndShortcuts) {
    struct Case {
        const char* name;
        const char* caption;
        const char* shortcut;
    } cases[] = {
        {"mnuOpenFile", "&Open", "Ctrl+O"},
        {"Save1", "&Save", "Ctrl+S"},
        {"SaveAs1", "Save Image &As...", ""},
        {"SaveAs2", "Save as Shown...", ""},
        {"mnuSaveEncrypted", "&Save Image Encrypted", ""},
        {"EncryptaFile1", "&Encrypt a File with VRL", ""},
        {"OpenanEncryptedFile1", "&Open a VRL Encrypted File", ""},
        {"mnuSendMail", "Send as Email", "Ctrl+E"},
        {"PrintSetup1", "Print S&etup", ""},
        {"PrintPreview1", "Print P&review", ""},
        {"Print1", "&Print", "Ctrl+P"},
        {"Exit1", "E&xit", ""},
        {"mnuUndo", "&Undo", "Ctrl+Z"},
        {"Clear1", "Clea&r Capture", ""},
        {"mnuCopy", "&Copy to Clipboard", ""},
        {"mnuPaste", "&Paste from Clipboard", ""},
        {"mOptGrey", "Convert to &Greys", ""},
        {"mnuEditor", "&Editor", ""},
        {"mnuOptions", "Option S&ettings", ""},
        {"mnuZoomIn", "Zoom &In", ""},
        {"zmi01", "  1 : 1", ""},
        {"zmi10", "10 : 1", ""},
        {"mnuZoomOut", "Zoom &Out", ""},
        {"zmo01", "1 :  1", ""},
        {"zmo10", "1 : 10", ""},
        {"mnuAddCursor", "&Add a cursor", ""},
        {"mnuHelpContent", "&Help Contents", "F1"},
        {"mnuHelpContact", "How to Contact &us", ""},
        {"mnuWebLink2", "Visit our &Web Site", ""},
        {"About1", "&About", ""},
    };
    for (const Case& c : cases) {
        const MenuItem* item = FindItem(MainMenu(), c.name);
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->caption, c.caption) << c.name;
        EXPECT_EQ(item->shortcut, c.shortcut) << c.name;
    }
    std::vector<std::string> bar;
    for (const MenuItem& m : MainMenu()) bar.push_back(m.caption);
    EXPECT_EQ(bar, (std::vector<std::string>{"&File", "&Edit", "&Options", "&Image", "&Help"}));
}

TEST(CommandTable, HiddenItemsExistButAreNotShown) {
    for (const char* name : {"mnuNegative", "mnuSetScreen", "mnuSetArea", "zmi11", "zmi16"}) {
        const MenuItem* item = FindItem(MainMenu(), name);
        ASSERT_NE(item, nullptr) << name;
        EXPECT_TRUE(item->hidden) << name;
    }
    EXPECT_EQ(FindItem(MainMenu(), "zmi16")->caption, "16 : 1");
    EXPECT_EQ(FindItem(MainMenu(), "zmi16")->handler, Handler::None) << "zoom stops at 10:1";
}

TEST(CommandTable, TrayAndImageMenusStandInTheirOrder) {
    EXPECT_EQ(Names(TrayMenu()),
              (std::vector<std::string>{"mnuRestore", "-", "mnuAutoPrint", "mnuAutoSave", "mnuNotes", "-",
                                        "mnuCapScreenNow", "mnuCapActiveNow", "mnuCaptureAreaNow", "-", "mnuHelp1",
                                        "mnuVisit1", "-", "mnuClose"}));
    EXPECT_EQ(Names(ImageMenu()),
              (std::vector<std::string>{"Openfile1", "popSave", "popEmail", "popSendToEditor", "-", "popUndo",
                                        "popClear", "popCopy", "popPaste", "popCrop", "popGrey", "-",
                                        "popAutoPrint", "popAutoSave", "popNotes", "-", "popPreview", "popPrint"}));
    EXPECT_EQ(FindItem(TrayMenu(), "mnuNotes")->caption, "Add &Notes to Image");
    EXPECT_EQ(FindItem(ImageMenu(), "popNotes")->caption, "Add Notes to Image");
    EXPECT_EQ(FindItem(TrayMenu(), "mnuClose")->handler, Handler::Exit);
}

TEST(CommandTable, ToolBarButtonsWithSeparatorsAfterEmailPrintSelectAndOptions) {
    std::vector<std::string> names;
    for (const ToolButton& b : ToolBar()) names.push_back(b.name.empty() ? "-" : b.name);
    EXPECT_EQ(names, (std::vector<std::string>{"btnOpenFile", "btnSave", "btnEmail", "-", "btnPrtSetup",
                                               "btnPrtPreview", "PrintButton", "-", "btnUndo", "btnCopy", "btnPaste",
                                               "btnClear", "btnCrop", "btnSelect", "-", "btnOptions", "-", "btnHelp",
                                               "CancelButton"}));
    for (const ToolButton& b : ToolBar()) {
        if (b.name == "btnOptions") {
            EXPECT_EQ(b.width, 68);
        }
    }
}

TEST(CommandTable, EveryControlHasItsOwnIdThatLeadsBackToIt) {
    std::set<int> ids;
    for (const std::string& name : AllCommandNames()) {
        int id = CommandId(name);
        EXPECT_TRUE(ids.insert(id).second) << name;
        auto ref = CommandById(id);
        ASSERT_TRUE(ref.has_value()) << name;
        EXPECT_EQ(ref->name, name);
    }
    EXPECT_EQ(CommandId("noSuchControl"), 0);
    EXPECT_EQ(CommandById(CommandId("zmo04"))->argument, -4);
    EXPECT_EQ(CommandById(CommandId("mnuHelpSave"))->argument, 300);
}

TEST(CommandTable, ShortcutTexts) {
    auto ctrlO = ParseShortcut("Ctrl+O");
    ASSERT_TRUE(ctrlO);
    EXPECT_TRUE(ctrlO->ctrl);
    EXPECT_EQ(ctrlO->key, 'O');
    auto f1 = ParseShortcut("F1");
    ASSERT_TRUE(f1);
    EXPECT_FALSE(f1->ctrl);
    EXPECT_EQ(f1->key, 0x70);
    EXPECT_FALSE(ParseShortcut(""));
    EXPECT_FALSE(ParseShortcut("Ctrl+"));
    EXPECT_FALSE(ParseShortcut("F0"));
    EXPECT_FALSE(ParseShortcut("Fx"));
}

TEST(HandOver, TheArgumentDecidesTheMessage) {
    EXPECT_EQ(DecideHandOver("\\F", false), HandOverMessage::CaptureFullScreen);
    EXPECT_EQ(DecideHandOver("\\A", false), HandOverMessage::CaptureActiveWindow);
    EXPECT_EQ(DecideHandOver("\\a", false), HandOverMessage::Restore) << "the comparison is exact";
    EXPECT_EQ(DecideHandOver("\\f", false), HandOverMessage::Restore);
    EXPECT_EQ(DecideHandOver("C:\\pic.bmp", true), HandOverMessage::OpenHandOverFile);
    EXPECT_EQ(DecideHandOver("C:\\gone.bmp", false), HandOverMessage::Restore);
    EXPECT_EQ(DecideHandOver("", false), HandOverMessage::Restore);
    EXPECT_EQ(static_cast<unsigned>(HandOverMessage::Restore), 0x0404u);
}

TEST(MainFormRules, IndicatorsAndTrayHint) {
    const std::string title = AppTitleFor("  Vimbrel");
    EXPECT_EQ(title, "  Vimbrel   ");
    OptionIndicators none = IndicatorsFor(title, false, false, false);
    EXPECT_EQ(none.panel1, "");
    EXPECT_EQ(none.trayHint, "  Vimbrel   ");
    OptionIndicators all = IndicatorsFor(title, true, true, true);
    EXPECT_EQ(all.panel1, "Auto Print");
    EXPECT_EQ(all.panel2, "Auto Save");
    EXPECT_EQ(all.panel3, "Print Notes");
    EXPECT_EQ(all.trayHint, "  Vimbrel   Auto Print On  Auto Save On");
    EXPECT_EQ(IndicatorsFor(title, false, true, false).trayHint, "  Vimbrel     Auto Save On");
}

TEST(MainFormRules, FirstStatusPanelTakesWhatTheOthersLeave) {
    EXPECT_EQ(StatusPanel0Width(531), 531 - 205);
    EXPECT_EQ(StatusPanel0Width(797, 144), 797 - (98 + 98 + 113)) << "65, 65 and 75 at 1.5 times, rounded";
}

TEST(MainFormRules, TheWindowGrowsWithTheScreensDensity) {
    const MainFormMetrics design = MainFormMetricsAt(96);
    EXPECT_EQ(design.client.width, 531);
    EXPECT_EQ(design.client.height, 271);
    EXPECT_EQ(design.toolBarHeight, 34);
    EXPECT_EQ(design.buttonSize, 25);
    EXPECT_EQ(design.buttonImageSize, 16);
    EXPECT_EQ(design.statusFontHeight, 11);

    const MainFormMetrics large = MainFormMetricsAt(144);
    EXPECT_EQ(large.client.width, 797) << "796.5 rounds up";
    EXPECT_EQ(large.client.height, 407);
    EXPECT_EQ(large.toolBarHeight, 51);
    EXPECT_EQ(large.buttonSize, 38);
    EXPECT_EQ(large.buttonImageSize, 24);
    EXPECT_EQ(large.statusPanelWidths[3], 113);
    EXPECT_EQ(large.cursorItem.height, 27);

    EXPECT_EQ(MainFormMetricsAt(120).buttonImageSize, 16) << "20 pixels is too few for the larger pictures";
    EXPECT_EQ(MainFormMetricsAt(192).buttonSize, 50);
}

TEST(MainFormRules, ScalingRoundsToTheNearestPixel) {
    EXPECT_EQ(ScaleToDpi(11, 96), 11);
    EXPECT_EQ(ScaleToDpi(11, 120), 14) << "13.75";
    EXPECT_EQ(ScaleToDpi(5, 144), 8) << "7.5 rounds away from zero";
    EXPECT_EQ(ScaleToDpi(-11, 144), -17) << "-16.5 likewise";
}

TEST(MainFormRules, KeysSeenBeforeTheControls) {
    CommandStates commands;
    commands.SetEnabled("Print1", false);
    commands.SetEnabled("SaveAs1", false);
    EXPECT_EQ(ClassifyFormKey(0x21, true, commands), Handler::PreviousNumberedFile);
    EXPECT_EQ(ClassifyFormKey(0x22, true, commands), Handler::NextNumberedFile);
    EXPECT_EQ(ClassifyFormKey(0x22, false, commands), Handler::None);
    EXPECT_EQ(ClassifyFormKey('N', true, commands), Handler::None) << "printing needs Print1";
    EXPECT_EQ(ClassifyFormKey(0x71, true, commands), Handler::None) << "a numbered save needs a picture";
    commands.SetEnabled("Print1", true);
    commands.SetEnabled("SaveAs1", true);
    EXPECT_EQ(ClassifyFormKey('N', true, commands), Handler::PrintWithNotes);
    EXPECT_EQ(ClassifyFormKey(0x71, true, commands), Handler::NumberedSave);
    EXPECT_EQ(ClassifyFormKey(0x70, false, commands), Handler::HelpContents);
    EXPECT_EQ(ClassifyFormKey(0x70, true, commands), Handler::None);
}

TEST(MainFormRules, HelpPagesByContext) {
    EXPECT_EQ(HelpPageFor(0), "Vimbrel.htm");
    EXPECT_EQ(HelpPageFor(100), "Vimbrel-capture.htm");
    EXPECT_EQ(HelpPageFor(200), "Vimbrel-print.htm");
    EXPECT_EQ(HelpPageFor(300), "Vimbrel-save.htm");
    EXPECT_EQ(HelpPageFor(500), "Vimbrel-contact.htm");
    EXPECT_EQ(HelpPageFor(999), "Vimbrel.htm");
}

}  // namespace
}  // namespace vimbrel

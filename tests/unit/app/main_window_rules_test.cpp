// The main window's controls as the command table defines them, the hand-over decision of a
// second start, and the indicator and key rules.
#include <gtest/gtest.h>

#include <set>

#include "app/main_commands.h"
#include "capture/delayed_capture_commands.h"
#include "app/hand_over.h"
#include "app/main_form_rules.h"

namespace vimbrel {
namespace {

const MenuItem* FindItem(const std::vector<MenuItem>& items, CommandName name) {
    for (const MenuItem& m : items) {
        if (m.name == name) return &m;
        if (const MenuItem* found = FindItem(m.children, name)) return found;
    }
    return nullptr;
}

constexpr CommandName kLine{};  // a separator

const CommandTable& Table() { return MainCommandTable(); }
const std::vector<MenuItem>& MainMenu() { return Table().MenuItems(Menu::Main); }
const std::vector<MenuItem>& TrayMenu() { return Table().MenuItems(Menu::Tray); }
const std::vector<MenuItem>& ImageMenu() { return Table().MenuItems(Menu::Image); }
const std::vector<ToolButton>& ToolBar() { return Table().ToolBar(); }

std::vector<CommandName> Names(const std::vector<MenuItem>& items) {
    std::vector<CommandName> names;
    for (const MenuItem& m : items) names.push_back(m.name);
    return names;
}

TEST(CommandTable, MainMenuItemsCarryTheirCaptionsAndShortcuts) {
    struct Case {
        CommandName name;
        const char* caption;
        const char* shortcut;
    } cases[] = {
        {cmd::mnuOpenFile, "&Open", "Ctrl+O"},
        {cmd::Save1, "&Save", "Ctrl+S"},
        {cmd::SaveAs1, "Save Image &As...", ""},
        {cmd::SaveAs2, "Save as Shown...", ""},
        {cmd::mnuSaveEncrypted, "&Save Image Encrypted", ""},
        {cmd::EncryptaFile1, "&Encrypt a File with VRL", ""},
        {cmd::OpenanEncryptedFile1, "&Open a VRL Encrypted File", ""},
        {cmd::mnuSendMail, "Send as Email", "Ctrl+E"},
        {cmd::PrintSetup1, "Print S&etup", ""},
        {cmd::PrintPreview1, "Print P&review", ""},
        {cmd::Print1, "&Print", "Ctrl+P"},
        {cmd::Exit1, "E&xit", ""},
        {cmd::mnuUndo, "&Undo", "Ctrl+Z"},
        {cmd::Clear1, "Clea&r Capture", ""},
        {cmd::mnuCopy, "&Copy to Clipboard", ""},
        {cmd::mnuPaste, "&Paste from Clipboard", ""},
        {cmd::mOptGrey, "Convert to &Greys", ""},
        {cmd::mnuEditor, "&Editor", ""},
        {cmd::mnuOptions, "Option S&ettings", ""},
        {cmd::mnuZoomIn, "Zoom &In", ""},
        {cmd::zmi01, "  1 : 1", ""},
        {cmd::zmi10, "10 : 1", ""},
        {cmd::mnuZoomOut, "Zoom &Out", ""},
        {cmd::zmo01, "1 :  1", ""},
        {cmd::zmo10, "1 : 10", ""},
        {cmd::mnuAddCursor, "&Add a cursor", ""},
        {cmd::mnuHelpContent, "&Help Contents", "F1"},
        {cmd::mnuHelpContact, "How to Contact &us", ""},
        {cmd::mnuWebLink2, "Visit our &Web Site", ""},
        {cmd::About1, "&About", ""},
    };
    for (const Case& c : cases) {
        const MenuItem* item = FindItem(MainMenu(), c.name);
        ASSERT_NE(item, nullptr) << c.name.Text();
        EXPECT_EQ(item->caption, c.caption) << c.name.Text();
        EXPECT_EQ(item->shortcut, c.shortcut) << c.name.Text();
    }
    std::vector<std::string> bar;
    for (const MenuItem& m : MainMenu()) bar.push_back(m.caption);
    // The markup adds its menu after the picture's own.
    EXPECT_EQ(bar, (std::vector<std::string>{"&File", "&Edit", "&Options", "&Image", "&Markup", "&Help"}));
}

TEST(CommandTable, HiddenItemsExistButAreNotShown) {
    for (CommandName name : {cmd::mnuNegative, cmd::mnuSetScreen, cmd::mnuSetArea, cmd::zmi11, cmd::zmi16}) {
        const MenuItem* item = FindItem(MainMenu(), name);
        ASSERT_NE(item, nullptr) << name.Text();
        EXPECT_TRUE(item->hidden) << name.Text();
    }
    EXPECT_EQ(FindItem(MainMenu(), cmd::zmi16)->caption, "16 : 1");
    EXPECT_EQ(FindItem(MainMenu(), cmd::zmi16)->handler, handler::None) << "zoom stops at 10:1";
}

TEST(CommandTable, TrayAndImageMenusStandInTheirOrder) {
    EXPECT_EQ(Names(TrayMenu()),
              (std::vector<CommandName>{cmd::mnuRestore, kLine, cmd::mnuAutoPrint, cmd::mnuAutoSave, cmd::mnuNotes, kLine,
                                        cmd::mnuCapScreenNow, cmd::mnuCapActiveNow, cmd::mnuCaptureAreaNow,
                                        cmd::trayDelayedCapture, kLine, cmd::mnuHelp1,
                                        cmd::mnuVisit1, kLine, cmd::mnuClose}));
    EXPECT_EQ(Names(ImageMenu()),
              (std::vector<CommandName>{cmd::Openfile1, cmd::popSave, cmd::popEmail, cmd::popSendToEditor, kLine, cmd::popUndo,
                                        cmd::popClear, cmd::popCopy, cmd::popPaste, cmd::popCrop, cmd::popGrey, kLine,
                                        cmd::popAutoPrint, cmd::popAutoSave, cmd::popNotes, kLine, cmd::popPreview, cmd::popPrint}));
    EXPECT_EQ(FindItem(TrayMenu(), cmd::mnuNotes)->caption, "Add &Notes to Image");
    EXPECT_EQ(FindItem(ImageMenu(), cmd::popNotes)->caption, "Add Notes to Image");
    EXPECT_EQ(FindItem(TrayMenu(), cmd::mnuClose)->handler, handler::Exit);
    EXPECT_EQ(Names(FindItem(MainMenu(), cmd::mnuOptionsMenu)->children),
              (std::vector<CommandName>{cmd::mnuOptions, kLine, cmd::mnuDelayedCapture, cmd::mnuSetScreen, cmd::mnuSetArea}));
    EXPECT_EQ(Names(FindItem(TrayMenu(), cmd::trayDelayedCapture)->children),
              (std::vector<CommandName>{cmd::trayDelayScreen, cmd::trayDelayActive, cmd::trayDelayArea, kLine, cmd::trayDelay3,
                                        cmd::trayDelay5, cmd::trayDelay10}));
}

TEST(CommandTable, ToolBarButtonsWithSeparatorsAfterEmailPrintSelectAndOptions) {
    std::vector<CommandName> names;
    for (const ToolButton& b : ToolBar()) names.push_back(b.name);
    EXPECT_EQ(names, (std::vector<CommandName>{cmd::btnOpenFile, cmd::btnSave, cmd::btnEmail, kLine, cmd::btnPrtSetup,
                                               cmd::btnPrtPreview, cmd::PrintButton, kLine, cmd::btnUndo, cmd::btnCopy, cmd::btnPaste,
                                               cmd::btnClear, cmd::btnCrop, cmd::btnSelect, kLine, cmd::btnOptions, kLine, cmd::btnHelp,
                                               cmd::CancelButton}));
    for (const ToolButton& b : ToolBar()) {
        if (b.name == cmd::btnOptions) {
            EXPECT_EQ(b.width, 68);
        }
    }
}

TEST(CommandTable, EveryControlHasItsOwnIdThatLeadsBackToIt) {
    std::set<int> ids;
    for (CommandName name : Table().Names()) {
        int id = Table().Id(name);
        EXPECT_TRUE(ids.insert(id).second) << name.Text();
        auto ref = Table().ById(id);
        ASSERT_TRUE(ref.has_value()) << name.Text();
        EXPECT_EQ(ref->name, name);
    }
    EXPECT_EQ(Table().Id(CommandName{}), 0) << "a separator is no command";
    EXPECT_EQ(Table().ById(Table().Id(cmd::zmo04))->argument, -4);
    EXPECT_EQ(Table().ById(Table().Id(cmd::mnuHelpSave))->argument, 300);
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
    commands.SetEnabled(cmd::Print1, false);
    commands.SetEnabled(cmd::SaveAs1, false);
    EXPECT_EQ(ClassifyFormKey(0x21, true, commands), handler::PreviousNumberedFile);
    EXPECT_EQ(ClassifyFormKey(0x22, true, commands), handler::NextNumberedFile);
    EXPECT_EQ(ClassifyFormKey(0x22, false, commands), handler::None);
    EXPECT_EQ(ClassifyFormKey('N', true, commands), handler::None) << "printing needs Print1";
    EXPECT_EQ(ClassifyFormKey(0x71, true, commands), handler::None) << "a numbered save needs a picture";
    commands.SetEnabled(cmd::Print1, true);
    commands.SetEnabled(cmd::SaveAs1, true);
    EXPECT_EQ(ClassifyFormKey('N', true, commands), handler::PrintWithNotes);
    EXPECT_EQ(ClassifyFormKey(0x71, true, commands), handler::NumberedSave);
    EXPECT_EQ(ClassifyFormKey(0x70, false, commands), handler::HelpContents);
    EXPECT_EQ(ClassifyFormKey(0x70, true, commands), handler::None);
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

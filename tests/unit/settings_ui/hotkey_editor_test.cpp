// The hotkey editor's round trips between hotkey texts and its controls.
#include <gtest/gtest.h>

#include <functional>

#include "settings_ui/hotkey_editor.h"

namespace vimbrel {
namespace {

// Plays the window: records how it was shown and lets a script work the controls.
struct ScriptedEditorWindow : HotKeyEditorWindow {
    std::function<bool(TfrmHKSet&)> user = [](TfrmHKSet&) { return true; };
    std::string caption;
    int left = 0, top = 0;
    bool ShowModal(TfrmHKSet& editor, const char* c, int l, int t) override {
        caption = c;
        left = l;
        top = t;
        return user(editor);
    }
};

TEST(HotKeyEditor, AltPrintScreenOpensWithAltAloneAndComesBackUnchanged) {
    TfrmHKSet editor;
    ScriptedEditorWindow window;
    window.user = [](TfrmHKSet& e) {
        EXPECT_TRUE(e.chkAlt);
        EXPECT_FALSE(e.chkCtrl || e.chkShift || e.chkWin);
        EXPECT_EQ(e.cboHotkey, 15);
        return true;
    };
    EXPECT_EQ(EditHotKey(editor, window, CaptureHotKey::Active, "Alt|#15", 100, 50), "Alt|#15");
    EXPECT_EQ(window.caption, "Active Screen Capture Hot Key");
    EXPECT_EQ(window.left, 140);
    EXPECT_EQ(window.top, 170);
}

TEST(HotKeyEditor, CtrlShiftF12IsStoredAndShownInTheProgramsForms) {
    TfrmHKSet editor;
    ScriptedEditorWindow window;
    window.user = [](TfrmHKSet& e) {
        e.chkWin = false;
        e.chkCtrl = e.chkShift = true;
        e.cboHotkey = 80;  // "F12"
        return true;
    };
    auto text = EditHotKey(editor, window, CaptureHotKey::Area, "Win|#15", 0, 0);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "Ctrl|Shift|#80");
    EXPECT_EQ(DescribeHotKeyText(*text), "Ctrl, Shift, F12");
    EXPECT_EQ(window.caption, "Area Capture Hot Key");
}

TEST(HotKeyEditor, AnIndexOutsideTheTableOpensWithNoKeyAndGivesMinusOne) {
    TfrmHKSet editor;
    editor.cboHotkey = 30;  // left from an earlier use: every use starts afresh
    editor.chkWin = true;
    ScriptedEditorWindow window;
    window.user = [](TfrmHKSet& e) {
        EXPECT_EQ(e.cboHotkey, -1);
        EXPECT_FALSE(e.chkWin);
        return true;
    };
    EXPECT_EQ(EditHotKey(editor, window, CaptureHotKey::Full, "Ctrl|#200", 0, 0), "Ctrl|#-1");
    EXPECT_EQ(window.caption, "Full Screen Capture Hot Key");
}

TEST(HotKeyEditor, CancelGivesNothing) {
    TfrmHKSet editor;
    ScriptedEditorWindow window;
    window.user = [](TfrmHKSet& e) {
        e.chkCtrl = true;
        return false;
    };
    EXPECT_FALSE(EditHotKey(editor, window, CaptureHotKey::Full, "#15", 0, 0));
}

}  // namespace
}  // namespace vimbrel

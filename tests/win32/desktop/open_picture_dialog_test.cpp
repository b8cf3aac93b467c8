// The open-picture dialog under Wine: it runs on a thread of its own, as it would on the
// program's window thread, and the test works it through its windows as a user would.
#include "desktop/win32/open_picture_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "desktop/picture_preview.h"
#include "desktop/win32/open_picture_ids.h"
#include "workspace/image_file.h"

#include "message_pump.h"
#include "scratch_folder.h"
#include "whole_files.h"

namespace vimbrel::win32 {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

const RgbQuad kPictureColour{40, 180, 220, 0};  // blue, green, red

Bitmap Filled(int width, int height) {
    Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.SetPixelColour(x, y, kPictureColour);
    return b;
}

COLORREF AsColorRef(RgbQuad q) { return RGB(q.red, q.green, q.blue); }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Text(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FindDescendant(HWND root, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(root, [](HWND child, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (::GetDlgCtrlID(child) != s->id) return TRUE;
        s->found = child;
        return FALSE;
    }, LPARAM(&search));
    return search.found;
}

HWND FindDescendantOfClass(HWND root, const char* className) {
    struct Search {
        const char* name;
        HWND found;
    } search{className, nullptr};
    ::EnumChildWindows(root, [](HWND child, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char cls[64] = {};
        ::GetClassNameA(child, cls, sizeof cls);
        if (std::string(cls) != s->name) return TRUE;
        s->found = child;
        return FALSE;
    }, LPARAM(&search));
    return search.found;
}

Rect ScreenRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

class OpenPictureDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteImageFile(Filled(100, 50), folder_ + "wide.bmp");
        WriteImageFile(Filled(1000, 500), folder_ + "large.bmp");
        WriteImageFile(Filled(10, 10), folder_ + "gone.bmp");
        vimbrel::testing::WriteText(folder_ + "secret.vrx", "VRX enciphered bytes");
        vimbrel::testing::WriteText(folder_ + "damaged.bmp", "BM\x10\x00 not a bitmap");
        std::filesystem::create_directory(folder_ + "sub");
    }

    void TearDown() override {
        if (thread_.joinable()) {  // a failed test leaves the dialog up
            if (HWND open = OpenDialog()) ::PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
            thread_.join();
        }
    }

    // Runs the dialog on its own thread over every file of the folder; true once it shows.
    bool Start() {
        thread_ = std::thread([this] {
            threadId_ = ::GetCurrentThreadId();
            answer_ = AskOpenPicture(nullptr, OpenPictureQuestion{std::string("All\0*.*\0\0", 10), folder_, 1});
            done_ = true;
        });
        if (!PumpUntil([&] { return OpenDialog() != nullptr && ::IsWindowVisible(OpenDialog()); }, 10000))
            return false;
        panel_ = FindDescendant(open_, IDC_PICTURE_PANEL);
        // The list fills in after the dialog shows.
        HWND list = FindDescendantOfClass(open_, "SysListView32");
        return panel_ && PumpUntil([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= 6; }, 5000);
    }

    // Waits for the dialog to end; what it answered.
    std::optional<std::string> Finish() {
        EXPECT_TRUE(PumpUntil([&] { return done_.load(); }, 10000));
        thread_.join();
        return answer_;
    }

    HWND OpenDialog() {
        if (open_ && ::IsWindow(open_)) return open_;
        open_ = TopWindowOfThread("Open");
        return open_;
    }

    HWND TopWindowOfThread(const std::string& title) {
        struct Search {
            std::string title;
            HWND found;
        } search{title, nullptr};
        ::EnumThreadWindows(threadId_, [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (Text(w) != s->title || !::IsWindowVisible(w)) return TRUE;
            s->found = w;
            return FALSE;
        }, LPARAM(&search));
        return search.found;
    }

    // Types the name into the file-name box and picks the same name in the file list, as
    // a user's click would; the dialog hears of the list's selection only.
    void Select(const std::string& name) {
        HWND edit = FindDescendantOfClass(::GetDlgItem(open_, 1148), "Edit");
        ASSERT_NE(edit, nullptr);
        ::SendMessageA(edit, WM_SETTEXT, 0, LPARAM(name.c_str()));
        HWND list = FindDescendantOfClass(open_, "SysListView32");
        ASSERT_NE(list, nullptr);
        const int count = int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[MAX_PATH] = {};
            LVITEMA item{};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            ::SendMessageA(list, LVM_GETITEMTEXTA, i, LPARAM(&item));
            if (name != text) continue;
            LVITEMA state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendMessageA(list, LVM_SETITEMSTATE, i, LPARAM(&state));
            return;
        }
        FAIL() << name << " is not in the file list";
    }

    HWND Child(int id) { return FindDescendant(panel_, id); }
    std::string Label() { return Text(Child(IDC_PICTURE_LABEL)); }
    bool ButtonsEnabled() {
        return ::IsWindowEnabled(Child(IDC_PREVIEW_BUTTON)) && ::IsWindowEnabled(Child(IDC_DELETE_BUTTON));
    }
    bool ButtonsDisabled() {
        return !::IsWindowEnabled(Child(IDC_PREVIEW_BUTTON)) && !::IsWindowEnabled(Child(IDC_DELETE_BUTTON));
    }
    bool LabelBecomes(const std::string& text) {
        return PumpUntil([&] { return Label() == text; }, 5000);
    }

    // The colour of a pixel of the preview box as it is on the screen.
    COLORREF BoxPixel(int x, int y) {
        HWND box = Child(IDC_PAINT_BOX);
        ::UpdateWindow(box);
        HDC dc = ::GetDC(box);
        const COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(box, dc);
        return colour;
    }

    vimbrel::testing::ScratchFolder scratch_{"vimbrel-open-picture"};
    std::string folder_ = scratch_.Slashed();
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> done_{false};
    std::optional<std::string> answer_;
    HWND open_ = nullptr, panel_ = nullptr;
};

TEST_F(OpenPictureDialogTest, APicturePreviewsWithItsSizeBesideTheStandardControlsAndOkAnswersIt) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(ButtonsDisabled()) << "nothing chosen yet";

    // The panel lies right of the file list and the name box, inside the dialog.
    const Rect panel = ScreenRect(panel_);
    EXPECT_GE(panel.left, ScreenRect(FindDescendantOfClass(open_, "SysListView32")).right);
    EXPECT_GE(panel.left, ScreenRect(::GetDlgItem(open_, 1148)).right);
    RECT client{};
    ::GetClientRect(open_, &client);
    ::MapWindowPoints(open_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_LE(panel.right, client.right);
    EXPECT_GT(panel.Width(), 100);

    Select("wide.bmp");
    ASSERT_TRUE(LabelBecomes(" (100x50)")) << Label();
    EXPECT_TRUE(ButtonsEnabled());
    // Drawn at its own size in the middle of the box, on the box's colour.
    RECT box{};
    ::GetClientRect(Child(IDC_PAINT_BOX), &box);
    const Rect at = PlacePreview(Size{100, 50}, box.right, box.bottom);
    ASSERT_EQ(at.Width(), 100) << "the box is smaller than the dialog should give it";
    EXPECT_EQ(BoxPixel(at.left, at.top), AsColorRef(kPictureColour));
    EXPECT_EQ(BoxPixel(at.right - 1, at.bottom - 1), AsColorRef(kPictureColour));
    EXPECT_EQ(BoxPixel(at.left - 1, at.top), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(BoxPixel(at.left, at.bottom), ::GetSysColor(COLOR_BTNFACE));

    // A larger one fills the box's width from its top-left corner.
    Select("large.bmp");
    ASSERT_TRUE(LabelBecomes(" (1000x500)")) << Label();
    EXPECT_EQ(BoxPixel(0, 0), AsColorRef(kPictureColour));
    EXPECT_EQ(BoxPixel(box.right - 1, 0), AsColorRef(kPictureColour));
    EXPECT_EQ(BoxPixel(0, box.bottom - 1), ::GetSysColor(COLOR_BTNFACE)) << "half as high as wide";

    Select("wide.bmp");
    ASSERT_TRUE(LabelBecomes(" (100x50)"));
    ::PostMessageA(open_, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Finish(), folder_ + "wide.bmp");
}

TEST_F(OpenPictureDialogTest, WhatIsNoReadablePictureShowsPictureAndDisablesTheButtons) {
    ASSERT_TRUE(Start());
    for (const char* name : {"secret.vrx", "damaged.bmp", "sub", "gone.bmp"}) {
        SCOPED_TRACE(name);
        Select("wide.bmp");
        ASSERT_TRUE(LabelBecomes(" (100x50)"));
        ASSERT_TRUE(ButtonsEnabled());
        // Still listed, but removed behind the dialog's back.
        if (std::string(name) == "gone.bmp") ::DeleteFileA((folder_ + name).c_str());
        Select(name);
        EXPECT_TRUE(LabelBecomes("Picture:")) << Label();
        EXPECT_TRUE(ButtonsDisabled());
        RECT box{};
        ::GetClientRect(Child(IDC_PAINT_BOX), &box);
        EXPECT_NE(BoxPixel(box.right / 2, box.bottom / 2), AsColorRef(kPictureColour)) << "the old picture went";
    }
    ::PostMessageA(open_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Finish(), std::nullopt);
}

TEST_F(OpenPictureDialogTest, DeleteAsksFirstCancelKeepsTheFileAndOkDeletesIt) {
    ASSERT_TRUE(Start());
    const std::string file = folder_ + "wide.bmp";
    Select("wide.bmp");
    ASSERT_TRUE(LabelBecomes(" (100x50)"));

    for (int answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer == IDOK ? "OK" : "Cancel");
        ::PostMessageA(Child(IDC_DELETE_BUTTON), BM_CLICK, 0, 0);
        HWND question = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (question = TopWindowOfThread("Delete File...")) != nullptr; }, 5000));
        bool saysFile = false, asks = false;
        for (HWND c = ::GetWindow(question, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            saysFile = saysFile || Text(c) == "Delete: " + file;
            asks = asks || HICON(::SendMessageA(c, STM_GETICON, 0, 0)) == ::LoadIconA(nullptr, IDI_QUESTION);
        }
        EXPECT_TRUE(saysFile);
        EXPECT_TRUE(asks) << "the question icon";
        EXPECT_NE(::GetDlgItem(question, IDOK), nullptr);
        // Cancel is the default: Enter answers it. (Wine's box marks it by style and
        // focus; DM_GETDEFID there still names OK.)
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        ::GetGUIThreadInfo(threadId_, &gui);
        EXPECT_EQ(gui.hwndFocus, ::GetDlgItem(question, IDCANCEL));
        EXPECT_EQ(::GetWindowLongA(::GetDlgItem(question, IDCANCEL), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
        if (answer == IDCANCEL)
            ::PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_RETURN, 0);
        else
            ::PostMessageA(question, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(question); }, 5000));
        PumpFor(200);
        EXPECT_EQ(Exists(file), answer == IDCANCEL);
    }
    // Nothing is left to show or to delete again.
    EXPECT_TRUE(LabelBecomes("Picture:")) << Label();
    EXPECT_TRUE(ButtonsDisabled());
    ::PostMessageA(open_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Finish(), std::nullopt);
}

TEST_F(OpenPictureDialogTest, ThePreviewWindowShowsThePictureAtItsOwnSizeAndEscapeClosesIt) {
    ASSERT_TRUE(Start());
    Select("wide.bmp");
    ASSERT_TRUE(LabelBecomes(" (100x50)"));

    // The preview button, then a double click on the box, open the same window.
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "button" : "double click");
        if (way == 0)
            ::PostMessageA(Child(IDC_PREVIEW_BUTTON), BM_CLICK, 0, 0);
        else
            ::PostMessageA(Child(IDC_PAINT_BOX), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND preview = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (preview = TopWindowOfThread("Preview")) != nullptr; }, 5000));
        EXPECT_TRUE(::GetWindowLongPtrA(preview, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(::GetWindowLongPtrA(preview, GWL_STYLE) & WS_THICKFRAME);
        EXPECT_EQ(::GetWindow(preview, GW_OWNER), open_);
        EXPECT_FALSE(::IsWindowEnabled(open_)) << "modal";
        HWND image = ::GetDlgItem(preview, IDC_PREVIEW_IMAGE);
        RECT inside{};
        ::GetClientRect(image, &inside);
        EXPECT_EQ(inside.right, 110);
        EXPECT_EQ(inside.bottom, 60);
        // Centred in the work area.
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const Rect at = ScreenRect(preview);
        EXPECT_LE(std::abs((at.left + at.right) - (work.left + work.right)), 1);
        EXPECT_LE(std::abs((at.top + at.bottom) - (work.top + work.bottom)), 1);
        ::UpdateWindow(image);
        HDC dc = ::GetDC(image);
        EXPECT_EQ(::GetPixel(dc, 5, 5), AsColorRef(kPictureColour));
        EXPECT_EQ(::GetPixel(dc, 104, 54), AsColorRef(kPictureColour));
        EXPECT_EQ(::GetPixel(dc, 4, 4), ::GetSysColor(COLOR_WINDOW));
        ::ReleaseDC(image, dc);

        ::PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(preview); }, 5000));
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(open_) != FALSE; }, 2000));
    }
    ::PostMessageA(open_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(Finish(), std::nullopt);
}

}  // namespace
}  // namespace vimbrel::win32

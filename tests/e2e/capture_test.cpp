// Captures as a user makes them: Print Screen, Alt+Print Screen and Win+Print Screen with a
// drag over the frozen desktop, "\F" from a second start, and the post-capture actions
// (clipboard, numbered file, editor) that the settings switch on. A window of the test's
// own, in a colour nothing else has, is what gets captured.
#include <gtest/gtest.h>

#include <cstdlib>

#include "saved_picture.h"
#include "app/main_commands.h"
#include "capture/delayed_capture_commands.h"
#include "util/win32/gdi_handles.h"
#include "vimbrel_process.h"
#include "whole_files.h"
#include "workspace/win32/dib.h"

namespace e2e {
namespace {

using vimbrel::testing::ReadAll;

constexpr COLORREF kMarkerColour = RGB(12, 200, 34);
constexpr RECT kMarker{100, 120, 340, 300};  // screen pixels

// A top-most window of one colour, painted by this thread's message pumping.
class MarkerWindow {
public:
    MarkerWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = ::CreateSolidBrush(kMarkerColour);
        wc.lpszClassName = "VimbrelCaptureMarker";
        ::RegisterClassA(&wc);
        hwnd_ = ::CreateWindowExA(WS_EX_TOPMOST, "VimbrelCaptureMarker", "Capture marker", WS_POPUP | WS_VISIBLE,
                                  kMarker.left, kMarker.top, kMarker.right - kMarker.left,
                                  kMarker.bottom - kMarker.top, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetForegroundWindow(hwnd_);
        WaitFor([] { return false; }, 300ms);
    }
    ~MarkerWindow() { ::DestroyWindow(hwnd_); }
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Waits until the overlay is up, in front and under the pointer's way, lets it settle,
// and does what `act` does on it; true once it is gone.
template <class Act>
bool OnOverlay(DWORD processId, Act act) {
    HWND overlay = nullptr;
    if (!WaitFor([&] {
            return (overlay = FindProcessWindow(processId, "TfrmCapArea", "frmCapArea")) != nullptr &&
                   ::IsWindowVisible(overlay) && ::GetForegroundWindow() == overlay &&
                   ::WindowFromPoint(POINT{kMarker.left + 1, kMarker.top + 1}) == overlay;
        }))
        return false;
    WaitFor([] { return false; }, 500ms);
    act();
    if (WaitFor([&] { return !::IsWindowVisible(overlay); }, 4s)) return true;
    // Under a loaded machine Wine now and then drops the first button press on a window
    // just put in front; the overlay then waits, as it should, for a press of its own.
    act();
    return WaitFor([&] { return !::IsWindowVisible(overlay); });
}

// Whether the program holds the hotkey again once its overlay is gone. Each probe holds the
// combination for a moment itself, and a program that registers it in that moment is
// refused: so the probes start only after the overlay has gone and a pause, and are spaced.
bool HeldAgain(DWORD processId, UINT modifiers, UINT key) {
    if (!WaitFor([&] { return FindProcessWindow(processId, "TfrmCapArea", "frmCapArea") == nullptr; })) return false;
    WaitFor([] { return false; }, 500ms);
    for (int probe = 0; probe < 40; ++probe) {
        if (!CombinationFree(modifiers, key)) return true;
        WaitFor([] { return false; }, 250ms);
    }
    return false;
}

// Waits for the overlay and drags over it from one point to the other.
bool DragOverOverlay(DWORD processId, POINT from, POINT to) {
    return OnOverlay(processId, [&] { DragMouse(from, to); });
}

bool IsMarker(const vimbrel::Bitmap& picture, int x, int y) {
    vimbrel::RgbQuad c = picture.PixelColour(x, y);
    return c.red == GetRValue(kMarkerColour) && c.green == GetGValue(kMarkerColour) &&
           c.blue == GetBValue(kMarkerColour);
}

// The primary screen as this process sees it, through GDI of its own.
vimbrel::Bitmap ScreenNow() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    vimbrel::win32::WindowDC screen(nullptr);
    vimbrel::win32::GdiBitmap copy(::CreateCompatibleBitmap(screen.get(), width, height));
    {
        vimbrel::win32::UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
        vimbrel::win32::SelectedObject selected(dc.get(), copy.get());
        ::BitBlt(dc.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
    }
    return vimbrel::win32::BitmapFromHbitmap(copy.get());
}

std::string EditorStandIn() {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, n);
    self.erase(self.find_last_of('\\'));
    return self.substr(0, self.find_last_of('\\') + 1) + "standins\\vimbrel_editor.exe";
}

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
        WriteSetting("InclMouse", "0");
        WriteSetting("PopUp", "0");
        WriteSetting("AutoSave", "On");
        WriteSetting("AutoPrefix", "Shot");
        WriteSetting("AutoExt", ".bmp");
    }
    // Numbered captures go to the program's scratch folder.
    void SaveInto(VimbrelProcess& app) { WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1)); }
};

TEST_F(CaptureTest, PrintScreenAndASecondStartWithFCaptureTheWholeScreen) {
    MarkerWindow marker;
    VimbrelProcess app("capture-full");
    SaveInto(app);
    ASSERT_TRUE(app.Start());

    PressKeys({VK_SNAPSHOT});
    auto first = WaitForPicture(app.Folder() + "Shot-00001.bmp");
    ASSERT_TRUE(first.has_value()) << "Print Screen saves the capture";
    EXPECT_EQ(first->Width(), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(first->Height(), ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(IsMarker(*first, kMarker.left + 5, kMarker.top + 5));
    EXPECT_TRUE(IsMarker(*first, kMarker.right - 1, kMarker.bottom - 1));
    EXPECT_FALSE(IsMarker(*first, kMarker.right, kMarker.bottom));
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow())) << "with PopUp off the window stays hidden";

    ASSERT_TRUE(app.RunSecondInstance("\\F").has_value());
    auto second = WaitForPicture(app.Folder() + "Shot-00002.bmp");
    ASSERT_TRUE(second.has_value()) << "\\F from a second start captures too";
    EXPECT_TRUE(IsMarker(*second, kMarker.left, kMarker.top));
    EXPECT_EQ(ReadSetting("NextSaveNo"), "3");
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, NumberedPngCapturesHoldTheScreensExactPixels) {
    WriteSetting("AutoExt", ".png");
    WriteSetting("NextSaveNo", "7");
    MarkerWindow marker;
    VimbrelProcess app("capture-png");
    SaveInto(app);
    ASSERT_TRUE(app.Start());

    PressKeys({VK_SNAPSHOT});
    const std::string saved = app.Folder() + "Shot-00007.png";
    auto picture = WaitForPicture(saved);
    ASSERT_TRUE(picture.has_value()) << "Print Screen saves the capture as " << saved;
    const std::string file = ReadAll(saved);
    EXPECT_EQ(file.substr(0, 8), "\x89PNG\r\n\x1A\n");
    ASSERT_GT(file.size(), 26u);
    EXPECT_EQ(file[25] & 4, 0) << "the screen has no alpha, nor has its file: other programs show it opaque";
    EXPECT_EQ(ReadSetting("NextSaveNo"), "8");
    const vimbrel::Bitmap screen = ScreenNow();
    ASSERT_EQ(picture->Width(), screen.Width());
    ASSERT_EQ(picture->Height(), screen.Height());
    EXPECT_TRUE(IsMarker(*picture, kMarker.left, kMarker.top));
    int differing = 0;
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x) {
            vimbrel::RgbQuad saw = picture->PixelColour(x, y);
            saw.reserved = 0;
            if (!(saw == screen.PixelColour(x, y)) && differing++ < 5)
                ADD_FAILURE() << "pixel " << x << ", " << y << " differs from the screen";
        }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, ANextSaveNumberPastTheLargestIsReportedAndNothingIsWritten) {
    WriteSetting("NextSaveNo", "2147483648");
    VimbrelProcess app("capture-number-too-large");
    SaveInto(app);
    ASSERT_TRUE(app.Start());
    PressKeys({VK_SNAPSHOT});
    EXPECT_TRUE(AnswerMessageBox(app.ProcessId(), "  Vimbrel   ", "The next save number 2147483648 is too large.\r\n"
                                                                  "Choose a smaller \"Next Save Seq. #\" in Option Settings."));
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((app.Folder() + "Shot-*").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "written: " << found.cFileName;
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    EXPECT_EQ(ReadSetting("NextSaveNo"), "2147483648");
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, AltPrintScreenTakesTheWindowThatWasInFrontAndCopiesPrintsSavesAndEdits) {
    WriteSetting("AutoClipCopy", "On");
    WriteSetting("AutoPrint", "On");
    WriteSetting("AutoEdit", "Yes");
    MarkerWindow marker;
    VimbrelProcess app("capture-active");
    SaveInto(app);
    const std::string editor = app.Folder() + "editor.exe";
    ASSERT_TRUE(::CopyFileA(EditorStandIn().c_str(), editor.c_str(), FALSE)) << EditorStandIn();
    WriteSetting("ImageEditor", editor);
    ASSERT_TRUE(app.Start());
    ::SetForegroundWindow(marker.Handle());
    // The window has to have been in front when the program last looked (every 2 s).
    WaitFor([] { return false; }, 2500ms);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();

    const std::size_t printedBefore = PrintedImageJobs().size();
    PressKeys({VK_MENU, VK_SNAPSHOT});
    auto picture = WaitForPicture(app.Folder() + "Shot-00001.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), kMarker.right - kMarker.left);
    EXPECT_EQ(picture->Height(), kMarker.bottom - kMarker.top);
    EXPECT_TRUE(IsMarker(*picture, 0, 0));
    EXPECT_TRUE(IsMarker(*picture, picture->Width() - 1, picture->Height() - 1));

    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP)) << "copied to the clipboard";
    if (std::getenv("VIMBREL_PDF_DIR")) {
        EXPECT_TRUE(WaitFor([&] { return PrintedImageJobs().size() > printedBefore; }, 60s)) << "printed";
    }
    EXPECT_TRUE(WaitFor([&] { return ReadAll(app.Folder() + "editor-args.txt").find("~~vrl.bmp") != std::string::npos; }))
        << "the editor got the picture: " << ReadAll(app.Folder() + "editor-args.txt");
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, AltPrintScreenAfterTheProgramsOwnOverlayWasInFrontStillTakesTheLastOtherWindow) {
    MarkerWindow marker;
    VimbrelProcess app("capture-active-after-overlay");
    SaveInto(app);
    ASSERT_TRUE(app.Start());
    ::SetForegroundWindow(marker.Handle());
    WaitFor([] { return false; }, 2500ms);
    // The overlay stays in front over a tick of the program's foreground watch, then goes.
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (overlay = FindProcessWindow(app.ProcessId(), "TfrmCapArea", "frmCapArea")) != nullptr &&
                                     ::IsWindowVisible(overlay); }));
    WaitFor([] { return false; }, 2500ms);
    ::PostMessageA(overlay, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(overlay); }) && HeldAgain(app.ProcessId(), MOD_ALT, VK_SNAPSHOT))
        << "the overlay is gone and the hotkeys are back";
    // The marker has painted itself again where the dimmed overlay was.
    ASSERT_TRUE(WaitFor([] { return IsMarker(ScreenNow(), kMarker.left, kMarker.top); }));

    ::SetForegroundWindow(marker.Handle());
    PressKeys({VK_MENU, VK_SNAPSHOT});
    auto picture = WaitForPicture(app.Folder() + "Shot-00001.bmp");
    ASSERT_TRUE(picture.has_value()) << "the capture took nothing";
    EXPECT_EQ(picture->Width(), kMarker.right - kMarker.left);
    EXPECT_EQ(picture->Height(), kMarker.bottom - kMarker.top);
    EXPECT_TRUE(IsMarker(*picture, 0, 0));
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, SelectAnAreaFromTheToolBarHoldsTheHotkeysOffWhileItsOverlayIsUp) {
    VimbrelProcess app("capture-area-button");
    SaveInto(app);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitFor([] { return !CombinationFree(0, VK_SNAPSHOT); })) << "the program holds Print Screen";
    ::PostMessageA(app.MainWindow(), WM_COMMAND, MAKEWPARAM(vimbrel::MainCommandTable().Id(vimbrel::cmd::btnSelect), 0), 0);
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (overlay = FindProcessWindow(app.ProcessId(), "TfrmCapArea", "frmCapArea")) != nullptr &&
                                     ::IsWindowVisible(overlay); }));
    EXPECT_TRUE(CombinationFree(0, VK_SNAPSHOT)) << "a Print Screen now would start a capture under the overlay";
    ::PostMessageA(overlay, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(overlay); }) && HeldAgain(app.ProcessId(), 0, VK_SNAPSHOT))
        << "on again after";
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, WinPrintScreenTakesADragInAnyDirectionAWindowByAClickAndACancelLeavesAllAsItWas) {
    MarkerWindow marker;
    VimbrelProcess app("capture-area");
    SaveInto(app);
    ASSERT_TRUE(app.Start());

    // Dragged from lower right to upper left: taken as dragged the other way.
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    ASSERT_TRUE(DragOverOverlay(app.ProcessId(), {300, 280}, {150, 160}));
    auto picture = WaitForPicture(app.Folder() + "Shot-00001.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), 150);
    EXPECT_EQ(picture->Height(), 120);
    EXPECT_TRUE(IsMarker(*picture, 0, 0));
    EXPECT_TRUE(IsMarker(*picture, 149, 119));

    // From lower left to upper right, over the marker's top left corner. The file is whole
    // before the capture has ended: the next press waits for the hotkeys to be back.
    ASSERT_TRUE(HeldAgain(app.ProcessId(), MOD_WIN, VK_SNAPSHOT));
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    ASSERT_TRUE(DragOverOverlay(app.ProcessId(), {90, 170}, {190, 110}));
    picture = WaitForPicture(app.Folder() + "Shot-00002.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), 100);
    EXPECT_EQ(picture->Height(), 60);
    EXPECT_FALSE(IsMarker(*picture, 9, 9)) << "left of and above the marker";
    EXPECT_TRUE(IsMarker(*picture, 10, 10));
    EXPECT_TRUE(IsMarker(*picture, 99, 59));

    // A click on another program's window takes exactly that window.
    ASSERT_TRUE(HeldAgain(app.ProcessId(), MOD_WIN, VK_SNAPSHOT));
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    ASSERT_TRUE(OnOverlay(app.ProcessId(), [] {
        SendMouse(200, 200);
        SendMouse(200, 200, MOUSEEVENTF_LEFTDOWN);
        SendMouse(200, 200, MOUSEEVENTF_LEFTUP);
    }));
    picture = WaitForPicture(app.Folder() + "Shot-00003.bmp");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), kMarker.right - kMarker.left);
    EXPECT_EQ(picture->Height(), kMarker.bottom - kMarker.top);
    EXPECT_TRUE(IsMarker(*picture, 0, 0));
    EXPECT_TRUE(IsMarker(*picture, picture->Width() - 1, picture->Height() - 1));

    // Escape in the middle of a drag, and a right click: gone without a word, nothing saved,
    // the hotkeys back.
    ASSERT_TRUE(HeldAgain(app.ProcessId(), MOD_WIN, VK_SNAPSHOT));
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    ASSERT_TRUE(OnOverlay(app.ProcessId(), [] {
        SendMouse(400, 400);
        SendMouse(400, 400, MOUSEEVENTF_LEFTDOWN);
        SendMouse(500, 480);
        PressKeys({VK_ESCAPE});
    }));
    SendMouse(500, 480, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(HeldAgain(app.ProcessId(), MOD_WIN, VK_SNAPSHOT)) << "the hotkeys are back";
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    ASSERT_TRUE(OnOverlay(app.ProcessId(), [] {
        SendMouse(600, 500);
        SendMouse(600, 500, MOUSEEVENTF_RIGHTDOWN);
        SendMouse(600, 500, MOUSEEVENTF_RIGHTUP);
    }));
    ASSERT_TRUE(HeldAgain(app.ProcessId(), MOD_WIN, VK_SNAPSHOT));
    EXPECT_EQ(FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   "), nullptr) << "a cancel asks nothing";
    EXPECT_EQ(ReadSetting("NextSaveNo"), "4") << "three captures, three files";

    // A click on no window at all: the question, and Cancel ends it.
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    ASSERT_TRUE(OnOverlay(app.ProcessId(), [] {
        SendMouse(1000, 900);
        SendMouse(1000, 900, MOUSEEVENTF_LEFTDOWN);
        SendMouse(1000, 900, MOUSEEVENTF_LEFTUP);
    }));
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ")) != nullptr; }));
    EXPECT_NE(FindChildByText(question, "Hold the mouse buton down from the Upper Left corner\r\nto Lower Right corner "
                                        "of the area to be selected.  \r\nRelease mouse button when complete.  Try Again?"),
              nullptr);
    ::PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(question); }));
    EXPECT_EQ(ReadSetting("NextSaveNo"), "4");
    EXPECT_TRUE(app.Exit());
}

TEST_F(CaptureTest, ADelayedCaptureFiresAfterItsDelayAndChoosingItAgainCallsItOff) {
    VimbrelProcess app("capture-delayed");
    SaveInto(app);
    ASSERT_TRUE(app.Start());
    auto choose = [&](vimbrel::CommandName control) {
        ::PostMessageA(app.MainWindow(), WM_COMMAND, MAKEWPARAM(vimbrel::MainCommandTable().Id(control), 0), 0);
    };
    choose(vimbrel::cmd::trayDelay3);
    ASSERT_TRUE(WaitFor([] { return ReadSetting("CaptureDelay") == "3"; })) << "the delay is remembered";

    choose(vimbrel::cmd::trayDelayScreen);
    WaitFor([] { return false; }, 1s);
    choose(vimbrel::cmd::trayDelayScreen);
    WaitFor([] { return false; }, 4s);
    EXPECT_FALSE(WaitForPicture(app.Folder() + "Shot-00001.bmp", 0ms).has_value()) << "called off, nothing taken";

    choose(vimbrel::cmd::mnuDelayScreen);
    WaitFor([] { return false; }, 1500ms);
    EXPECT_FALSE(WaitForPicture(app.Folder() + "Shot-00001.bmp", 0ms).has_value()) << "not before its time";
    auto picture = WaitForPicture(app.Folder() + "Shot-00001.bmp", 10s);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width(), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(ReadSetting("NextSaveNo"), "2") << "one capture, one file";
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e

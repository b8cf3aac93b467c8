// Printing a picture on the test PDF printer: from the menu, and with Ctrl+N and notes typed
// into the notes dialog. Each print leaves a check file that check_print_pdfs.cmake runs
// against the PDF with poppler once this suite has run (page count, notes and date line,
// and the picture's colours inside and outside the rectangle the layout gives it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <set>

#include "vimbrel_process.h"

#include <commctrl.h>
#include <winspool.h>
#include "util/win32/gdi_handles.h"
#include "workspace/image_file.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using vimbrel::Bitmap;
using vimbrel::RgbQuad;

// Quarters of different colours: a picture printed mirrored or upside down shows it.
constexpr RgbQuad kTopLeft{0, 0, 255, 0}, kTopRight{0, 200, 0, 0}, kBottomLeft{255, 0, 0, 0},
    kBottomRight{0, 220, 255, 0};

Bitmap Quarters(int w, int h) {
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixelColour(x, y, y < h / 2 ? (x < w / 2 ? kTopLeft : kTopRight) : (x < w / 2 ? kBottomLeft : kBottomRight));
    return b;
}

std::string Rgb(RgbQuad c) {
    return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
}


bool CombinationFree(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x7002, modifiers, key)) return false;
    ::UnregisterHotKey(nullptr, 0x7002);
    return true;
}

void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

void Press(WORD vk, bool ctrl = false) {
    if (ctrl) Key(VK_CONTROL, false);
    Key(vk, false);
    Key(vk, true);
    if (ctrl) Key(VK_CONTROL, true);
}

// Lower-case letters, digits and blanks, as typed on the keyboard.
void Type(const std::string& text) {
    for (char c : text) Press(WORD(LOBYTE(::VkKeyScanA(c))));
}

struct PrinterPage {
    int width = 0, height = 0, dpiX = 0, dpiY = 0, offsetX = 0, offsetY = 0;
};

PrinterPage DefaultPrinterPage() {
    PrinterPage page;
    char name[256] = {};
    DWORD size = sizeof name;
    if (!::GetDefaultPrinterA(name, &size)) return page;
    HDC dc = ::CreateDCA("WINSPOOL", name, nullptr, nullptr);
    if (!dc) return page;
    page = {::GetDeviceCaps(dc, HORZRES),       ::GetDeviceCaps(dc, VERTRES),
            ::GetDeviceCaps(dc, LOGPIXELSX),    ::GetDeviceCaps(dc, LOGPIXELSY),
            ::GetDeviceCaps(dc, PHYSICALOFFSETX), ::GetDeviceCaps(dc, PHYSICALOFFSETY)};
    ::DeleteDC(dc);
    return page;
}

std::string ShortDate() {
    char text[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
    return text;
}

class PrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fs::remove_all(ChecksFolder());
        fs::create_directories(ChecksFolder());
    }
    static std::string ChecksFolder() { return WindowsPath(VIMBREL_PRINT_CHECKS); }

    void SetUp() override {
        const char* pdfs = std::getenv("VIMBREL_PDF_DIR");
        if (!pdfs) GTEST_SKIP() << "no test printer: run under tools/test-env";
        pdfFolder = WindowsPath(pdfs);
        page = DefaultPrinterPage();
        // The layouts below are worked out for this page: A4 at 300 dpi.
        ASSERT_EQ(page.width, 2479);
        ASSERT_EQ(page.height, 3508);
        ClearSettings();
        WriteSetting("CheckClose", "N");
        WriteSetting("PrintDate", "1");
    }

    std::set<std::string> Jobs(const std::string& prefix = "Vimbrel_Print_Image-job_") const {
        std::set<std::string> jobs;
        for (const auto& entry : fs::directory_iterator(pdfFolder))
            if (entry.path().extension() == ".pdf" && entry.path().filename().string().rfind(prefix, 0) == 0)
                jobs.insert(entry.path().string());
        return jobs;
    }

    // The PDF of the job printed after `before` was taken.
    std::string WaitForNewJob(const std::set<std::string>& before,
                              const std::string& prefix = "Vimbrel_Print_Image-job_") {
        std::string found;
        WaitFor([&] {
            for (const std::string& job : Jobs(prefix))
                if (!before.count(job)) found = job;
            return !found.empty();
        }, 60s);
        return found;
    }

    void OpenPicture(VimbrelProcess& app, const Bitmap& picture) {
        const std::string file = app.Folder() + "quarters.bmp";
        vimbrel::WriteImageFile(picture, file);
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.RunSecondInstance("\"" + file + "\"").has_value());
        ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("quarters.bmp") != std::string::npos; }));
        shownStatus = StatusText(app.MainWindow());
    }

    // Print Preview from the menu, once its window shows.
    HWND OpenPreview(VimbrelProcess& app) {
        HWND preview = nullptr;
        if (!app.PostMenuCommand("Print P&review")) return nullptr;
        WaitFor([&] {
            preview = FindProcessWindow(app.ProcessId(), "TPreviewForm", "Print Preview");
            return preview && ::IsWindowVisible(preview);
        });
        return preview && ::IsWindowVisible(preview) ? preview : nullptr;
    }

    // What the PDF must show, for the check after the suite.
    void WriteCheck(const std::string& name, const std::string& pdf, int pages, int left, int top, int width,
                    int height, const std::vector<std::string>& texts, RgbQuad topLeft = kTopLeft) {
        std::ofstream check(ChecksFolder() + "\\" + name + ".cmake");
        check << "set(PDF \"" << UnixPath(pdf) << "\")\n"
              << "set(PAGES " << pages << ")\n"
              << "set(DPI " << page.dpiX << ")\n"
              << "set(OFFSET " << page.offsetX << " " << page.offsetY << ")\n"
              << "set(RECT " << left << " " << top << " " << width << " " << height << ")\n"
              << "set(QUARTERS \"" << Rgb(topLeft) << ";" << Rgb(kTopRight) << ";" << Rgb(kBottomLeft) << ";"
              << Rgb(kBottomRight) << "\")\n"
              << "set(TEXTS";
        for (const std::string& text : texts) check << " \"" << text << "\"";
        check << ")\n";
    }

    // What a text print's PDF must show: its pages and its texts, no picture.
    void WriteTextCheck(const std::string& name, const std::string& pdf, int pages,
                        const std::vector<std::string>& texts) {
        std::ofstream check(ChecksFolder() + "\\" + name + ".cmake");
        check << "set(PDF \"" << UnixPath(pdf) << "\")\n"
              << "set(PAGES " << pages << ")\n"
              << "set(TEXTS";
        for (const std::string& text : texts) check << " \"" << text << "\"";
        check << ")\n";
    }

    std::string pdfFolder, shownStatus;
    PrinterPage page;
};

TEST_F(PrintTest, PrintFromTheMenuPutsTheDateLineAndTheWholePictureOnOnePage) {
    WriteSetting("PrintStyle", "Full");
    VimbrelProcess app("print-menu");
    ASSERT_NO_FATAL_FAILURE(OpenPicture(app, Quarters(200, 100)));
    const auto before = Jobs();
    ASSERT_TRUE(app.PostMenuCommand("&Print"));
    const std::string pdf = WaitForNewJob(before);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfFolder;
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == shownStatus; }));
    // Full: the box is 2229 x 3258 at 125; the width limits, 1114.5 rounds to 1114.
    WriteCheck("menu-full", pdf, 1, 125, 125, 2229, 1114, {ShortDate()});
    ASSERT_TRUE(app.Exit());
}

TEST_F(PrintTest, APrintTakesTheMarksDrawnOverThePicture) {
    WriteSetting("PrintStyle", "Full");
    VimbrelProcess app("print-marks");
    ASSERT_NO_FATAL_FAILURE(OpenPicture(app, Quarters(200, 100)));
    ASSERT_TRUE(InFront(app.MainWindow()));
    // A solid redaction box over the top-left quarter, drawn with the mouse. The tool and
    // Fill are chosen from the menu: posted commands are taken in order, and before the
    // mouse's input (the tools' keys are the markup test's).
    ASSERT_TRUE(app.PostMenuCommand("Re&dact"));
    ASSERT_TRUE(app.PostMenuCommand("&Fill Shapes"));
    // The view shows the box black over the red quarter. Under load Wine now and then drops
    // the first press on a window just put in front: the drag is made once more then.
    const auto shownBlack = [&] {
        const POINT p = PictureOnScreen(app.MainWindow(), 50, 25);
        return ::GetPixel(vimbrel::win32::WindowDC(nullptr).get(), p.x, p.y) == RGB(0, 0, 0);
    };
    const auto drag = [&] { DragMouse(PictureOnScreen(app.MainWindow(), 2, 2), PictureOnScreen(app.MainWindow(), 98, 48)); };
    ASSERT_FALSE(shownBlack()) << "the quarter is red before the box";
    drag();
    if (!WaitFor(shownBlack, 2s)) drag();
    ASSERT_TRUE(WaitFor(shownBlack)) << "the solid redaction box drawn with the mouse";
    WaitFor([] { return false; }, 300ms);
    const auto before = Jobs();
    ASSERT_TRUE(app.PostMenuCommand("&Print"));
    const std::string pdf = WaitForNewJob(before);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfFolder;
    // The redaction box is the Redact tool's colour, black; the other quarters as they were.
    WriteCheck("marked-full", pdf, 1, 125, 125, 2229, 1114, {ShortDate()}, RgbQuad{0, 0, 0, 0});
    ASSERT_TRUE(app.Exit());
}

TEST_F(PrintTest, CtrlNPrintsTheTypedNotesAndEjectAddsAPage) {
    WriteSetting("PrintStyle", "Best");
    WriteSetting("Eject", "Yes");
    VimbrelProcess app("print-notes");
    ASSERT_NO_FATAL_FAILURE(OpenPicture(app, Quarters(200, 100)));
    ASSERT_FALSE(CombinationFree(0, VK_SNAPSHOT)) << "the program holds its hotkeys";

    Press('N', true);
    HWND notes = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        notes = FindProcessWindow(app.ProcessId(), "#32770", "Enter Notes for the Image Print");
        // Placed and sized before it shows: measured once it is up.
        return notes != nullptr && ::IsWindowVisible(notes);
    }));
    RECT main{}, dialog{}, memo{};
    ::GetWindowRect(app.MainWindow(), &main);
    ::GetWindowRect(notes, &dialog);
    ::GetWindowRect(::GetDlgItem(notes, 121), &memo);
    EXPECT_EQ(dialog.left - main.left, 15);
    EXPECT_EQ(dialog.top - main.top, 25);
    EXPECT_EQ(memo.right - memo.left, 521);
    EXPECT_EQ(memo.bottom - memo.top, 89);
    EXPECT_TRUE(CombinationFree(0, VK_SNAPSHOT)) << "hotkeys off while the notes are asked for";

    const auto before = Jobs();
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == notes; }));
    Type("ship it 42");
    Press(VK_RETURN, true);  // a line break
    Type("second line");
    Press(VK_RETURN);  // OK
    const std::string pdf = WaitForNewJob(before);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfFolder;
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == shownStatus; }));
    EXPECT_FALSE(CombinationFree(0, VK_SNAPSHOT)) << "hotkeys on again after the print";
    // Best: the box is 1672 x 2444 (2443.5 to even) at (2479 - 1672) div 2 = 403.
    WriteCheck("ctrl-n-best-eject", pdf, 2, 403, 125, 1672, 836, {ShortDate(), "ship it 42", "second line"});
    ASSERT_TRUE(app.Exit());
}


// The preview of a 200 x 100 picture on A4 at 300 dpi: a divisor of 4, a page picture of
// 620 x 877, the margin at 125 / 4 = 31.25 -> 31 preview pixels.
TEST_F(PrintTest, PreviewShowsItsScaleInTheZoomBoxAsSoonAsItOpens) {
    WriteSetting("PrintStyle", "Best");
    VimbrelProcess app("print-preview-best");
    ASSERT_NO_FATAL_FAILURE(OpenPicture(app, Quarters(1024, 768)));
    HWND preview = OpenPreview(app);
    ASSERT_TRUE(preview);
    HWND zoom = FindDescendantOfClass(preview, "Edit");
    ASSERT_TRUE(zoom);
    // Best on A4: 0.75 x (2479 - 250) / 1024 = 1.63.
    EXPECT_TRUE(WaitFor([&] { return WindowText(zoom) == "163%"; }, 3s)) << '"' << WindowText(zoom) << '"';
    ::PostMessageA(preview, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(preview); }));
    ASSERT_TRUE(app.Exit());
}

TEST_F(PrintTest, PreviewOpensMaximisedZoomsByTypingAndKeypadAndCtrlPPrintsWhatItShows) {
    WriteSetting("PrintStyle", "Full");
    VimbrelProcess app("print-preview");
    ASSERT_NO_FATAL_FAILURE(OpenPicture(app, Quarters(200, 100)));
    HWND preview = OpenPreview(app);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(::IsZoomed(preview));
    EXPECT_FALSE(::IsWindowEnabled(app.MainWindow())) << "the preview is modal";
    EXPECT_TRUE(CombinationFree(0, VK_SNAPSHOT)) << "hotkeys off while the preview is open";
    HWND zoom = FindDescendantOfClass(preview, "Edit");
    HWND bar = FindDescendantOfClass(preview, "msctls_trackbar32");
    ASSERT_TRUE(zoom && bar);
    auto zoomText = [&] {
        char text[32] = {};
        ::SendMessageA(zoom, WM_GETTEXT, sizeof text, LPARAM(text));
        return std::string(text);
    };
    auto barPosition = [&] { return int(::SendMessageA(bar, TBM_GETPOS, 0, 0)); };
    // Full: 2229 / 200 = 11.145, beyond the bar's end.
    EXPECT_TRUE(WaitFor([&] { return zoomText().size() == 5 && zoomText().back() == '%'; })) << zoomText();
    EXPECT_EQ(barPosition(), 70);

    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == preview; }));
    ::SendMessageA(zoom, EM_SETSEL, 0, -1);
    Type("50");
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return zoomText() == "50%"; })) << zoomText();
    EXPECT_EQ(barPosition(), 0);
    Press(VK_ADD);
    EXPECT_TRUE(WaitFor([&] { return zoomText() == "120%"; })) << zoomText();
    Press(VK_ADD);
    EXPECT_TRUE(WaitFor([&] { return zoomText() == "140%"; })) << zoomText();
    Press(VK_SUBTRACT);
    EXPECT_TRUE(WaitFor([&] { return zoomText() == "120%"; })) << zoomText();
    EXPECT_EQ(barPosition(), 2);

    const auto before = Jobs();
    Press('P', true);
    const std::string pdf = WaitForNewJob(before);
    ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfFolder;
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(preview); })) << "the preview closes after printing";
    EXPECT_TRUE(WaitFor([&] { return !CombinationFree(0, VK_SNAPSHOT); })) << "hotkeys on again";
    // Scale 1.2: the preview shows 60 x 30 at (620 - 60) div 2 = 280, 31; the print puts it at
    // 280 x 4 = 1120, 31 x 4 = 124 (not the image print's 125), 240 x 120.
    WriteCheck("preview-ctrl-p", pdf, 1, 1120, 124, 240, 120, {ShortDate()});
    ASSERT_TRUE(app.Exit());
}

// A window of the console's class, in front while the test puts text on the clipboard.
class ConsoleStandIn {
public:
    ConsoleStandIn() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ConsoleWindowClass";
        ::RegisterClassA(&wc);
        hwnd_ = ::CreateWindowExA(0, "ConsoleWindowClass", "Command Prompt", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                  400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~ConsoleStandIn() {
        if (hwnd_) ::DestroyWindow(hwnd_);
    }
    ConsoleStandIn(const ConsoleStandIn&) = delete;
    ConsoleStandIn& operator=(const ConsoleStandIn&) = delete;
    HWND Hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

bool PutClipboardText(HWND owner, const std::string& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    const bool put = ::SetClipboardData(CF_TEXT, block) != nullptr;
    ::CloseClipboard();
    return put;
}

TEST_F(PrintTest, ConsoleTextOnTheClipboardPrintsAtOnceAndTheWindowHides) {
    WriteSetting("DosPrint", "Yes");
    VimbrelProcess app("print-console-text");
    ASSERT_NO_FATAL_FAILURE(OpenPicture(app, Quarters(20, 10)));
    ASSERT_TRUE(::IsWindowVisible(app.MainWindow()));
    ConsoleStandIn console;
    ASSERT_TRUE(console.Hwnd());
    ::SetForegroundWindow(console.Hwnd());
    ASSERT_TRUE(WaitFor([&] {
        PumpMessages();
        return ::GetForegroundWindow() == console.Hwnd();
    }));

    const auto before = Jobs("Vimbrel_Print_Text-job_");
    ASSERT_TRUE(PutClipboardText(console.Hwnd(), "Console text, first line\r\n\tsecond line\r\nthird line\r\n"));
    const std::string pdf = WaitForNewJob(before, "Vimbrel_Print_Text-job_");
    ASSERT_FALSE(pdf.empty()) << "no text PDF in " << pdfFolder;
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(app.MainWindow()); })) << "the window hides after the print";
    EXPECT_TRUE(WaitFor([&] { return !CombinationFree(0, VK_SNAPSHOT); })) << "hotkeys on again";
    WriteTextCheck("console-text", pdf, 1, {"Console text, first line", "second line", "third line"});
    ASSERT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e

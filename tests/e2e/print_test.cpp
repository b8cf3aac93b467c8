// Printing a picture on the test PDF printer: from the menu, and with Ctrl+N and notes typed
// into the notes dialog. Each print leaves a check file that check_print_pdfs.cmake runs
// against the PDF with poppler once this suite has run (page count, notes and date line,
// and the picture's colours inside and outside the rectangle the layout gives it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "vimbrel_process.h"

#include <winspool.h>
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

    std::set<std::string> Jobs() const {
        std::set<std::string> jobs;
        for (const auto& entry : fs::directory_iterator(pdfFolder))
            if (entry.path().extension() == ".pdf" && entry.path().filename().string().rfind("Vimbrel_Print_Image-job_", 0) == 0)
                jobs.insert(entry.path().string());
        return jobs;
    }

    // The PDF of the job printed after `before` was taken.
    std::string WaitForNewJob(const std::set<std::string>& before) {
        std::string found;
        WaitFor([&] {
            for (const std::string& job : Jobs())
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

    // What the PDF must show, for the check after the suite.
    void WriteCheck(const std::string& name, const std::string& pdf, int pages, int left, int top, int width,
                    int height, const std::vector<std::string>& texts) {
        std::ofstream check(ChecksFolder() + "\\" + name + ".cmake");
        check << "set(PDF \"" << UnixPath(pdf) << "\")\n"
              << "set(PAGES " << pages << ")\n"
              << "set(DPI " << page.dpiX << ")\n"
              << "set(OFFSET " << page.offsetX << " " << page.offsetY << ")\n"
              << "set(RECT " << left << " " << top << " " << width << " " << height << ")\n"
              << "set(QUARTERS \"" << Rgb(kTopLeft) << ";" << Rgb(kTopRight) << ";" << Rgb(kBottomLeft) << ";"
              << Rgb(kBottomRight) << "\")\n"
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
        return notes != nullptr;
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

}  // namespace
}  // namespace e2e

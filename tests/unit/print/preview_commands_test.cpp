// Print Preview and console-text printing over fakes: a 600-dpi printer with a 4800 x 6600
// page, a preview window that remembers what it was told, and a user script run while the
// preview is open.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "../print/fake_print_job.h"
#include "print/preview_commands.h"
#include "print/text_print_commands.h"
#include "desktop/sys_hotkey.h"
#include "fake_ports.h"
#include "workspace/current_image.h"

namespace vimbrel {
namespace {

using Lines = std::vector<std::string>;

// The program state both groups work on.
struct GroupState {
    testing::FakeWindow window;
    testing::NoRegistrar registrar;
    TSysHotKey hotKeys{registrar};
    OptionFlags flags;
    CommandStates commands;
    CurrentImage image{commands, window, window, [] { return false; }};
    CommandRouter router{testing::StandardTable()};
    testing::NoFiles store;
    CommandDeps deps{image, flags, commands, store, store, window, window, window, window, hotKeys, router, "", ""};
};

class PreviewTest : public ::testing::Test,
                    protected GroupState,
                    PrinterPort,
                    ImagePrinter,
                    PrintUi,
                    PreviewPrinter,
                    PreviewUi,
                    PreviewWindow {
protected:
    void SetUp() override {
        hotKeys.SetActive(true);
        commands.SetEnabled(cmd::PrintSetup1, true);
        image.imgMain = Bitmap(1024, 768, 24);
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
        flags.PrintStyle = "Best";
        preview.BindTo(router);
    }

    // The printer.
    std::vector<std::string> PrinterNames() override { return {"PDF"}; }
    std::optional<PrinterOrientation> QueryOrientation() override { return orientation; }
    void SelectPrinter(const std::string&) override {}
    void SetOrientation(PrinterOrientation o) override { orientation = o; }
    std::unique_ptr<PrintJob> OpenJob() override {
        auto job = std::make_unique<FakePrintJob>(log, page.width, page.height);
        job->failPicture = failPicture;
        return job;
    }
    void ShowPrintSetup() override {
        log.push_back(std::string("setup dialog") + (window.busy ? " busy" : ""));
        orientation = PrinterOrientation::Landscape;
        page = {6600, 4800};
    }
    PrinterPage QueryPage() override { return {page, 600}; }
    std::optional<Lines> AskNotes() override {
        log.push_back("notes dialog");
        return notesAnswer;
    }
    std::string ShortDate() override { return "12/07/2026"; }
    std::string ShortTime() override { return "2:05 PM"; }

    // The preview window: the user's script runs while it is open.
    void ShowPreview(TPreviewForm& shown) override {
        form = &shown;
        hotKeysWhileOpen = hotKeys.Active();
        shown.FormCreate(*this);
        if (user) user(shown);
        form = nullptr;
    }
    void SetPageSize(PageSize size) override { pageSize = size; }
    void DrawPage(const Bitmap& picture, const PreviewPlacement& p) override {
        drawn = p;
        drawnFrom = picture.Width();
    }
    int BarPosition() override { return bar; }
    void SetBarPosition(int position) override { bar = position; }
    void SetZoomText(const std::string& text) override { zoomText = text; }
    std::string ZoomFirstLine() override { return zoomText; }
    void SelectZoomText() override { log.push_back("select " + zoomText); }
    void Close() override { log.push_back("close"); }

    void Open(std::function<void(TPreviewForm&)> script) {
        user = std::move(script);
        ASSERT_TRUE(router.Route(handler::PrintPreview));
    }

    Lines log;
    std::optional<PrinterOrientation> orientation = PrinterOrientation::Portrait;
    PageSize page{4800, 6600};
    std::optional<Lines> notesAnswer = Lines{"Ship it"};
    bool failPicture = false;
    ImagePrintCommands printing{deps, PrintPorts{*this, *this, *this}};
    PreviewCommands preview{deps, PreviewPorts{*this, *this, *this, *this, printing}};

    std::function<void(TPreviewForm&)> user;
    TPreviewForm* form = nullptr;
    bool hotKeysWhileOpen = true;
    PageSize pageSize;
    PreviewPlacement drawn;
    int drawnFrom = 0;
    int bar = kPreviewBarStart;
    std::string zoomText;
};

TEST_F(PreviewTest, BestOpensAt333PercentWithTheBarAt23AndTheHotkeysOffWhileOpen) {
    double scale = 0;
    Open([&](TPreviewForm& f) { scale = f.PreviewScale(); });
    EXPECT_DOUBLE_EQ(scale, 3.33251953125);
    EXPECT_FALSE(hotKeysWhileOpen);
    EXPECT_TRUE(hotKeys.Active());
    EXPECT_FALSE(window.busy);
    EXPECT_EQ(pageSize.width, 600);
    EXPECT_EQ(pageSize.height, 825);
    EXPECT_EQ(zoomText, "333%");
    EXPECT_EQ(bar, 23);
    EXPECT_EQ(drawn, PreviewPlacement::At(86, 16, 427, 320));
    EXPECT_EQ(drawnFrom, 1024);

    // The box shows the scale at once, whatever the messages let run on the way met.
    window.programEnded = true;
    zoomText.clear();
    Open([](TPreviewForm&) {});
    EXPECT_EQ(zoomText, "333%");
}

TEST_F(PreviewTest, PreviewNeedsWhatPrintNeeds) {
    commands.SetEnabled(cmd::PrintSetup1, false);
    image.EnableImageCommands(true);
    Open([&](TPreviewForm&) { ADD_FAILURE() << "no printer, no preview"; });
}

TEST_F(PreviewTest, TypedPercentagesSetTheScaleAndTheBarStopsAtItsEnds) {
    Open([&](TPreviewForm& f) {
        zoomText = "50";
        f.memZoomEnterPressed();
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 0.5);
        EXPECT_EQ(bar, 0);
        EXPECT_EQ(zoomText, "50%");
        // Half the printer's pixel scale: 1024 x 0.5 / 8 = 64.
        EXPECT_EQ(drawn, PreviewPlacement::At(268, 16, 64, 48));

        zoomText = "no number";
        f.memZoomEnterPressed();
        EXPECT_EQ(zoomText, "1%");
        zoomText = "123456";
        f.memZoomEnterPressed();
        EXPECT_EQ(zoomText, "10000%");
        EXPECT_EQ(bar, 70);
    });
    EXPECT_EQ(log, (Lines{"select 50%", "select 1%", "select 10000%"}));
}

TEST_F(PreviewTest, ClicksAndKeypadKeysStepTheScale) {
    Open([&](TPreviewForm& f) {
        zoomText = "100";
        f.memZoomEnterPressed();
        // A right click at 1.0 does nothing.
        f.Image1MouseDown(MouseButton::Right);
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 1.0);
        f.Image1MouseDown(MouseButton::Middle);
        f.Image1MouseDown(MouseButton::Left);
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 1.1);
        EXPECT_EQ(bar, 1);
        EXPECT_EQ(zoomText, "110%");
        f.Image1MouseDown(MouseButton::Right);
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 1.0);

        // Left clicks go past 8.0 while the bar stays at its end.
        zoomText = "790";
        f.memZoomEnterPressed();
        f.Image1MouseDown(MouseButton::Left);
        f.Image1MouseDown(MouseButton::Left);
        EXPECT_EQ(zoomText, "810%");
        EXPECT_EQ(bar, 70);

        // Keypad plus at 69 moves to the end: 8.0.
        bar = 69;
        f.FormKeyDown(kKeyAdd, false);
        EXPECT_EQ(bar, 70);
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 8.0);
        f.FormKeyDown(kKeySubtract, false);
        EXPECT_EQ(bar, 68);
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 7.8);
        EXPECT_EQ(zoomText, "780%");
        // Plus with Ctrl is no zoom key.
        f.FormKeyDown(kKeyAdd, true);
        EXPECT_EQ(bar, 68);
    });
}

TEST_F(PreviewTest, CtrlPPrintsWhatThePreviewShowsAndClosesIt) {
    flags.PrintDate = false;
    Open([&](TPreviewForm& f) { f.FormKeyDown('P', true); });
    // The preview's placement times the divisor: Top 16 x 8 = 128, Left 86 x 8 = 688.
    EXPECT_EQ(log, (Lines{"begin Vimbrel Print Image", "picture 688,128 3412x2559 from 1024x768", "end", "close"}));
}

TEST_F(PreviewTest, CancelledNotesLeaveThePreviewOpenAndAFailedPrintKeepsItOpenToo) {
    flags.PrintNotes = true;
    notesAnswer.reset();
    Open([&](TPreviewForm& f) {
        f.PrintButtonClick();
        EXPECT_EQ(log, Lines{"notes dialog"});
        log.clear();
        notesAnswer = Lines{"Ship it"};
        failPicture = true;
        EXPECT_THROW(f.PrintButtonClick(), std::runtime_error);
        EXPECT_FALSE(window.busy);
    });
    EXPECT_EQ(log, (Lines{"notes dialog", "begin Vimbrel Print Image", "text 688,73 12/07/2026     2:05 PM", "abort"}));
    EXPECT_TRUE(hotKeys.Active());
}

TEST_F(PreviewTest, PrinterSetupRedrawsThePageForTheNewOrientationAndKeepsTheScale) {
    Open([&](TPreviewForm& f) {
        f.SetupSpeedButtonClick();
        EXPECT_DOUBLE_EQ(f.PreviewScale(), 3.33251953125);
        EXPECT_EQ(f.PreviewDivisor(), 10.0);
    });
    EXPECT_EQ(log, Lines{"setup dialog busy"});
    EXPECT_EQ(pageSize.width, 660);
    EXPECT_EQ(pageSize.height, 480);
    // (660 - 341 - 12) div 2 = 153.
    EXPECT_EQ(drawn, PreviewPlacement::At(153, 12, 341, 256));
}

class ConsoleTextTest : public ::testing::Test, protected GroupState, TextPrinter {
protected:
    struct Job : TextJob {
        explicit Job(ConsoleTextTest& t) : t_(t) {}
        int PageWidth() override { return 1000; }
        int PageHeight() override { return 1000; }
        int AverageCharWidth() override { return 10; }
        int CharHeight() override { return 20; }
        Size Extent(std::string_view text) override { return {10 * int(text.size()), 20}; }
        std::size_t PreviousCharStart(std::string_view, std::size_t end) override { return end - 1; }
        void Draw(int, int, std::string_view text) override {
            if (t_.fail) throw std::runtime_error("paper jam");
            t_.log.push_back("draw " + std::string(text) + (t_.hotKeys.Active() ? "" : " hotkeys off"));
        }
        void NewPage() override {}
        void BeginDoc(const TextFont& font) override { t_.log.push_back("begin " + font.face); }
        void EndDoc() override { t_.log.push_back("end"); }
        void AbortDoc() override { t_.log.push_back("abort"); }
        ConsoleTextTest& t_;
    };
    std::unique_ptr<TextJob> OpenTextJob() override { return std::make_unique<Job>(*this); }
    std::optional<TextFont> PrintTextFont() override { return font; }
    std::optional<std::string> ClipboardText() override { return text; }

    void SetUp() override {
        hotKeys.SetActive(true);
        textPrint.BindTo(router);
    }

    Lines log;
    bool fail = false;
    std::optional<TextFont> font = TextFont{"System", 8};
    std::optional<std::string> text = std::string("C:\\>dir");
    TextPrintCommands textPrint{deps, *this};
};

TEST_F(ConsoleTextTest, TheClipboardsTextPrintsInPrintTextFontThenTheWindowHides) {
    ASSERT_TRUE(router.Route(handler::PrintConsoleText));
    EXPECT_EQ(log, (Lines{"begin System", "draw C:\\>dir hotkeys off", "end"}));
    EXPECT_EQ(window.log, Lines{"hide"});
    EXPECT_TRUE(hotKeys.Active());

    log.clear();
    font.reset();
    textPrint.PrintConsoleText();
    EXPECT_EQ(log.front(), "begin Courier New");
}

TEST_F(ConsoleTextTest, AFailedPrintIsReportedAndTheWindowStaysAsItWas) {
    fail = true;
    try {
        textPrint.PrintConsoleText();
        FAIL() << "the failure was swallowed";
    } catch (const ETextPrintError& e) {
        EXPECT_STREQ(e.what(), "Error printing text.");
    }
    EXPECT_EQ(log, (Lines{"begin System", "abort"}));
    EXPECT_TRUE(window.log.empty());
    EXPECT_FALSE(window.busy);

}

TEST_F(ConsoleTextTest, AnEmptyTextPrintsNothingAndTheWindowStillHides) {
    for (std::optional<std::string> none : {std::optional<std::string>(""), std::optional<std::string>()}) {
        log.clear();
        window.log.clear();
        text = none;
        textPrint.PrintConsoleText();
        EXPECT_TRUE(log.empty()) << "no job";
        EXPECT_EQ(window.log, Lines{"hide"});
        EXPECT_TRUE(hotKeys.Active());
    }
}

}  // namespace
}  // namespace vimbrel

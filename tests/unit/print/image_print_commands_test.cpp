// The print commands' flow over fakes of the printer, the notes dialog and the window: what
// reaches the printer, in which order, and what the program looks like afterwards.
#include <gtest/gtest.h>

#include <memory>

#include "../print/fake_print_job.h"
#include "print/image_print_commands.h"
#include "fake_ports.h"
#include "desktop/sys_hotkey.h"
#include "workspace/current_image.h"

namespace vimbrel {
namespace {

using Lines = std::vector<std::string>;

// The shared window, with its warnings written to the print log so their order shows.
struct FakeWindow : testing::FakeWindow {
    Lines* printLog = nullptr;
    void Warning(const std::string& text) override {
        printLog->push_back("warning " + text + " (status " + statusText + ")");
    }
};

using NoStore = testing::NoFiles;

class PrintCommandsTest : public ::testing::Test, PrinterPort, ImagePrinter, PrintUi {
protected:
    // A job that notes, with each begin, whether the program was busy while it printed.
    class Job : public FakePrintJob {
    public:
        Job(PrintCommandsTest& t) : FakePrintJob(t.log), t_(t) {}
        ~Job() override {
            if (open_) t_.stuck = true;
        }
        void BeginDoc(const std::string& title) override {
            FakePrintJob::BeginDoc(title + t_.Busy());
            open_ = true;
        }
        void EndDoc() override {
            FakePrintJob::EndDoc();
            open_ = false;
        }
        void AbortDoc() override {
            FakePrintJob::AbortDoc();
            open_ = false;
        }

    private:
        PrintCommandsTest& t_;
        bool open_ = false;
    };

    void SetUp() override {
        window.printLog = &log;
        hotKeys.SetActive(true);
        commands.SetEnabled(cmd::PrintSetup1, true);
        image.imgMain = Bitmap(1024, 768, 24);
        image.CaptureText = "Full Screen capture";
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
        window.statusText.clear();
        flags.PrintDate = true;
    }

    // PrinterPort: the printer keeps its orientation across jobs.
    std::vector<std::string> PrinterNames() override { return {"PDF"}; }
    std::optional<PrinterOrientation> QueryOrientation() override { return orientation; }
    void SelectPrinter(const std::string&) override {}
    void SetOrientation(PrinterOrientation o) override {
        orientation = o;
        log.push_back(o == PrinterOrientation::Landscape ? "landscape" : "portrait");
    }
    // ImagePrinter: a job left open keeps the printer from taking the next one.
    std::unique_ptr<PrintJob> OpenJob() override {
        if (stuck || unreachable) throw std::runtime_error("printer busy");
        auto job = std::make_unique<Job>(*this);
        job->failPicture = failNextPicture;
        failNextPicture = false;
        return job;
    }
    void ShowPrintSetup() override { log.push_back("setup dialog" + Busy()); }
    // PrintUi.
    std::optional<Lines> AskNotes() override {
        log.push_back("notes dialog" + Busy());
        return notesAnswer;
    }
    std::string ShortDate() override { return "12/07/2026"; }
    std::string ShortTime() override { return "2:05 PM"; }

    std::string Busy() const {
        return std::string(hotKeys.Active() ? " hotkeys on" : " hotkeys off") + (window.busy ? " busy" : "") +
               (window.statusText.empty() ? "" : " '" + window.statusText + "'");
    }
    void ExpectRestored() {
        EXPECT_TRUE(hotKeys.Active());
        EXPECT_FALSE(window.busy);
        EXPECT_EQ(window.statusText, "(1024x 768) - Full Screen capture");
    }

    Lines log;
    FakeWindow window;
    testing::NoRegistrar registrar;
    TSysHotKey hotKeys{registrar};
    OptionFlags flags;
    CommandStates commands;
    CurrentImage image{commands, window, window, [] { return false; }};
    CommandRouter router{testing::StandardTable()};
    std::optional<PrinterOrientation> orientation = PrinterOrientation::Portrait;
    std::optional<Lines> notesAnswer = Lines{"Ship it", "second line"};
    bool stuck = false, unreachable = false, failNextPicture = false;
    NoStore store;
    ImagePrintCommands print{
        CommandDeps{image, flags, commands, store, store, window, window, window, window, hotKeys, router, "", ""},
        PrintPorts{*this, *this, *this}};
};

TEST_F(PrintCommandsTest, CtrlNAsksForNotesThenPrintsDatePictureAndNotesWithTheProgramBusy) {
    print.BindTo(router);
    flags.PrintStyle = "Best";
    ASSERT_TRUE(router.Route(handler::PrintWithNotes));
    EXPECT_EQ(log, (Lines{
                       "notes dialog hotkeys off",
                       "begin Vimbrel Print Image hotkeys off busy 'Printing........'",
                       "text 694,70 12/07/2026     2:05 PM",
                       "picture 694,125 3412x2559 from 1024x768",
                       "line 694,2729 clip 694,2729-764,2774 Ship it",
                       "line 694,2774 clip 694,2774-804,2819 second line",
                       "end",
                   }));
    EXPECT_EQ(print.PrintNotesText(), (Lines{"Ship it", "second line"}));
    ExpectRestored();
}

TEST_F(PrintCommandsTest, PrintAsksForNotesOnlyWhenPrintNotesIsOn) {
    print.BindTo(router);
    flags.PrintDate = false;
    router.Route(handler::Print);
    EXPECT_EQ(log, (Lines{"begin Vimbrel Print Image hotkeys off busy 'Printing........'",
                          "picture 125,125 4550x3412 from 1024x768", "end"}));
    log.clear();
    flags.PrintNotes = true;
    router.Route(handler::Print);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "notes dialog hotkeys off '(1024x 768) - Full Screen capture'");
    EXPECT_EQ(log.at(log.size() - 2), "line 125,3627 clip 125,3627-235,3672 second line");
}

TEST_F(PrintCommandsTest, CancelledNotesPrintNothingAndForgetTheLastNotes) {
    print.PrintImage(true);
    log.clear();
    notesAnswer.reset();
    print.PrintImage(true);
    EXPECT_EQ(log, Lines{"notes dialog hotkeys off '(1024x 768) - Full Screen capture'"});
    EXPECT_TRUE(print.PrintNotesText().empty());
    EXPECT_TRUE(hotKeys.Active());
    EXPECT_FALSE(window.busy);
}

TEST_F(PrintCommandsTest, AFailureAfterTheJobBeganAbandonsItSoTheNextPrintWorks) {
    failNextPicture = true;
    print.PrintImage(false);
    EXPECT_EQ(log, (Lines{"begin Vimbrel Print Image hotkeys off busy 'Printing........'",
                          "text 125,70 12/07/2026     2:05 PM", "abort",
                          "warning Printer problem - Unable to print image (status Printing........)"}));
    ExpectRestored();
    EXPECT_FALSE(stuck);
    log.clear();
    print.PrintImage(false);
    EXPECT_EQ(log.back(), "end");
}

TEST_F(PrintCommandsTest, APrinterThatCannotBeReachedGivesTheSameMessage) {
    unreachable = true;
    print.PrintImage(false);
    EXPECT_EQ(log, Lines{"warning Printer problem - Unable to print image (status Printing........)"});
    ExpectRestored();
}

TEST_F(PrintCommandsTest, EjectEndsWithAFurtherPage) {
    flags.Eject = true;
    flags.PrintDate = false;
    print.PrintImage(false);
    EXPECT_EQ(log, (Lines{"begin Vimbrel Print Image hotkeys off busy 'Printing........'",
                          "picture 125,125 4550x3412 from 1024x768", "new page", "end"}));
}

TEST_F(PrintCommandsTest, AutoOrientTurnsThePageToThePictureAndTheOrientationStays) {
    flags.PrintDate = false;
    flags.PrintStyle = "Zoom";
    flags.AutoOrient = true;
    print.PrintImage(false);  // 1024 x 768: landscape, laid out with the landscape margin
    EXPECT_EQ(log.at(0), "landscape");
    EXPECT_EQ(log.at(2), "picture 1825,125 1024x768 from 1024x768");
    log.clear();
    image.imgMain = Bitmap(300, 300, 24);
    print.PrintImage(false);
    EXPECT_EQ(log.at(0), "portrait") << "a square picture prints portrait";
    log.clear();
    flags.AutoOrient = false;
    image.imgMain = Bitmap(1024, 768, 24);
    print.PrintImage(false);
    EXPECT_EQ(log.at(1), "picture 1888,125 1024x768 from 1024x768") << "still portrait";
    EXPECT_EQ(orientation, PrinterOrientation::Portrait);
}

TEST_F(PrintCommandsTest, NothingPrintsWithoutAPictureOrAPrinter) {
    image.Clear1Click();
    print.PrintImage(true);
    image.imgMain = Bitmap(10, 10, 24);
    image.EnableImageCommands(true);
    commands.SetEnabled(cmd::Print1, false);  // no printer
    print.PrintImage(true);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(hotKeys.Active());
}

TEST_F(PrintCommandsTest, PrintSetupShowsTheSystemDialogWithTheBusyCursor) {
    print.BindTo(router);
    router.Route(handler::PrintSetup);
    EXPECT_EQ(log, Lines{"setup dialog hotkeys on busy"});
    EXPECT_FALSE(window.busy);
}

}  // namespace
}  // namespace vimbrel

// The image print's page arithmetic and the routines that put the date, picture and notes
// on a page, on the 4800 x 6600 page of a 600-dpi printer unless a case says otherwise.
#include <gtest/gtest.h>

#include "fake_print_job.h"
#include "print/print_layout.h"
#include "print/print_routines.h"

namespace vimbrel {
namespace {

constexpr PageSize kPage{4800, 6600};

PrintLayout Layout(PrintStyle style, int w, int h, double zoom = 1.0, bool landscape = false, PageSize page = kPage) {
    return ClampToPage(LayoutPicture(style, page, landscape, w, h, zoom), page);
}

TEST(PrintLayout, BestFitsThreeQuartersOfThePageWithTheBoxCentred) {
    // 0.75 x 4550 = 3412.5 and 0.75 x 6350 = 4762.5 round to the even neighbours.
    EXPECT_EQ(Layout(PrintStyle::Best, 1024, 768), PrintLayout::At(694, 125, 3412, 2559));
}

TEST(PrintLayout, FullFillsTheBoxInsideTheMargins) {
    EXPECT_EQ(Layout(PrintStyle::Full, 100, 100), PrintLayout::At(125, 125, 4550, 4550));
    // When the height limits the scale the picture starts at the box's left edge.
    EXPECT_EQ(Layout(PrintStyle::Full, 100, 200), PrintLayout::At(125, 125, 3175, 6350));
    // 200 x 100 on A4 at 300 dpi: 1114.5 rounds to 1114.
    EXPECT_EQ(Layout(PrintStyle::Full, 200, 100, 1.0, false, {2479, 3508}), PrintLayout::At(125, 125, 2229, 1114));
}

TEST(PrintLayout, ZoomPrintsAtTheViewsScaleCentredAndClampedToThePage) {
    EXPECT_EQ(Layout(PrintStyle::Zoom, 1024, 768), PrintLayout::At(1888, 125, 1024, 768));
    // Landscape takes a further margin off before halving (3651 / 2 truncates).
    EXPECT_EQ(Layout(PrintStyle::Zoom, 1024, 768, 1.0, true), PrintLayout::At(1825, 125, 1024, 768));
    // Halves to even: 2.5 -> 2, 1.5 -> 2.
    EXPECT_EQ(Layout(PrintStyle::Zoom, 5, 3, 0.5), PrintLayout::At(2399, 125, 2, 2));
    // 10:1 wider and higher than the page: never nearer the edge than the margin, and
    // squeezed to the page's right and bottom edges.
    EXPECT_EQ(Layout(PrintStyle::Zoom, 1024, 768, 10.0), PrintLayout::At(125, 125, 4675, 6475));
}

TEST(PrintLayout, StoredStylesAndOrientation) {
    EXPECT_EQ(PrintStyleFromText("Best"), PrintStyle::Best);
    EXPECT_EQ(PrintStyleFromText("Zoom"), PrintStyle::Zoom);
    EXPECT_EQ(PrintStyleFromText("Full"), PrintStyle::Full);
    EXPECT_EQ(PrintStyleFromText("Large"), PrintStyle::Full);
    EXPECT_TRUE(PrintsLandscape(1024, 768));
    EXPECT_FALSE(PrintsLandscape(768, 1024));
    EXPECT_FALSE(PrintsLandscape(500, 500)) << "a square picture prints portrait";
}

TEST(PrintLayout, NotesRunOnToANewPagePastNineTenthsOfThePage) {
    // Limit 5940: lines at 5865 and 5905 fit, the third would start at 5945.
    const PrintLayout layout = PrintLayout::At(125, 125, 4550, 5700);
    auto places = PlaceNotesLines(layout, 6600, 4, 40);
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[0], (NotesLinePlace{125, 5865, false}));
    EXPECT_EQ(places[1], (NotesLinePlace{125, 5905, false}));
    EXPECT_EQ(places[2], (NotesLinePlace{125, 125, true}));
    EXPECT_EQ(places[3], (NotesLinePlace{125, 165, false}));
}

TEST(PrintLayout, NotesOfAPictureFarFromTheLeftEdgeStartAt225) {
    // "Best" on a 5098-pixel-wide page puts the picture at 731.
    const PrintLayout layout = Layout(PrintStyle::Best, 1024, 768, 1.0, false, {5098, 6600});
    ASSERT_EQ(layout.left, 731);
    EXPECT_EQ(PlaceNotesLines(layout, 6600, 1, 45).at(0).x, 225);
    EXPECT_EQ(PlaceNotesLines(PrintLayout::At(700, 125, 10, 10), 6600, 1, 45).at(0).x, 700);
}

TEST(PrintRoutines, DateLineAboveThePictureAndNotesClippedToTheirStep) {
    std::vector<std::string> log;
    FakePrintJob page(log);
    const PrintLayout layout = PrintLayout::At(694, 125, 3412, 2559);
    PrintDateLine(page, layout, DateLineText("12/07/2026", "2:05 PM"));
    PrintNotesLines(page, layout, {"first", "", "third line"});
    PrintNotesLines(page, layout, {});
    EXPECT_EQ(log, (std::vector<std::string>{
                       "text 694,70 12/07/2026     2:05 PM",  // 125 - 40 - 15
                       "line 694,2729 clip 694,2729-744,2774 first",
                       "line 694,2774 clip 694,2774-694,2819 ",
                       "line 694,2819 clip 694,2819-794,2864 third line",
                   }));
}

TEST(PrintRoutines, NotesPastTheLimitStartANewPageOnTheSameJob) {
    std::vector<std::string> log;
    FakePrintJob page(log);
    PrintNotesLines(page, PrintLayout::At(125, 125, 4550, 5730), {"a", "b", "c"});
    EXPECT_EQ(log, (std::vector<std::string>{"line 125,5900 clip 125,5900-135,5945 a", "new page",
                                             "line 125,125 clip 125,125-135,170 b",
                                             "line 125,170 clip 125,170-135,215 c"}));
}

TEST(PrintRoutines, PicturesGoToThePrinterBottomUpIn24Bits) {
    Bitmap grey(3, 2, 8);
    grey.Palette().resize(256);
    grey.Palette()[7] = RgbQuad{1, 2, 3, 0};
    grey.Row(0)[0] = 7;
    PrintableDib dib = MakePrintableDib(grey);
    ASSERT_EQ(dib.bits.size(), 2u * 12u) << "rows of 9 bytes padded to 12";
    EXPECT_EQ(dib.bits[12], 1);  // top row last
    EXPECT_EQ(dib.bits[13], 2);
    EXPECT_EQ(dib.bits[14], 3);

    Bitmap wide(2, 2, 32);
    wide.SetPixelColour(1, 1, RgbQuad{9, 8, 7, 255});
    dib = MakePrintableDib(wide);
    EXPECT_EQ((std::vector<std::uint8_t>(dib.bits.begin() + 3, dib.bits.begin() + 6)),
              (std::vector<std::uint8_t>{9, 8, 7}));

    Bitmap colour(1, 2, 24);
    colour.SetPixelColour(0, 0, RgbQuad{10, 20, 30, 0});
    colour.SetPixelColour(0, 1, RgbQuad{40, 50, 60, 0});
    dib = MakePrintableDib(colour);
    EXPECT_EQ(dib.bits, (std::vector<std::uint8_t>{40, 50, 60, 0, 10, 20, 30, 0}));
}

TEST(PrintRoutines, PrintBitmapRefusesWhatSixteenBitsCannotCarry) {
    std::vector<std::string> log;
    FakePrintJob page(log);
    Bitmap picture(4, 3, 24);
    PrintBitmap(page, 125, 125, 65535, 400, picture);
    EXPECT_EQ(log, std::vector<std::string>{"picture 125,125 65535x400 from 4x3"});
    EXPECT_THROW(PrintBitmap(page, 125, 125, -5, 400, picture), std::out_of_range);
    EXPECT_THROW(PrintBitmap(page, 125, 65536, 10, 10, picture), std::out_of_range);
}

}  // namespace
}  // namespace vimbrel

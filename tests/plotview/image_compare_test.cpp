#include <gtest/gtest.h>

#include <string>

#include "picture/image_compare.h"
#include "support/test_files.h"

namespace {

using plot::Image;
using plot::Rgb;

void FillRect(Image* pImage, int left, int top, int right, int bottom, uint32_t colour) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) pImage->At(x, y) = colour;
}

// A drawing of a blue square and a red bar on 200 x 100 pixels.
Image Drawing(int dx = 0, int dy = 0, bool withBar = true, uint32_t square = Rgb(0, 0, 255)) {
    Image image(200, 100);
    FillRect(&image, 20 + dx, 20 + dy, 59 + dx, 59 + dy, square);
    if (withBar) FillRect(&image, 100 + dx, 40 + dy, 179 + dx, 41 + dy, Rgb(255, 0, 0));
    return image;
}

TEST(ImageCompare, IdenticalAndSlightlyShiftedDrawingsMatch) {
    const Image reference = Drawing();
    for (const int shift : {0, 1, 2}) {
        const auto c = plot::CompareImages(Drawing(shift, -shift), reference);
        ASSERT_TRUE(c.ok) << c.error;
        EXPECT_DOUBLE_EQ(c.coverage, 1.0) << shift;
        EXPECT_DOUBLE_EQ(c.precision, 1.0) << shift;
        EXPECT_DOUBLE_EQ(c.colourCoverage, 1.0) << shift;
        EXPECT_EQ(c.inkOutsideReferenceBox, 0u);
    }
    const auto same = plot::CompareImages(reference, reference);
    EXPECT_EQ(same.meanColourError, 0.0);
    EXPECT_EQ(same.referenceInk, 40u * 40u + 80u * 2u);
    EXPECT_EQ(plot::ToString(same.referenceBox), "[20,20]-[179,59]");
}

TEST(ImageCompare, ShiftsBeyondTheRadiusMissingAndExtraInk) {
    const Image reference = Drawing();
    // Five pixels down: the two-pixel bar no longer meets itself.
    auto c = plot::CompareImages(Drawing(0, 5), reference);
    EXPECT_LT(c.coverage, 0.95);
    EXPECT_LT(c.precision, 0.95);

    // The bar missing: its 160 of 1760 ink pixels are not covered.
    c = plot::CompareImages(Drawing(0, 0, false), reference);
    EXPECT_NEAR(c.coverage, 1600.0 / 1760.0, 1e-9);
    EXPECT_DOUBLE_EQ(c.precision, 1.0);

    // A stray mark far outside the drawing.
    Image stray = Drawing();
    FillRect(&stray, 190, 90, 194, 94, Rgb(0, 0, 0));
    c = plot::CompareImages(stray, reference);
    EXPECT_DOUBLE_EQ(c.coverage, 1.0);
    EXPECT_NEAR(c.precision, 1760.0 / 1785.0, 1e-9);
    EXPECT_EQ(c.inkOutsideReferenceBox, 25u);
    EXPECT_EQ(plot::ToString(c.plotBox), "[20,20]-[194,94]");
}

TEST(ImageCompare, WrongColoursAreCaughtWhereTheShapesAgree) {
    const auto c = plot::CompareImages(Drawing(0, 0, true, Rgb(255, 0, 0)), Drawing());
    EXPECT_DOUBLE_EQ(c.coverage, 1.0);
    EXPECT_DOUBLE_EQ(c.precision, 1.0);
    // The square (1600 of 1760 pixels) is red instead of blue: every plot
    // pixel near it, red or white, is 255 from blue; the bar matches.
    EXPECT_NEAR(c.colourCoverage, 160.0 / 1760.0, 1e-9);
    EXPECT_NEAR(c.meanColourError, 255.0 * 1600 / 1760, 1e-9);
}

// The difference picture: matched ink grey, ink of a wrong colour orange,
// reference ink the plot misses red, plot ink far from the reference blue.
TEST(ImageCompare, DifferencePictureShowsWhatDiffers) {
    plot::CompareOptions options;
    options.makeDifference = true;
    // The square red instead of blue and 30 pixels to the right; no bar.
    const auto c = plot::CompareImages(Drawing(30, 0, false, Rgb(255, 0, 0)), Drawing(), options);
    ASSERT_EQ(c.difference.width, 200);
    EXPECT_EQ(c.difference.At(25, 40), Rgb(255, 0, 0));    // reference only
    EXPECT_EQ(c.difference.At(140, 40), Rgb(255, 0, 0));   // the bar, missing
    EXPECT_EQ(c.difference.At(85, 40), Rgb(0, 0, 255));    // plot only
    EXPECT_EQ(c.difference.At(55, 40), Rgb(255, 160, 0));  // both, red for blue
    EXPECT_EQ(c.difference.At(5, 5), 0xFFFFFFu);
    const auto same = plot::CompareImages(Drawing(), Drawing(), options);
    EXPECT_EQ(same.difference.At(55, 40), Rgb(190, 190, 190));  // both, in its colour
    EXPECT_TRUE(plot::CompareImages(Drawing(), Drawing()).difference.pixels.empty());
}

TEST(ImageCompare, PicturesOfDifferentSizesAreBroughtToTheReferenceSize) {
    // The plot rendered at twice the size: each reference pixel is the mean
    // of a 2 x 2 block.
    Image large(400, 200);
    FillRect(&large, 40, 40, 119, 119, Rgb(0, 0, 255));
    FillRect(&large, 200, 80, 359, 83, Rgb(255, 0, 0));
    const auto c = plot::CompareImages(large, Drawing());
    EXPECT_EQ(c.width, 200);
    EXPECT_EQ(c.height, 100);
    EXPECT_DOUBLE_EQ(c.coverage, 1.0);
    EXPECT_DOUBLE_EQ(c.precision, 1.0);
    EXPECT_EQ(c.meanColourError, 0.0);

    // Three pixels onto two: each target pixel is the mean of 1.5 source
    // pixels, one white and half of the black middle one: 255 * 2 / 3.
    Image three(3, 1);
    three.At(1, 0) = Rgb(0, 0, 0);
    const Image two = plot::Resample(three, 2, 1);
    EXPECT_EQ(two.At(0, 0), Rgb(170, 170, 170));
    EXPECT_EQ(two.At(1, 0), Rgb(170, 170, 170));
}

TEST(ImageCompare, ReferenceFromAPngFile) {
    ScratchDir dir;
    const std::string path = dir.path() + "/reference.png";
    std::string error;
    ASSERT_TRUE(plot::SavePng(Drawing(), path, &error)) << error;
    const auto c = plot::ComparePlotToReference(Drawing(1, 1), path);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_DOUBLE_EQ(c.coverage, 1.0);
    EXPECT_NE(c.ToString().find("coverage=1.0000"), std::string::npos) << c.ToString();

    const auto missing = plot::ComparePlotToReference(Drawing(), dir.path() + "/none.png");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("none.png"), std::string::npos);
}

TEST(ImageCompare, PlotTurnedAndPlacedOnTheSheet) {
    // A portrait plot of a landscape drawing, covering the sheet less its
    // margins: a 100 x 50 plot with marks at its top-left and bottom-right
    // corners, turned a quarter clockwise, is 50 x 100 and lies at (10, 10)
    // on a 70 x 120 sheet.
    Image plot(100, 50);
    FillRect(&plot, 0, 0, 3, 3, Rgb(0, 0, 0));
    FillRect(&plot, 96, 46, 99, 49, Rgb(255, 0, 0));
    Image sheet(70, 120);
    FillRect(&sheet, 56, 10, 59, 13, Rgb(0, 0, 0));      // top-left went top-right
    FillRect(&sheet, 10, 106, 13, 109, Rgb(255, 0, 0));  // bottom-right went bottom-left
    plot::CompareOptions options;
    options.plotQuarterTurns = 1;
    options.placement = plot::Placement{10, 10, 50, 100};
    const auto c = plot::CompareImages(plot, sheet, options);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_DOUBLE_EQ(c.coverage, 1.0);
    EXPECT_DOUBLE_EQ(c.precision, 1.0);
    EXPECT_DOUBLE_EQ(c.colourCoverage, 1.0);
    EXPECT_EQ(plot::ToString(c.plotBox), "[10,10]-[59,109]");

    const Image back = plot::TurnClockwise(plot::TurnClockwise(plot, 1), 3);
    EXPECT_EQ(back.pixels, plot.pixels);
    EXPECT_EQ(plot::TurnClockwise(plot, 2).At(99, 49), Rgb(0, 0, 0));
}

}  // namespace

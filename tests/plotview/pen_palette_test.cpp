// The pens and the raster palette are one palette on the plotters: a raster
// configuration replaces the pens until they are defined again.
#include <gtest/gtest.h>

#include <string>

#include "plotview/plot_bytes.h"
#include "reader/plot_reader.h"

namespace {

using namespace plotbytes;
using plot::Rgb;

std::string Configuration(int encoding, int bitsPerIndex) {
    const int primary = encoding == 3 ? 8 : bitsPerIndex == 1 ? 0 : 8;
    return std::string{char(0),       char(encoding), char(bitsPerIndex),
                       char(primary), char(primary),  char(primary)};
}

// One grey-level pixel at (10, 10), placed as the driver places bitmaps.
std::string EmbeddedRaster(const std::string& configuration) {
    return ";PUPA10,10" ESC "%1A" ESC "*r1S" ESC "*t300R" ESC "*v6W" + configuration +
           ESC "*r1A" ESC "*b0M" + Transfer(std::string(configuration[1] == 3 ? 3 : 1, '\0')) +
           ESC "*rC" ESC "%0B";
}

// A horizontal line at y with the pen selected before.
std::string Line(int pen, int y) {
    return "SP" + std::to_string(pen) + Pe().MoveAbsolute(100, y).Draw(300, y).Text();
}

// Rows of ink of a line's stroke at x = 200.
int Thickness(const plot::Image& page, int y) {
    int rows = 0;
    for (int k = y - 20; k <= y + 20; ++k)
        if (page.At(200, k) != kWhite) ++rows;
    return rows;
}

TEST(PenPalette, RasterConfigurationReplacesThePens) {
    // Pen 2 blue and pen 3 red, 1 mm wide: 11.8 pixels at 300 dpi, 5.9 on
    // each side of the centre of the row, so 11 rows.
    const std::string pens = "NP256PC2,0,0,255PC3,255,0,0PW1,2PW1,3";
    const struct {
        const char* what;
        std::string configuration;
        uint32_t pen2, pen3;  // the colours pens 2 and 3 draw in after it
    } cases[] = {
        // The simple-colour palette: index 1 red, 2 green, 3 yellow, 4 blue.
        {"8-bit grey", Configuration(1, 8), Rgb(0, 255, 0), Rgb(255, 255, 0)},
        {"direct RGB, 3 bits per index", Configuration(3, 3), Rgb(0, 255, 0), Rgb(255, 255, 0)},
        // Two entries, white and black: pen 2 wraps to white, which leaves
        // the paper as it is, pen 3 to black.
        {"one bit", Configuration(1, 1), kWhite, Rgb(0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = Render(Header() + pens + Line(2, 100) + EmbeddedRaster(c.configuration) +
                              Line(2, 200) + Line(3, 300) + kEnd);
        ASSERT_TRUE(r.ok) << r.error;
        const plot::Image& page = r.pages.at(0);
        EXPECT_EQ(page.At(200, 100), Rgb(0, 0, 255));  // before the raster
        EXPECT_EQ(Thickness(page, 100), 11);
        EXPECT_EQ(page.At(200, 200), c.pen2);
        EXPECT_EQ(page.At(200, 300), c.pen3);
        // The default width, 0.35 mm: 4.1 pixels, 2.07 on each side: 5 rows.
        EXPECT_EQ(Thickness(page, 300), 5);
        EXPECT_TRUE(HasWarning(r, "after a raster configuration replaced the palette"));
    }
}

// Pens defined again after the raster, a new palette of pens ("NP" after
// the raster), or a lenient reading: pen 2 draws blue, 1 mm wide.
TEST(PenPalette, PensAfterTheRasterDrawAsTheDriverMeant) {
    const std::string raster = EmbeddedRaster(Configuration(1, 8));
    const struct {
        const char* what;
        std::string body;
        bool lenient;
    } cases[] = {
        {"defined again", "NP256PC2,0,0,255PW1,2" + raster + "PC2,0,0,255PW1,2", false},
        {"a new palette", raster + "NP256PC2,0,0,255PW1,2", false},
        {"read leniently", "NP256PC2,0,0,255PW1,2" + raster, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = Render(Header() + c.body + Line(2, 200) + kEnd, c.lenient);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.pages.at(0).At(200, 200), Rgb(0, 0, 255));
        EXPECT_EQ(Thickness(r.pages.at(0), 200), 11);
        EXPECT_FALSE(HasWarning(r, "replaced the palette"));
    }
}

TEST(PenPalette, PensUsedAreListedWithColourAndWidth) {
    const auto r = Render(Header() + "NP256PC2,0,0,255PW1,2" + Line(2, 100) + Line(2, 120) +
                          EmbeddedRaster(Configuration(1, 8)) + Line(2, 200) + kEnd);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.summary.pensUsed.size(), 2u);
    EXPECT_EQ(r.summary.pensUsed[0].pen, 2);
    EXPECT_EQ(r.summary.pensUsed[0].colour, Rgb(0, 0, 255));
    EXPECT_DOUBLE_EQ(r.summary.pensUsed[0].widthMm, 1.0);
    EXPECT_EQ(r.summary.pensUsed[0].uses, 2u);
    EXPECT_EQ(r.summary.pensUsed[1].colour, Rgb(0, 255, 0));
    EXPECT_DOUBLE_EQ(r.summary.pensUsed[1].widthMm, 0.35);
    EXPECT_EQ(r.summary.pensUsed[1].uses, 1u);
}

}  // namespace

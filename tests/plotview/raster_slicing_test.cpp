// A raster drawn slice by slice as its rows come is the raster drawn whole:
// every slice size, at reductions and enlargements, with and without
// antialiasing, and a raster far taller than one picture of it could be.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plotview/plot_bytes.h"
#include "reader/plot_reader.h"

namespace {

using namespace plotbytes;
using plot::Rgb;

// A method-1 row of the bytes, each a run of one.
std::string RunLength(std::initializer_list<int> values) {
    std::string text;
    for (const int v : values) text += Bytes({0, v});
    return Transfer(text);
}

// Indexed configuration: encoding 1, bits per index.
std::string Indexed(int bits) {
    return ESC "*v6W" + Bytes({0, 1, bits, 8, 8, 8});
}
const std::string kDirect = ESC "*v6W" + Bytes({0, 3, 3, 8, 8, 8});

struct RasterCase {
    const char* what;
    std::string raster;  // from the pen's move to the end of raster graphics
    int rows;            // the raster's height, moves included
    bool lenient = false;
};

std::vector<RasterCase> Cases() {
    const std::string tail = ESC "*rC" ESC "%0B";
    std::string palette;
    for (int i = 0; i < 16; ++i)
        palette += ESC "*v" + std::to_string(i * 16) + "a" + std::to_string(255 - i * 9) + "b" +
                   std::to_string(i * 5) + "c" + std::to_string(i) + "I";
    return {
        {"one bit, moves before, between and after the rows",
         "PUPA37,41" ESC "%1A" ESC "*r24S" ESC "*t300R" ESC "*r1A" ESC "*b1M" ESC "*b2Y" +
             RunLength({0xF0, 0x0F, 0x81}) + RunLength({0xFF, 0x00, 0x18}) +
             RunLength({0x3C, 0xC3, 0xAA}) + RunLength({0x55, 0xFF, 0x01}) +
             RunLength({0x80, 0x7E, 0xF7}) + ESC "*b3Y" + RunLength({0x0F, 0xF0, 0x99}) +
             RunLength({0xE7, 0x24, 0x42}) + RunLength({0x11, 0x22, 0x44}) +
             RunLength({0xFE, 0x7F, 0x3C}) + ESC "*b1Y" + tail,
         15},
        {"RGB, delta rows carried across slices, a move zeroing the seed",
         "PUPA50,30" ESC "%1A" ESC "*r5S" ESC "*t110R" + kDirect + ESC "*r1A" ESC "*b1M" +
             RunLength({255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 200, 100, 50}) + ESC "*b3M" +
             Transfer(Bytes({0x40, 9, 9, 9})) +                  // pixel 0 to (9, 9, 9)
             Transfer(Bytes({0x03, 77, 0x42, 1, 2, 3})) +        // byte 3, then pixel 2
             Transfer("") +                                      // the seed again
             Transfer(Bytes({0x2C, 0xFF, 0xFF})) +               // bytes 12, 13
             ESC "*b2Y" + Transfer(Bytes({0x46, 60, 70, 80})) +  // on a zero seed
             Transfer(Bytes({0x20, 255, 255})) + tail,
         9},
        {"eight-bit palette, assigned after the configuration",
         "PUPA20,60" ESC "%1A" ESC "*r6S" ESC "*t200R" + Indexed(8) + palette +
             ESC "*r1A" ESC "*b0M" + Transfer(Bytes({0, 16, 32, 48, 64, 80})) +
             Transfer(Bytes({96, 112, 128, 144, 160, 176})) +
             Transfer(Bytes({192, 208, 224, 240, 0, 255})) +
             Transfer(Bytes({240, 224, 208, 192, 176, 7})) + Transfer(Bytes({1, 2, 3})) + tail,
         5},
        {"two bits a pixel, rows of varying methods",
         "PUPA64,64" ESC "%1A" ESC "*r7S" ESC "*t150R" + Indexed(2) + ESC "*r1A" ESC "*b2M" +
             Transfer(Bytes({0xFF, 0xE4})) + Transfer(Bytes({0x01, 0x1B, 0x6C})) + ESC "*b3M" +
             Transfer(Bytes({0x20, 0xFF, 0x00})) + ESC "*b1M" + RunLength({0x39, 0x93}) + tail,
         4},
        {"scaled to a destination size that the rows do not divide",
         "PUPA15,25" ESC "%1A" ESC "*r3S" ESC "*r7T" ESC "*t100H" ESC "*t100V" + kDirect +
             ESC "*r3A" ESC "*b0M" + Transfer(Bytes({255, 0, 0, 0, 0, 0, 0, 0, 255})) +
             Transfer(Bytes({0, 255, 0, 255, 255, 0})) + ESC "*b1Y" +
             Transfer(Bytes({9, 99, 199, 1, 2, 3, 250, 250, 250})) +
             Transfer(Bytes({0, 0, 0, 40, 40, 40})) + Transfer(Bytes({5, 5, 5})) +
             Transfer(Bytes({0, 0, 0, 0, 0, 0, 128, 0, 128})) + tail,
         7},
        {"scaled to a height without one in rows: the rows wait for the end",
         "PUPA15,25" ESC "%1A" ESC "*r3S" ESC "*t90H" ESC "*t130V" + kDirect +
             ESC "*r3A" ESC "*b3M" + Transfer(Bytes({0x40, 255, 0, 0, 0x43, 0, 0, 255})) +
             ESC "*b2Y" + Transfer(Bytes({0x20, 7, 7})) + Transfer(Bytes({0x06, 200})) +
             ESC "*b1Y" + Transfer(Bytes({0x40, 0, 128, 0})) + tail,
         8},
        {"white left transparent over a square",
         Polygon({{0, 0}, {90, 0}, {90, 90}, {0, 90}}) +
             "FPPUPA10,12" ESC "%1A" ESC "*r2S" ESC "*t70R" + kDirect + ESC "*r1A" ESC "*b0M" +
             Transfer(Bytes({255, 255, 255, 0, 0, 255})) +
             Transfer(Bytes({255, 0, 0, 255, 255, 255})) +
             Transfer(Bytes({255, 255, 255, 255, 255, 255})) + tail,
         3},
    };
}

plot::PlotRendering RenderSliced(const std::string& bytes, bool lenient, int sliceRows, double dpi,
                                 bool antialias) {
    plot::RenderOptions options;
    options.lenientPalette = lenient;
    options.rasterSliceRows = sliceRows;
    options.dpi = dpi;
    options.antialias = antialias;
    // Every raster lies within 160 device pixels of the corner.
    options.pageWidth = options.pageHeight = 160;
    return plot::RenderPlot(bytes, options);
}

TEST(RasterSlicing, EverySliceSizeDrawsTheRasterWhole) {
    // 300 dpi plots: at its resolution, reduced 7 times, reduced by an odd
    // ratio, enlarged.
    const double dpis[] = {0, 300.0 / 7, 73, 1000};
    for (const RasterCase& c : Cases()) {
        const std::string plot = Header() + "NP256PC1,0,0,0SP1" + c.raster + kEnd;
        for (const double dpi : dpis) {
            for (const bool antialias : {false, true}) {
                SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(dpi) + " dpi" +
                             (antialias ? ", antialiased" : ""));
                const auto whole = RenderSliced(plot, c.lenient, 0, dpi, antialias);
                ASSERT_TRUE(whole.ok) << whole.error;
                ASSERT_EQ(whole.summary.rasters, 1u);
                ASSERT_EQ(whole.pages.size(), 1u);
                // Something of the raster is on the page.
                EXPECT_FALSE(whole.summary.ink.Empty());
                for (int rows = 1; rows <= c.rows + 1; ++rows) {
                    const auto sliced = RenderSliced(plot, c.lenient, rows, dpi, antialias);
                    ASSERT_TRUE(sliced.ok) << sliced.error;
                    ASSERT_EQ(sliced.pages.size(), 1u);
                    EXPECT_EQ(sliced.pages[0].width, whole.pages[0].width);
                    EXPECT_TRUE(sliced.pages[0].pixels == whole.pages[0].pixels)
                        << "slices of " << rows << " rows";
                    EXPECT_EQ(sliced.warnings, whole.warnings);
                    EXPECT_EQ(sliced.summary.maxY, whole.summary.maxY);
                }
            }
        }
    }
}

TEST(RasterSlicing, RowsLandWhereTheirNumbersSay) {
    // The whole-raster pictures above are right, pixel by pixel, where the
    // arithmetic is plain: at the plot's resolution, one device pixel each.
    const auto cases = Cases();
    const auto mono =
        RenderSliced(Header() + "NP256PC1,0,0,0SP1" + cases[0].raster + kEnd, false, 1, 0, false);
    ASSERT_TRUE(mono.ok) << mono.error;
    const plot::Image& page = mono.pages.at(0);
    const uint32_t black = 0, white = 0xFFFFFF;
    const struct {
        int x, y;
        uint32_t colour;
    } probes[] = {
        {37, 41, white},      {37, 42, white},                        // the two rows moved over
        {37, 43, black},      {40, 43, black},      {41, 43, white},  // F0
        {44, 44, black},      {52, 44, white},                        // FF 00
        {37, 48, white},      {37, 50, white},                        // the three rows moved over
        {40, 51, white},      {41, 51, black},                        // 0F
        {37, 52, black},      {40, 52, white},                        // E7
        {37 + 17, 54, white}, {37 + 18, 54, black}, {37 + 21, 54, black},
        {37 + 22, 54, white},  // FE 7F 3C
        {37, 55, white},       // the last move: nothing drawn
    };
    for (const auto& p : probes)
        EXPECT_EQ(page.At(p.x, p.y), p.colour) << "at (" << p.x << "," << p.y << ")";
    // The raster ends below its last move: 41 + 15 rows.
    EXPECT_NEAR(mono.summary.maxY, 55, 1e-9);

    const auto rgb = RenderSliced(Header() + cases[1].raster + kEnd, false, 1, 0, false);
    ASSERT_TRUE(rgb.ok) << rgb.error;
    // 300 / 110 device pixels a raster pixel: raster row r covers device
    // rows whose centres lie in [30 + r * 2.727, 30 + (r + 1) * 2.727).
    const plot::Image& p = rgb.pages.at(0);
    const auto at = [&](int column, int row) {
        return p.At(50 + int(column * 300.0 / 110 + 1), 30 + int(row * 300.0 / 110 + 1));
    };
    EXPECT_EQ(at(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(at(4, 0), Rgb(200, 100, 50));
    EXPECT_EQ(at(0, 1), Rgb(9, 9, 9));
    EXPECT_EQ(at(1, 2), Rgb(77, 255, 0));  // byte 3 of the seed replaced
    EXPECT_EQ(at(2, 2), Rgb(1, 2, 3));
    EXPECT_EQ(at(2, 3), Rgb(1, 2, 3));  // an empty delta row repeats the seed
    EXPECT_EQ(at(4, 4), Rgb(255, 255, 50));
    EXPECT_EQ(at(0, 5), 0xFFFFFFu);  // moved over
    EXPECT_EQ(at(2, 7), Rgb(60, 70, 80));
    EXPECT_EQ(at(0, 7), Rgb(0, 0, 0));  // the seed after a move is zeros
    EXPECT_EQ(at(0, 8), Rgb(255, 255, 0));
}

TEST(RasterSlicing, EdgesGoByPixelCentres) {
    // Halved pictures of two black rasters 8 pixels wide: 3 rows from device
    // row 0 and 4 rows from device row 1. Picture row j has its centre on
    // device row edge 2j + 1: a centre on the raster's top or bottom edge is
    // outside it, as cairo drew rasters. Antialiased, a picture row half
    // covered at the bottom is half black (its centre takes the row above);
    // at the top, its centre on the edge takes no row.
    const std::string black = RunLength({0xFF});
    const std::string plot =
        Header() + "PUPA10,0" ESC "%1A" ESC "*r8S" ESC "*t300R" ESC "*r1A" ESC "*b1M" + black +
        black + black + ESC "*rC" ESC "%0BPUPA30,1" ESC "%1A" ESC "*r1A" + black + black + black +
        black + ESC "*rC" ESC "%0B" + kEnd;
    const uint32_t ink = 0, paper = 0xFFFFFF, half = Rgb(127, 127, 127);
    const struct {
        bool antialias;
        int x, y;
        uint32_t colour;
    } probes[] = {
        {false, 5, 0, ink},    {false, 8, 0, ink},    {false, 9, 0, paper}, {false, 4, 0, paper},
        {false, 5, 1, paper},                          // on the bottom edge
        {false, 15, 0, paper},                         // on the top edge
        {false, 15, 1, ink},   {false, 15, 2, paper},  // on the bottom edge
        {true, 5, 0, ink},     {true, 5, 1, half},    {true, 15, 0, paper}, {true, 15, 2, half},
    };
    for (const int sliceRows : {0, 1, 2}) {
        for (const auto& p : probes) {
            const auto r = RenderSliced(plot, false, sliceRows, 150, p.antialias);
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_EQ(r.pages.at(0).At(p.x, p.y), p.colour)
                << "at (" << p.x << "," << p.y << ")" << (p.antialias ? " antialiased" : "")
                << ", slices of " << sliceRows;
        }
    }
}

TEST(RasterSlicing, RasterTallerThanAnyPictureOfIt) {
    // 40000 rows of 16 pixels: more rows than one cairo picture may have.
    // The first row and every 1000th are black, the others white; a move of
    // 5000 rows in the middle.
    std::string rows;
    for (int r = 0; r < 40000; ++r) {
        if (r == 20000) rows += ESC "*b5000Y";
        if (r >= 20000 && r < 25000) continue;
        rows += RunLength(r % 1000 == 0 ? std::initializer_list<int>{0xFF, 0xFF}
                                        : std::initializer_list<int>{0x00, 0x00});
    }
    const std::string plot = Header() +
                             "PUPA10,0" ESC "%1A" ESC "*r16S" ESC "*t300R" ESC "*r1A" ESC "*b1M" +
                             rows + ESC "*rC" ESC "%0B" + kEnd;
    // Halved, as no picture may be 40000 pixels high either: picture row j
    // shows raster row 2j, whose centre is on the edge between 2j and 2j + 1.
    plot::RenderOptions options;
    options.scale = 2;
    options.pageWidth = 40;
    options.pageHeight = 40100;
    const auto r = plot::RenderPlot(plot, options);
    ASSERT_TRUE(r.ok) << r.error;
    const plot::Image& page = r.pages.at(0);
    ASSERT_EQ(page.height, 20050);
    for (int y : {0, 500, 9500, 13000, 19500}) EXPECT_EQ(page.At(6, y), 0u) << "row " << y;
    for (int y : {1, 499, 10000, 12999, 19999, 20000})
        EXPECT_EQ(page.At(6, y), 0xFFFFFFu) << "row " << y;
    EXPECT_EQ(r.summary.rasterRows, 35000u);
    EXPECT_NEAR(r.summary.maxY, 39999, 1e-9);
}

TEST(RasterSlicing, PalettePoppedInsideTheRasterKeepsItsColours) {
    // Index 1 is red, pushed; blue when the raster starts; the pop inside
    // the raster brings red back for what follows, not for the raster.
    const std::string raster = "PUPA10,10" ESC "%1A" ESC "*r8S" ESC "*t300R" + Indexed(1) +
                               ESC "*v255a0b0c1I" ESC "*p0P" ESC "*v0a0b255c1I" ESC "*r1A" ESC
                                   "*b1M" +
                               RunLength({0xFF}) + ESC "*p1P" + RunLength({0xFF}) +
                               ESC "*rC" ESC "*r1A" + RunLength({0xFF}) + ESC "*rC" ESC "%0B";
    for (const int sliceRows : {0, 1}) {
        const auto r = RenderSliced(Header() + raster + kEnd, true, sliceRows, 0, false);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.pages.at(0).At(10, 10), Rgb(0, 0, 255));
        EXPECT_EQ(r.pages.at(0).At(10, 11), Rgb(0, 0, 255));
        EXPECT_EQ(r.pages.at(0).At(10, 12), Rgb(255, 0, 0));
        bool warned = false;
        for (const auto& w : r.warnings) warned |= w.find("palette popped inside") == 0;
        EXPECT_TRUE(warned);
    }
}

TEST(RasterSlicing, RowsBeforeAnErrorOrTheEndAreDrawn) {
    // The reading stops at a bad row, or the file ends inside raster
    // graphics: the rows that came are on the page, whatever the slices.
    const std::string start = Header() +
                              "PUPA10,10" ESC "%1A" ESC "*r8S" ESC "*t300R" ESC "*r1A" ESC "*b1M" +
                              RunLength({0xFF}) + RunLength({0x0F});
    const struct {
        std::string plot;
        bool ok;
    } cases[] = {
        {start + Transfer(std::string(1, '\0')), false},  // odd method-1 row
        {start, true},
    };
    for (const auto& c : cases) {
        for (const int sliceRows : {0, 1, 2}) {
            const auto r = RenderSliced(c.plot, false, sliceRows, 0, false);
            EXPECT_EQ(r.ok, c.ok) << r.error;
            ASSERT_EQ(r.pages.size(), 1u);
            EXPECT_EQ(r.pages[0].At(10, 10), 0u);
            EXPECT_EQ(r.pages[0].At(10, 11), 0xFFFFFFu);
            EXPECT_EQ(r.pages[0].At(14, 11), 0u);
            EXPECT_EQ(r.pages[0].At(14, 12), 0xFFFFFFu);
            EXPECT_EQ(r.summary.rasters, 1u);
        }
    }
}

}  // namespace

// The pixels the raster GDI sets for the smallest cases, worked out by
// hand: one-pixel lines, wide pens, the stretch modes and the style unit
// of a context that renders for a plotter. The reference pictures
// (gdi_reference_test.cpp) hold the same rules to a real GDI at large.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <windows.h>

#include "support/dib_builder.h"
#include "support/dib_canvas.h"
#include "support/emf_builder.h"
#include "win32/gdi32/device_style.h"

namespace {

using Picture = std::vector<std::string>;

// '#' where the canvas is not white.
Picture PictureOf(const DibCanvas& c) {
    Picture rows;
    for (int y = 0; y < c.height; ++y) {
        std::string row;
        for (int x = 0; x < c.width; ++x) row += c.At(x, y) == 0xFFFFFF ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

// A metafile whose logical units are the pixels of a size x size canvas.
EmfBuilder PixelSheet(int size) {
    EmfBuilder emf;
    emf.Frame(0, 0, size * 10, size * 10);  // 0.1 mm reference pixels
    return emf;
}

TEST(GdiPixels, OneLinePixelAColumnOrRowTiesByDirection) {
    struct Case {
        const char* what;
        POINT from, to;
        Picture expected;
    } cases[] = {
        // (0,0) -> (4,2): y = x / 2 passes x = 1 at 0.5 and x = 3 at 1.5,
        // between two rows; this direction steps down late. The last point
        // is left out.
        {"right and down", {0, 0}, {4, 2}, {"##...", "..##.", "....."}},
        // Back the other way the ties step early: (3, 1), not (3, 2).
        {"left and up", {4, 2}, {0, 0}, {".#...", "..##.", "....#"}},
        // As steep as wide: a pixel a row.
        {"diagonal", {0, 0}, {3, 3}, {"#....", ".#...", "..#..", "....."}},
        {"vertical", {2, 0}, {2, 3}, {"..#..", "..#..", "..#..", "....."}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = PixelSheet(5);
        emf.CreatePen(1, PS_SOLID, 0, RGB(0, 0, 0)).Select(1);
        emf.MoveTo(c.from.x, c.from.y).LineTo(c.to.x, c.to.y);
        DibCanvas canvas(5, 5);
        ASSERT_TRUE(canvas.Play(emf.Bytes())) << c.what;
        Picture picture = PictureOf(canvas);
        picture.resize(c.expected.size());
        EXPECT_EQ(picture, c.expected) << c.what;
    }
}

TEST(GdiPixels, WidePensHalfTheWidthEachSideAndCaps) {
    struct Case {
        const char* what;
        DWORD style;
        Picture expected;
    } cases[] = {
        // Width 3 from (2,4) to (6,4): rows 4 - 3/2 = 3 to 5, columns 2 to 5
        // (the end column left out).
        {"flat", PS_ENDCAP_FLAT, {".........", "..####...", "..####...", "..####...", "........."}},
        // Square caps reach out 3/2 = 1 pixel.
        {"square",
         PS_ENDCAP_SQUARE,
         {".........", ".######..", ".######..", ".######..", "........."}},
        // Round caps: GDI's elliptic region three pixels across, a plus
        // about each end.
        {"round",
         PS_ENDCAP_ROUND,
         {".........", "..#####..", ".#######.", "..#####..", "........."}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = PixelSheet(9);
        emf.ExtCreatePen(1, PS_GEOMETRIC | PS_SOLID | c.style, 3, RGB(0, 0, 0)).Select(1);
        emf.MoveTo(2, 4).LineTo(6, 4);
        DibCanvas canvas(9, 9);
        ASSERT_TRUE(canvas.Play(emf.Bytes())) << c.what;
        Picture picture = PictureOf(canvas);
        picture.erase(picture.begin(), picture.begin() + 2);
        picture.resize(c.expected.size());
        EXPECT_EQ(picture, c.expected) << c.what;
    }
}

// The scan modes step like a line from the destination's start edge: each
// pixel shows the source pixel under its centre, an edge taking the
// earlier; shrinking, BLACKONWHITE ANDs the pixels that meet, WHITEONBLACK
// ORs them, COLORONCOLOR keeps the last of a row's run.
TEST(GdiPixels, StretchModesKeepOrCombineWholePixels) {
    const uint32_t W = 0xFFFFFF, K = 0x000000, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF;
    struct Case {
        int mode;
        std::vector<uint32_t> source;
        int destWidth;
        std::vector<uint32_t> expected;
    } cases[] = {
        // 3 -> 7: centres at 3 (d + 0.5) / 7 = 0.21, 0.64, 1.07, 1.5 (an
        // edge: pixel 1), 1.93, 2.36, 2.79.
        {COLORONCOLOR, {R, G, B}, 7, {R, R, G, G, G, B, B}},
        // 4 -> 2: source pixels 0 and 1 meet in the first, 2 and 3 in the
        // second.
        {BLACKONWHITE, {W, K, W, W}, 2, {K, W}},
        {WHITEONBLACK, {W, K, K, K}, 2, {W, K}},
        {COLORONCOLOR, {R, G, B, W}, 2, {G, W}},
    };
    for (const Case& c : cases) {
        const TestDib dib = DirectDib(static_cast<int>(c.source.size()), 1, 24, c.source);
        DibCanvas canvas(8, 1);
        SetStretchBltMode(canvas.dc, c.mode);
        StretchDIBits(canvas.dc, 0, 0, c.destWidth, 1, 0, 0, static_cast<int>(c.source.size()), 1,
                      dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
        for (int x = 0; x < c.destWidth; ++x)
            EXPECT_EQ(canvas.At(x, 0), c.expected[size_t(x)]) << c.mode << " " << x;
    }
}

// A context that renders for a plotter measures hatches and cosmetic
// styles in the plotter's screen pixels.
TEST(GdiPixels, StyleUnitSizesHatchesAndCosmeticDashes) {
    EmfBuilder emf = PixelSheet(40);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Select(0x80000000 | NULL_PEN);
    emf.CreateBrush(1, BS_HATCHED, RGB(0, 0, 0), HS_HORIZONTAL).Select(1);
    emf.Box(EMR_RECTANGLE, 0, 0, 41, 20);
    emf.CreatePen(2, PS_DOT, 0, RGB(0, 0, 0)).Select(2).MoveTo(0, 30).LineTo(40, 30);
    struct Case {
        double unit;
        std::vector<int> hatchRows;  // rows 3/8 of each cell of 8 x unit pixels
        std::string dots;            // PS_DOT: 3 on, 3 off, times the unit
    } cases[] = {
        {1, {3, 11, 19}, "###...###...###...###...###...###...###."},
        {2, {6}, "######......######......######......####"},
    };
    for (const Case& c : cases) {
        DibCanvas canvas(40, 40);
        ASSERT_TRUE(SetDeviceStyleUnit(canvas.dc, c.unit));
        ASSERT_TRUE(canvas.Play(emf.Bytes()));
        const Picture picture = PictureOf(canvas);
        std::vector<int> rows;
        for (int y = 0; y < 20; ++y)
            if (picture[size_t(y)][5] == '#') rows.push_back(y);
        EXPECT_EQ(rows, c.hatchRows) << c.unit;
        EXPECT_EQ(picture[30], c.dots) << c.unit;
    }
    DibCanvas canvas(1, 1);
    EXPECT_FALSE(SetDeviceStyleUnit(canvas.dc, 0.5));
    EXPECT_FALSE(SetDeviceStyleUnit(canvas.dc, std::nan("")));
    EXPECT_FALSE(SetDeviceStyleUnit(nullptr, 2));
}

}  // namespace

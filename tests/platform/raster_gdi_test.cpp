#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include <windows.h>
#include "support/dib_builder.h"
#include "support/dib_canvas.h"

namespace {

// The test canvas, shown one character a pixel: '#' black, '.' white, '?'
// anything else.
class Canvas : public DibCanvas {
public:
    using DibCanvas::DibCanvas;
    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x)
                row += At(x, y) == 0 ? '#' : At(x, y) == 0xFFFFFF ? '.' : '?';
            rows.push_back(row);
        }
        return rows;
    }
};

using Picture = std::vector<std::string>;

TEST(RasterGdi, FillRectLeavesRightAndBottomEdgesInEitherRowOrder) {
    for (bool topDown : {true, false}) {
        Canvas c(5, 4, topDown);
        c.Fill(1, 1, 4, 3, RGB(0, 0, 0));
        EXPECT_EQ(c.Picture(), (Picture{".....", ".###.", ".###.", "....."})) << topDown;
    }
}

TEST(RasterGdi, AnisotropicMappingScalesWindowOntoViewport) {
    Canvas c(4, 4);
    EXPECT_EQ(SetMapMode(c.dc, MM_ANISOTROPIC), MM_TEXT);
    SetWindowExtEx(c.dc, 100, 100, nullptr);
    SetViewportExtEx(c.dc, 4, 4, nullptr);
    SetWindowOrgEx(c.dc, 1000, 2000, nullptr);
    SetViewportOrgEx(c.dc, 0, -1, nullptr);  // the band below the first row
    c.Fill(1000, 2000, 1050, 2100, RGB(0, 0, 0));
    EXPECT_EQ(c.Picture(), (Picture{"##..", "##..", "##..", "...."}));
    POINT p{1075, 2025};
    ASSERT_TRUE(LPtoDP(c.dc, &p, 1));
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 0);
}

TEST(RasterGdi, ClipByRectanglePathAndRegion) {
    Canvas rect(4, 4);
    EXPECT_EQ(IntersectClipRect(rect.dc, 1, 0, 3, 3), SIMPLEREGION);
    EXPECT_EQ(IntersectClipRect(rect.dc, 0, 1, 4, 4), SIMPLEREGION);  // intersects
    rect.Fill(0, 0, 4, 4, RGB(0, 0, 0));
    EXPECT_EQ(rect.Picture(), (Picture{"....", ".##.", ".##.", "...."}));
    EXPECT_EQ(SelectClipRgn(rect.dc, nullptr), SIMPLEREGION);  // no clip any more
    rect.Fill(0, 3, 4, 4, RGB(0, 0, 0));
    EXPECT_EQ(rect.Picture()[3], "####");

    // A triangle as a clip path: pixels whose centres lie inside
    // (4x + 5y + 4.5 < 20; no centre lies on the slanted edge).
    Canvas path(4, 4);
    ASSERT_TRUE(BeginPath(path.dc));
    const POINT triangle[3] = {{0, 0}, {5, 0}, {0, 4}};
    ASSERT_TRUE(Polygon(path.dc, triangle, 3));
    ASSERT_TRUE(EndPath(path.dc));
    ASSERT_TRUE(SelectClipPath(path.dc, RGN_COPY));
    EXPECT_FALSE(SelectClipPath(path.dc, RGN_COPY)) << "the path is used up";
    path.Fill(0, 0, 4, 4, RGB(0, 0, 0));
    EXPECT_EQ(path.Picture(), (Picture{"####", "###.", "##..", "#..."}));

    // Two disjoint rectangles of a polygon region, even-odd.
    Canvas region(4, 2);
    HRGN rgn = CreateRectRgn(1, 0, 3, 2);
    ASSERT_NE(rgn, nullptr);
    EXPECT_EQ(SelectClipRgn(region.dc, rgn), COMPLEXREGION);
    DeleteObject(rgn);  // the context keeps its own copy
    region.Fill(0, 0, 4, 2, RGB(0, 0, 0));
    EXPECT_EQ(region.Picture(), (Picture{".##.", ".##."}));
}

// HALFTONE: the average of the source area when shrinking, interpolation
// between the source pixels around each device pixel's corner when
// enlarging; COLORONCOLOR takes the pixel under each centre.
TEST(RasterGdi, StretchDIBitsHalftoneAveragesAndInterpolates) {
    const TestDib ramp = DirectDib(4, 1, 24, {0x000000, 0xFFFFFF, 0x0000FF, 0x0000FF});
    struct Case {
        int mode;
        int destWidth;
        std::vector<uint32_t> expected;
    } cases[] = {
        // 4 -> 2: (0 + 255) / 2 = 127.5 -> 128; blue stays blue.
        {HALFTONE, 2, {0x808080, 0x0000FF}},
        // 4 -> 3: each output pixel covers 4/3 source pixels.
        {HALFTONE, 3, {0x404040, 0x8080FF, 0x0000FF}},
        // 4 -> 8: device pixel j shows source position j / 2, halfway
        // between two pixels for odd j (127.5 -> 128); beyond the last
        // pixel's corner the last pixel.
        {HALFTONE,
         8,
         {0x000000, 0x808080, 0xFFFFFF, 0x8080FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF}},
        {COLORONCOLOR, 2, {0xFFFFFF, 0x0000FF}},
    };
    for (const Case& k : cases) {
        Canvas c(8, 1);
        SetStretchBltMode(c.dc, k.mode);
        EXPECT_EQ(StretchDIBits(c.dc, 0, 0, k.destWidth, 1, 0, 0, 4, 1, ramp.bits.data(),
                                ramp.Info(), DIB_RGB_COLORS, SRCCOPY),
                  1);
        for (int x = 0; x < k.destWidth; ++x)
            EXPECT_EQ(c.At(x, 0), k.expected[size_t(x)])
                << k.mode << " " << k.destWidth << " " << x;
        if (k.destWidth < 8) {
            EXPECT_EQ(c.At(k.destWidth, 0), 0xFFFFFFu) << "nothing beyond the destination";
        }
    }
}

// A bottom-up bitmap counts ySrc from its bottom row; negative extents
// mirror the image, covering the pixels from yDest + height + 1 to yDest;
// the raster operation mixes source and destination.
TEST(RasterGdi, StretchDIBitsSourceRowsMirrorsAndRasterOperations) {
    // Top row red, bottom row blue, stored bottom-up.
    const TestDib dib = DirectDib(1, 2, 24, {0xFF0000, 0x0000FF});
    Canvas c(2, 2);
    // ySrc 0, one row high: the bottom row, blue.
    StretchDIBits(c.dc, 0, 0, 1, 1, 0, 0, 1, 1, dib.bits.data(), dib.Info(), 0, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), 0x0000FFu);
    // Upside down into the second column: rows 1 + -2 + 1 = 0 to 1.
    StretchDIBits(c.dc, 1, 1, 1, -2, 0, 0, 1, 2, dib.bits.data(), dib.Info(), 0, SRCCOPY);
    EXPECT_EQ(c.At(1, 0), 0x0000FFu);
    EXPECT_EQ(c.At(1, 1), 0xFF0000u);
    // SRCAND over white gives the source; SRCINVERT over it the inverse.
    Canvas mix(1, 1);
    const TestDib grey = DirectDib(1, 1, 24, {0x336699});
    StretchDIBits(mix.dc, 0, 0, 1, 1, 0, 0, 1, 1, grey.bits.data(), grey.Info(), 0, SRCAND);
    EXPECT_EQ(mix.At(0, 0), 0x336699u);
    StretchDIBits(mix.dc, 0, 0, 1, 1, 0, 0, 1, 1, grey.bits.data(), grey.Info(), 0, SRCINVERT);
    EXPECT_EQ(mix.At(0, 0), 0x000000u);
    // A bitmap the decoder refuses draws nothing and reports 0 scans.
    TestDib bad = grey;
    bad.Header().biBitCount = 7;
    EXPECT_EQ(
        StretchDIBits(mix.dc, 0, 0, 1, 1, 0, 0, 1, 1, bad.bits.data(), bad.Info(), 0, SRCCOPY), 0);
}

// Source rectangles far beyond the bitmap, and extents near 2^31, read
// only the pixels the bitmap has.
TEST(RasterGdi, ExtremeSourceRectanglesReadOnlyTheBitmap) {
    const TestDib ramp = DirectDib(4, 1, 24, {0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF});
    Canvas c(1, 1);
    SetStretchBltMode(c.dc, HALFTONE);
    // One pixel averaging a source 2^31 - 1 wide: the four pixels there are.
    EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 1, 1, 0, 0, INT_MAX, 1, ramp.bits.data(), ramp.Info(),
                            DIB_RGB_COLORS, SRCCOPY),
              1);
    EXPECT_EQ(c.At(0, 0), 0x808080u);
    struct Case {
        int xs, ys, ws, hs;
    } cases[] = {{INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                 {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                 {-5, 0, -1, 1},
                 {0, INT_MIN, 4, INT_MAX}};
    for (const Case& k : cases) {
        Canvas blank(2, 2);
        SetStretchBltMode(blank.dc, HALFTONE);
        StretchDIBits(blank.dc, 0, 0, 2, 2, k.xs, k.ys, k.ws, k.hs, ramp.bits.data(), ramp.Info(),
                      DIB_RGB_COLORS, SRCCOPY);
        // Missing the bitmap draws nothing; overlapping it draws its pixels.
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) {
                const uint32_t p = blank.At(x, y);
                EXPECT_TRUE(p == 0xFFFFFFu || (p & 0xFF) == ((p >> 8) & 0xFF)) << k.xs;
            }
    }
}

// Binary raster operations apply to the pixels the shape covers.
TEST(RasterGdi, SetRop2MixesThePenWithWhatIsThere) {
    Canvas c(6, 6);
    c.Fill(0, 0, 6, 3, RGB(0, 0, 0));  // black top half
    EXPECT_EQ(SetROP2(c.dc, R2_NOT), R2_COPYPEN);
    const POINT box[4] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
    ASSERT_TRUE(Polygon(c.dc, box, 4));
    // The outline runs through pixel centres 1..4; R2_NOT inverts both halves.
    EXPECT_EQ(c.Picture(), (Picture{"######", "#....#", "#.##.#", ".#..#.", ".####.", "......"}));
}

TEST(RasterGdi, HandlesAreCheckedBeforeUse) {
    Canvas c(1, 1);
    EXPECT_FALSE(DeleteObject(c.section)) << "a bitmap selected into a context stays";
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_TRUE(DeleteObject(brush));
    const RECT r{0, 0, 1, 1};
    EXPECT_EQ(FillRect(c.dc, &r, brush), 0) << "a deleted brush is refused";
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(SetMapMode(reinterpret_cast<HDC>(brush), MM_TEXT), 0);
    BITMAPINFO info{};
    info.bmiHeader = TestHeader(1, 1, 24, BI_RGB);
    EXPECT_EQ(CreateDIBSection(c.dc, &info, 0, nullptr, nullptr, 0), nullptr)
        << "only 32-bit sections are drawn into";
    info.bmiHeader = TestHeader(0x40000000, 0x40000000, 32, BI_RGB);
    void* bits = &info;
    EXPECT_EQ(CreateDIBSection(c.dc, &info, 0, &bits, nullptr, 0), nullptr) << "2^64 bytes";
    EXPECT_EQ(bits, nullptr);
}

}  // namespace

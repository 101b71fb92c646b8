// Metafiles played into a memory device context: PlayEnhMetaFile draws
// what the records mean into the pixels of a DIB section.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "picture/image_compare.h"
#include "plothost/text_builder.h"
#include "support/dib_builder.h"
#include "support/dib_canvas.h"
#include "support/platform_pictures.h"
#include "support/emf_builder.h"
#include <windows.h>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr DWORD kStockNullPen = 0x80000000u | NULL_PEN;

using Canvas = DibCanvas;

// The builder's reference device is 1000 x 1000 pixels on its frame: on a
// 100 x 100 section ten logical units of MM_TEXT are one pixel.
EmfBuilder RedFillNoOutline() {
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1).Select(kStockNullPen);
    return emf;
}

TEST(MetafilePlayback, FilledRectanglesLandOnTheirPixels) {
    struct Case {
        const char* what;
        void (*prepare)(EmfBuilder&);
        std::vector<PixelProbe> probes;
    };
    const std::vector<Case> cases = {
        {"MM_TEXT",
         [](EmfBuilder&) {},
         // Rectangle 200,300 - 600,700: pixels 20..59 x 30..69.
         {{20, 30, kRed},
          {59, 69, kRed},
          {40, 50, kRed},
          {19, 50, kWhite},
          {61, 50, kWhite},
          {40, 29, kWhite},
          {40, 71, kWhite}}},
        {"world transform doubling and shifting",
         [](EmfBuilder& e) { e.World(2, 0, 0, 2, -300, -500); },
         // 2 * 200 - 300 = 100 ... 2 * 600 - 300 = 900; 2 * 300 - 500 = 100 ...
         // 900.
         {{10, 10, kRed},
          {89, 89, kRed},
          {50, 50, kRed},
          {8, 50, kWhite},
          {50, 8, kWhite},
          {92, 50, kWhite},
          {50, 92, kWhite}}},
        {"clip rectangle limits the fill",
         [](EmfBuilder& e) { e.Box(EMR_INTERSECTCLIPRECT, 400, 0, 1000, 1000); },
         {{39, 50, kWhite}, {20, 50, kWhite}, {40, 50, kRed}, {59, 69, kRed}}},
        {"region record selected as the clip",
         [](EmfBuilder& e) {
             e.SelectClipRegion(RGN_COPY, {RECT{0, 0, 400, 500}});
         },
         {{39, 49, kRed}, {40, 49, kWhite}, {39, 50, kWhite}, {25, 35, kRed}}},
        {"region record xor-ed with a clip rectangle",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 400, 1000)
                 .SelectClipRegion(RGN_XOR, {RECT{300, 0, 1000, 500}});
         },
         // Inside the first and not the second, or the other way round.
         {{25, 40, kRed}, {35, 40, kWhite}, {45, 40, kRed}, {35, 60, kRed}, {45, 60, kWhite}}},
        {"clip moved by its offset",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 400, 1000)
                 .Record(EMR_OFFSETCLIPRGN, {100, static_cast<DWORD>(-100)});
         },
         // x 10 ... 49 in the clip, and all the way up: only x decides.
         {{20, 30, kRed}, {49, 50, kRed}, {50, 50, kWhite}, {59, 69, kWhite}}},
        {"meta region outlives a reset of the clip",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 400, 1000)
                 .Record(EMR_SETMETARGN, {})
                 .SelectClipRegion(RGN_COPY, {}, false);
         },
         {{39, 50, kRed}, {40, 50, kWhite}, {59, 69, kWhite}}},
        {"a new clip is cut to the meta region",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 400, 1000)
                 .Record(EMR_SETMETARGN, {})
                 .SelectClipRegion(RGN_COPY, {RECT{300, 0, 1000, 1000}});
         },
         {{29, 50, kWhite}, {30, 50, kRed}, {39, 50, kRed}, {40, 50, kWhite}}},
        {"a union with the clip stays inside the meta region",
         [](EmfBuilder& e) {
             e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 400, 1000)
                 .Record(EMR_SETMETARGN, {})
                 .Box(EMR_INTERSECTCLIPRECT, 0, 0, 300, 1000)
                 .SelectClipRegion(RGN_OR, {RECT{500, 0, 1000, 1000}});
         },
         {{29, 50, kRed}, {30, 50, kWhite}, {55, 50, kWhite}, {59, 50, kWhite}}},
        {"excluded rectangle is left alone",
         [](EmfBuilder& e) { e.Box(EMR_EXCLUDECLIPRECT, 300, 400, 500, 600); },
         {{25, 35, kRed}, {40, 50, kWhite}, {55, 65, kRed}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(100, 100);
        EmfBuilder emf = RedFillNoOutline();
        c.prepare(emf);
        emf.Box(EMR_RECTANGLE, 200, 300, 600, 700);
        ASSERT_TRUE(canvas.Play(emf.Bytes())) << c.what;
        ExpectPixels(canvas, c.probes, c.what);
    }
}

TEST(MetafilePlayback, BitmapRecordFillsItsDestination) {
    // 2 x 2 pixels, top row red and green, bottom row blue and white.
    const TestDib dib = DirectDib(2, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    const std::vector<DWORD> record = StretchDibitsPayload(dib, 200, 200, 600, 600);
    struct Case {
        const char* what;
        std::vector<RECT> clip;  // clip rectangles, logical units
        std::vector<PixelProbe> probes;
    };
    const std::vector<Case> cases = {
        {"whole",
         {},
         {{25, 25, 0xFF0000},
          {65, 25, 0x00FF00},
          {25, 65, 0x0000FF},
          {65, 65, kWhite},
          {10, 10, kWhite},
          {85, 50, kWhite}}},
        // The right half of the picture is clipped away: the green pixel's
        // area stays white, the red one's is drawn.
        {"clipped to the left half",
         {RECT{0, 0, 450, 1000}},
         {{25, 25, 0xFF0000},
          {30, 25, 0xFF0000},
          {45, 25, kWhite},
          {65, 25, kWhite},
          {25, 65, 0x0000FF}}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        for (const RECT& r : c.clip)
            emf.Box(EMR_INTERSECTCLIPRECT, r.left, r.top, r.right, r.bottom);
        emf.Record(EMR_STRETCHDIBITS, record);
        Canvas canvas(100, 100);
        ASSERT_TRUE(canvas.Play(emf.Bytes())) << c.what;
        ExpectPixels(canvas, c.probes, c.what);
    }
}

TEST(MetafilePlayback, AlphaBlendMixesWithWhatLiesBelow) {
    // 2 x 1 pixels, premultiplied: opaque red, then black at half coverage.
    const TestDib dib = DirectDib(2, 1, 32, {0xFFFF0000, 0x80000000});
    std::vector<DWORD> info((dib.info.size() + 3) / 4), bits((dib.bits.size() + 3) / 4);
    std::memcpy(info.data(), dib.info.data(), dib.info.size());
    std::memcpy(bits.data(), dib.bits.data(), dib.bits.size());
    const DWORD one = EmfBuilder::Float(1.0f);
    const DWORD offBmi = 8 + 4 * 25;
    const DWORD sourceAlpha = 0x01FF0000;  // AC_SRC_ALPHA, constant alpha 255
    const auto cbBmi = static_cast<DWORD>(dib.info.size());
    const auto offBits = offBmi + static_cast<DWORD>(4 * info.size());
    const auto cbBits = static_cast<DWORD>(dib.bits.size());
    // EMRALPHABLEND after the EMR: bounds, xDest, yDest, cxDest, cyDest,
    // BLENDFUNCTION, xSrc, ySrc, xformSrc, crBkColorSrc, iUsageSrc, offBmi,
    // cbBmi, offBits, cbBits, cxSrc, cySrc.
    std::vector<DWORD> record{
        0, 0, 0, 1000,           0,      0,     1000,    1000,   sourceAlpha, 0, 0, one, 0, 0, one,
        0, 0, 0, DIB_RGB_COLORS, offBmi, cbBmi, offBits, cbBits, 2,           1};
    record.insert(record.end(), info.begin(), info.end());
    record.insert(record.end(), bits.begin(), bits.end());
    EmfBuilder emf;
    emf.Record(EMR_ALPHABLEND, record);
    Canvas canvas(100, 100);
    ASSERT_TRUE(canvas.Play(emf.Bytes()));
    // White under half-covering black keeps 127 of 255.
    ExpectPixels(canvas, {{25, 50, kRed}, {49, 10, kRed}, {50, 10, 0x7F7F7F}, {75, 90, 0x7F7F7F}},
                 "blend");
}

TEST(MetafilePlayback, TextShowsInkInTheTextColour) {
    EmfBuilder emf;
    CreateFont(emf, 1, LogFont(u"Liberation Sans", -400)).Select(1);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTCOLOR, RGB(255, 0, 0));
    TextOut(emf, {.x = 100, .y = 100, .text = u"HH"});
    Canvas canvas(100, 100);
    ASSERT_TRUE(canvas.Play(emf.Bytes()));
    // Two capitals 40 pixels high from (10, 10): red ink there, none far off.
    EXPECT_GT(canvas.Count(kRed, 10, 10, 60, 50), 150u);
    EXPECT_EQ(canvas.Count(kRed, 70, 60, 100, 100), 0u);
    EXPECT_EQ(canvas.Count(kRed, 0, 0, 100, 100) + canvas.Count(kWhite, 0, 0, 100, 100), 10000u)
        << "aliased: red or white only";
}

TEST(MetafilePlayback, HandlesAreCheckedAndCopiesPlayAlike) {
    const std::vector<BYTE> bytes = RedFillNoOutline().Box(EMR_RECTANGLE, 0, 0, 500, 500).Bytes();
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    ASSERT_NE(metafile, nullptr);
    HENHMETAFILE copy = CopyEnhMetaFileA(metafile, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(DeleteEnhMetaFile(metafile));
    EXPECT_FALSE(DeleteEnhMetaFile(metafile)) << "deleted twice";
    Canvas canvas(100, 100);
    const RECT all{0, 0, 100, 100};
    EXPECT_FALSE(PlayEnhMetaFile(canvas.dc, metafile, &all)) << "a deleted handle";
    EXPECT_FALSE(PlayEnhMetaFile(nullptr, copy, &all)) << "no device context";
    EXPECT_FALSE(PlayEnhMetaFile(canvas.dc, copy, nullptr)) << "no rectangle";
    EXPECT_TRUE(PlayEnhMetaFile(canvas.dc, copy, &all));
    EXPECT_EQ(canvas.At(25, 25), kRed);
    EXPECT_EQ(canvas.At(75, 75), kWhite);
    EXPECT_TRUE(DeleteEnhMetaFile(copy));

    const std::vector<BYTE> garbage(200, 0x5A);
    EXPECT_EQ(SetEnhMetaFileBits(static_cast<UINT>(garbage.size()), garbage.data()), nullptr);
    EXPECT_EQ(SetEnhMetaFileBits(0, bytes.data()), nullptr);
    EXPECT_EQ(GetEnhMetaFileA("/nonexistent/drawing.emf"), nullptr);
}

// A page of Latin, Chinese and Japanese text (LibreOffice's PNG export of
// it) rendered onto a section of the picture's size. The reference is
// antialiased and the section is not (GDI draws aliased pixels), so edge
// pixels differ in colour. The sample drawings are held to a real GDI's
// pictures in gdi_reference_test.cpp.
TEST(MetafilePlayback, TextPageRendersLikeItsReferencePicture) {
    const std::string base = HPGL2_TEST_DATA_DIR "/text_latin_cjk";
    HENHMETAFILE metafile = GetEnhMetaFileA((base + ".emf").c_str());
    ASSERT_NE(metafile, nullptr);
    Canvas canvas(605, 378);
    const RECT all{0, 0, canvas.width, canvas.height};
    ASSERT_TRUE(PlayEnhMetaFile(canvas.dc, metafile, &all));
    EXPECT_TRUE(DeleteEnhMetaFile(metafile));
    const plot::ImageComparison c = plot::ComparePlotToReference(canvas.Image(), base + ".png");
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_GE(c.coverage, 0.98) << c.ToString();
    EXPECT_GE(c.precision, 0.98) << c.ToString();
    EXPECT_GE(c.colourCoverage, 0.65) << c.ToString();
    EXPECT_LE(c.meanColourError, 35) << c.ToString();
}

}  // namespace

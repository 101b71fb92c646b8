#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "image/bitmap_callbacks.h"
#include "pxrdriver/regions.h"
#include "support/dib_builder.h"
#include "support/job_harness.h"
#include "support/pcl_row_decoder.h"
#include "reader/plot_reader.h"
#include "win32/gdi32/dib.h"

namespace {

using Chunks = std::vector<std::string>;

std::string Cid(const char* six) {
    return std::string("\x1b*v6W", 5) + std::string(six, 6);
}

class BitmapCallbacks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(h.Start(), 1);
        h.Take();
    }
    int Draw(int x, int y, int w, int hgt, const TestDib& dib, int xs, int ys, int ws, int hs) {
        return h.Table().OnDrawBitmap(&h.host, x, y, w, hgt, xs, ys, ws, hs, dib.bits.data(),
                                      dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    }
    int DrawAlpha(int x, int y, int w, int hgt, const TestDib& dib) {
        const int rows = dib.Info()->bmiHeader.biHeight;
        return h.Table().OnDrawBitmapAlpha(&h.host, x, y, w, hgt, 0, 0,
                                           dib.Info()->bmiHeader.biWidth, rows < 0 ? -rows : rows,
                                           dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    }
    // The rows of the raster in the bytes, RGB, decoded.
    static std::vector<pcl::Bytes> Rows(const std::string& bytes, int width) {
        const pcl::RasterRows rows = pcl::DecodeRasterRows(bytes, static_cast<size_t>(width) * 3);
        EXPECT_EQ(rows.error, "");
        return rows.rows;
    }
    static pcl::Bytes Rgb(std::initializer_list<uint32_t> pixels) {
        pcl::Bytes row;
        for (uint32_t p : pixels)
            row.insert(row.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        return row;
    }
    JobHarness h;
};

TEST_F(BitmapCallbacks, AreInstalledInVectorModeOnly) {
    EXPECT_NE(h.Table().OnDrawBitmap, nullptr);
    EXPECT_NE(h.Table().OnDrawBitmapAlpha, nullptr);
    JobHarness whole("EMFSPOOLING=1\n");
    EXPECT_EQ(whole.Table().OnDrawBitmap, nullptr);
    EXPECT_EQ(whole.Table().OnDrawBitmapAlpha, nullptr);
}

TEST_F(BitmapCallbacks, NullBitsOrHeaderWriteNothing) {
    const TestDib dib = DirectDib(1, 1, 24, {0});
    EXPECT_EQ(
        h.Table().OnDrawBitmap(&h.host, 0, 0, 1, 1, 0, 0, 1, 1, nullptr, dib.Info(), 0, SRCCOPY),
        0);
    EXPECT_EQ(h.Table().OnDrawBitmap(&h.host, 0, 0, 1, 1, 0, 0, 1, 1, dib.bits.data(), nullptr, 0,
                                     SRCCOPY),
              0);
    EXPECT_EQ(h.Table().OnDrawBitmapAlpha(&h.host, 0, 0, 1, 1, 0, 0, 1, 1, nullptr, dib.Info(), 0,
                                          SRCCOPY),
              0);
    EXPECT_TRUE(h.Take().empty());
}

// A 2 x 2 bitmap into 4 x 2 pixels at (10, 20): rendered at the destination
// size, placed at its corner, 4 x 720 / 300 = 9 decipoints wide.
TEST_F(BitmapCallbacks, FrameOfASmallBitmapIsExact) {
    const TestDib dib = DirectDib(2, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    ASSERT_EQ(Draw(10, 20, 4, 2, dib, 0, 0, 2, 2), 1);
    const Chunks chunks = h.Take();
    ASSERT_GE(chunks.size(), 15u);
    EXPECT_EQ(
        Chunks(chunks.begin(), chunks.begin() + 12),
        (Chunks{"PUPA10,20", "\x1b%1A", "\x1b%1A", "\x1bv1N", "\x1bv1O", "\x1b&a0N", "\x1b*r4S",
                "\x1b*r2T", "\x1b*t9H", "\x1b*t4V", Cid("\x00\x03\x03\x08\x08\x08"), "\x1b*r3A"}));
    EXPECT_EQ(Chunks(chunks.end() - 3, chunks.end()), (Chunks{"\x1b*rC", "\x1b%0B", "\x1b%1B"}));
    std::string all;
    for (const auto& c : chunks) all += c;
    // HALFTONE enlarging: raster pixel j shows source position j / 2, so
    // the second is an even mix of the first two (127.5 -> 128) and the
    // last stays on the last source pixel.
    EXPECT_EQ(Rows(all, 4),
              (std::vector<pcl::Bytes>{Rgb({0xFF0000, 0x808000, 0x00FF00, 0x00FF00}),
                                       Rgb({0x0000FF, 0x8080FF, 0xFFFFFF, 0xFFFFFF})}));
}

// Grey: "\e*v6W" gives the raster a palette of default colours, so the grey
// ramp follows it before the raster starts, and the plot reads back grey.
TEST_F(BitmapCallbacks, ColourFormatFollowsTheColourSetting) {
    struct Case {
        const char* ini;
        std::string cid;
        std::string next;  // the chunk after the configure-image-data command
        uint32_t plotted;  // the pixel 0x123456 as the plot reads back
    } cases[] = {{"COLOR=0\n", Cid("\x00\x01\x00\x00\x00\x00"), "\x1b*r3A", 0x000000},
                 {"COLOR=1\n", Cid("\x00\x03\x03\x08\x08\x08"), "\x1b*r3A", 0x123456},
                 // (0x12 + 0x34 + 0x56) / 3 = 0x34
                 {"COLOR=2\n", Cid("\x00\x01\x08\x08\x08\x08"), "\x1b*v0a0b0c0I", 0x343434},
                 {"COLOR=7\n", Cid("\x00\x01\x00\x00\x00\x00"), "\x1b*r3A", 0x000000}};
    for (const Case& c : cases) {
        JobHarness job(c.ini);
        ASSERT_EQ(job.Start(), 1);
        const size_t start = job.channel.chunks.size();
        const TestDib dib = DirectDib(1, 1, 24, {0x123456});
        ASSERT_EQ(job.Table().OnDrawBitmap(&job.host, 0, 0, 1, 1, 0, 0, 1, 1, dib.bits.data(),
                                           dib.Info(), 0, SRCCOPY),
                  1);
        const Chunks chunks(job.channel.chunks.begin() + static_cast<long>(start),
                            job.channel.chunks.end());
        ASSERT_GE(chunks.size(), 12u) << c.ini;
        EXPECT_EQ(chunks[10], c.cid) << c.ini;
        EXPECT_EQ(chunks[11], c.next) << c.ini;
        job.End();
        const plot::PlotRendering plot = plot::RenderPlot(job.channel.Bytes());
        ASSERT_TRUE(plot.ok) << plot.error;
        EXPECT_EQ(plot::FirstPage(plot).At(0, 0) & 0xFFFFFF, c.plotted) << c.ini;
    }
}

// The size rule: a destination of at least 2^20 pixels and at least 1.5
// times the source keeps the source's pixels; the plotter enlarges them.
TEST_F(BitmapCallbacks, RasterSizeFollowsTheSizeRule) {
    struct Case {
        int w, h, srcW, srcH;
        const char* pupa;
        const char* widthCommand;
        const char* heightCommand;
        const char* decipointsH;
        const char* decipointsV;
    } cases[] = {
        // 2000 x 2000 = 4 000 000 >= 1.5 x 10 000 and >= 1 048 576.
        {2000, 2000, 100, 100, "PUPA0,0", "\x1b*r100S", "\x1b*r100T", "\x1b*t4800H", "\x1b*t4800V"},
        // 500 x 500 = 250 000 < 1 048 576: destination size.
        {500, 500, 100, 100, "PUPA0,0", "\x1b*r500S", "\x1b*r500T", "\x1b*t1200H", "\x1b*t1200V"},
        // 1024 x 1024 = 1 048 576 exactly, 1.5 x 775 x 902 = 1 048 575 <= D.
        {1024, 1024, 775, 902, "PUPA0,0", "\x1b*r775S", "\x1b*r902T", "\x1b*t2457H", "\x1b*t2457V"},
        // 1.5 x 776 x 901 = 1 048 764 > D: destination size.
        {1024, 1024, 776, 901, "PUPA0,0", "\x1b*r1024S", "\x1b*r1024T", "\x1b*t2457H",
         "\x1b*t2457V"},
        // 1023 x 1025 = 1 048 575 < 2^20, however small the source.
        {1023, 1025, 1, 1, "PUPA0,0", "\x1b*r1023S", "\x1b*r1025T", "\x1b*t2455H", "\x1b*t2460V"},
        // A negative height is placed at yDest + hDest and measured by |hDest|.
        {500, -300, 100, 100, "PUPA0,-300", "\x1b*r500S", "\x1b*r0T", "", ""},
    };
    for (const Case& c : cases) {
        const TestDib dib =
            DirectDib(c.srcW, c.srcH, 24, std::vector<uint32_t>(size_t(c.srcW) * c.srcH, 0x808080));
        ASSERT_EQ(Draw(0, 0, c.w, c.h, dib, 0, 0, c.srcW, c.srcH), 1);
        const Chunks chunks = h.Take();
        if (c.h < 0) {
            // Above the page: nothing of it is inside the clip, no raster.
            EXPECT_TRUE(chunks.empty());
            continue;
        }
        ASSERT_GE(chunks.size(), 12u);
        EXPECT_EQ(chunks[0], c.pupa);
        EXPECT_EQ(chunks[6], c.widthCommand);
        EXPECT_EQ(chunks[7], c.heightCommand);
        EXPECT_EQ(chunks[8], c.decipointsH);
        EXPECT_EQ(chunks[9], c.decipointsV);
    }
}

TEST_F(BitmapCallbacks, NegativeHeightIsPlacedAtItsTopAndShownMirrored) {
    const TestDib dib = DirectDib(1, 2, 24, {0xFF0000, 0x0000FF});  // red above blue
    ASSERT_EQ(Draw(5, 50, 1, -2, dib, 0, 0, 1, 2), 1);
    const std::string all = h.TakeBytes();
    EXPECT_EQ(all.substr(0, 8), "PUPA5,48");
    EXPECT_EQ(Rows(all, 1), (std::vector<pcl::Bytes>{Rgb({0x0000FF}), Rgb({0xFF0000})}));
    // Mirrored left to right as well, every raster pixel covered.
    const TestDib row = DirectDib(2, 1, 24, {0xFF0000, 0x00FF00});
    ASSERT_EQ(Draw(5, 50, -2, 1, row, 0, 0, 2, 1), 1);
    const std::string mirrored = h.TakeBytes();
    EXPECT_EQ(mirrored.substr(0, 8), "PUPA3,50");
    EXPECT_EQ(Rows(mirrored, 2), (std::vector<pcl::Bytes>{Rgb({0x00FF00, 0xFF0000})}));
}

// The configure-image-data command replaces the plotter's pen palette and
// resets its widths: the next line defines, counts and selects its pen and
// sends its width again.
TEST_F(BitmapCallbacks, PensAreDefinedAgainAfterARaster) {
    const POINT line[2] = {{0, 0}, {100, 0}};
    h.Table().OnPolyline(&h.host, line, 2);
    const std::string before = h.TakeBytes();
    ASSERT_NE(before.find("NP256"), std::string::npos);
    ASSERT_NE(before.find("SP"), std::string::npos);
    h.Table().OnPolyline(&h.host, line, 2);
    const std::string again = h.TakeBytes();
    EXPECT_EQ(again.find("SP"), std::string::npos) << "a pen in force is not selected again";

    const TestDib dib = DirectDib(1, 1, 24, {0});
    ASSERT_EQ(Draw(0, 0, 1, 1, dib, 0, 0, 1, 1), 1);
    h.Take();
    h.Table().OnPolyline(&h.host, line, 2);
    const Chunks after = h.Take();
    ASSERT_GE(after.size(), 4u);
    EXPECT_EQ(after[0], "NP256");
    EXPECT_EQ(after[1].substr(0, 2), "PC");
    EXPECT_EQ(after[2].substr(0, 2), "SP");
    EXPECT_EQ(after[3].substr(0, 2), "PW");
}

TEST_F(BitmapCallbacks, AlphaZeroIsSentWhite) {
    // Red opaque, green transparent, blue half transparent, black opaque.
    const TestDib dib = DirectDib(4, 1, 32, {0xFFFF0000, 0x0000FF00, 0x800000FF, 0xFF000000});
    ASSERT_EQ(DrawAlpha(0, 0, 4, 1, dib), 1);
    EXPECT_EQ(Rows(h.TakeBytes(), 4),
              (std::vector<pcl::Bytes>{Rgb({0xFF0000, 0xFFFFFF, 0x0000FF, 0x000000})}));
    // A source without an alpha byte is opaque.
    const TestDib opaque = DirectDib(2, 1, 24, {0x00FF00, 0x000000});
    ASSERT_EQ(DrawAlpha(0, 0, 2, 1, opaque), 1);
    EXPECT_EQ(Rows(h.TakeBytes(), 2), (std::vector<pcl::Bytes>{Rgb({0x00FF00, 0x000000})}));
}

TEST_F(BitmapCallbacks, PartsOutsideANonRectangularClipAreWhite) {
    // A triangle over the left half of a 4 x 4 destination.
    HT_ClipRgn* region = HT_CreateRectRgnData(POINT{0, 0}, POINT{2, 4});
    ASSERT_NE(region, nullptr);
    region->pPoints[0] = {0, 0};
    region->pPoints[1] = {4, 0};
    region->pPoints[2] = {0, 4};
    region->pPoints[3] = {0, 4};
    h.Table().OnSetClipRegion(&h.host, region);
    HT_DeleteRgn(region);
    ASSERT_EQ(h.Job().m_bClipIsRect, 0);
    h.Take();
    const TestDib dib = DirectDib(4, 4, 24, std::vector<uint32_t>(16, 0x000000));
    ASSERT_EQ(Draw(0, 0, 4, 4, dib, 0, 0, 4, 4), 1);
    const std::vector<pcl::Bytes> rows = Rows(h.TakeBytes(), 4);
    ASSERT_EQ(rows.size(), 4u);
    // The first pixel of the top row is inside; the last pixel of the
    // bottom row is outside.
    EXPECT_EQ(rows[0][0], 0);
    EXPECT_EQ(rows[3][9], 255);
    EXPECT_EQ(rows[3][11], 255);
}

// An image of more rows than one band holds goes out in several bands;
// the rows are the same as from one band.
TEST_F(BitmapCallbacks, LargeImagesGoOutInBandsWithTheSameRows) {
    const int w = 2000, rows = 1500;  // 8000 bytes a row: 1048 rows a band
    std::vector<uint32_t> pixels(size_t(w) * rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < w; ++x) pixels[size_t(y) * w + x] = uint32_t(x * 7 + y * 13) & 0xFFFFFF;
    const TestDib dib = DirectDib(w, rows, 24, pixels);
    ASSERT_EQ(Draw(0, 0, w, rows, dib, 0, 0, w, rows), 1);
    const std::string all = h.TakeBytes();
    // One method command per band ("\e*b3M" then "\e*b0Y").
    size_t bands = 0;
    for (size_t at = all.find("\x1b*b0Y"); at != std::string::npos;
         at = all.find("\x1b*b0Y", at + 1))
        ++bands;
    EXPECT_EQ(bands, 2u);
    const std::vector<pcl::Bytes> decoded = Rows(all, w);
    ASSERT_EQ(decoded.size(), size_t(rows));
    for (int y : {0, 1047, 1048, 1499}) {
        for (int x : {0, 1, 1999}) {
            const uint32_t p = pixels[size_t(y) * w + x];
            const pcl::Bytes& row = decoded[size_t(y)];
            EXPECT_EQ(row[3 * x], uint8_t(p >> 16)) << x << "," << y;
            EXPECT_EQ(row[3 * x + 1], uint8_t(p >> 8)) << x << "," << y;
            EXPECT_EQ(row[3 * x + 2], uint8_t(p)) << x << "," << y;
        }
    }
}

// A destination of 2^31 - 1 pixels of a small source keeps the source's
// pixels; one of -2^31, which no int coordinate reaches, becomes a raster
// of its visible part only.
TEST_F(BitmapCallbacks, HugeDestinationsStayBounded) {
    const TestDib dib = DirectDib(1, 1, 24, {0x000000});
    ASSERT_EQ(Draw(0, 0, INT_MAX, 10, dib, 0, 0, 1, 1), 1);
    Chunks chunks = h.Take();
    ASSERT_GE(chunks.size(), 12u);
    // (2^31 - 1) x 720 / 300 = 5 153 960 752.8, in 64 bits.
    EXPECT_EQ(Chunks(chunks.begin() + 6, chunks.begin() + 10),
              (Chunks{"\x1b*r1S", "\x1b*r1T", "\x1b*t5153960752H", "\x1b*t24V"}));
    ASSERT_EQ(Draw(0, 5, INT_MIN, INT_MIN, dib, 0, 0, 1, 1), 1);
    EXPECT_TRUE(h.Take().empty()) << "wholly above and left of the page";
    ASSERT_EQ(Draw(100, 100, INT_MIN, INT_MIN, dib, 0, 0, 1, 1), 1);
    chunks = h.Take();
    ASSERT_GE(chunks.size(), 12u);
    EXPECT_EQ(Chunks(chunks.begin(), chunks.begin() + 1), (Chunks{"PUPA0,0"}));
    EXPECT_EQ(Chunks(chunks.begin() + 6, chunks.begin() + 10),
              (Chunks{"\x1b*r100S", "\x1b*r100T", "\x1b*t240H", "\x1b*t240V"}));
}

// A raster row must fit one band (8 MiB, 2^21 pixels): a wider source kept
// at its size by the size rule is refused, and nothing is written.
TEST_F(BitmapCallbacks, RowsWiderThanABandAreRefused) {
    TestDib wide = IndexedDib(1, 1, 1, {0, 0xFFFFFF}, {1});
    wide.Header().biWidth = (1 << 21) + 1;
    wide.bits.assign(TestStride((1 << 21) + 1, 1), 0xFF);
    EXPECT_EQ(Draw(0, 0, 2000, 2000, wide, 0, 0, 1, 1), 0);
    EXPECT_TRUE(h.Take().empty());
    wide.Header().biWidth = 1 << 21;  // exactly one band's row: sent
    EXPECT_EQ(Draw(0, 0, 2000, 2000, wide, 0, 0, 1, 1), 1);
    const Chunks chunks = h.Take();
    ASSERT_GE(chunks.size(), 8u);
    EXPECT_EQ(chunks[6], "\x1b*r2097152S");
}

TEST_F(BitmapCallbacks, BadHeadersAreRefusedOrDrawNothing) {
    TestDib dib = DirectDib(2, 2, 24, {0, 0, 0, 0});
    dib.Header().biSize = 8;  // no header form is this small
    EXPECT_EQ(Draw(0, 0, 2, 2, dib, 0, 0, 2, 2), 0);
    dib.Header().biSize = 40;
    dib.Header().biBitCount = 7;  // no such depth: the raster stays white
    ASSERT_EQ(Draw(0, 0, 2, 2, dib, 0, 0, 2, 2), 1);
    EXPECT_EQ(Rows(h.TakeBytes(), 2),
              (std::vector<pcl::Bytes>{Rgb({0xFFFFFF, 0xFFFFFF}), Rgb({0xFFFFFF, 0xFFFFFF})}));
}

// An empty destination sends no image, so neither entry says it did; a
// destination wholly outside the clip is placed as an all-white raster
// would be, which the entry counts as sent (RasterSizeFollowsTheSizeRule).
TEST_F(BitmapCallbacks, AnEmptyDestinationIsNotSent) {
    const TestDib dib = DirectDib(2, 2, 32, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF});
    const struct { int w, h; } cases[] = {{0, 10}, {10, 0}, {0, 0}, {0, -10}, {-10, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Draw(10, 10, c.w, c.h, dib, 0, 0, 2, 2), 0) << c.w << " x " << c.h;
        EXPECT_EQ(DrawAlpha(10, 10, c.w, c.h, dib), 0) << c.w << " x " << c.h;
        EXPECT_TRUE(h.Take().empty()) << c.w << " x " << c.h;
    }
}

// A one-bit source goes to the plain entry whatever its header's form: the
// alpha entry's bytes are the plain entry's, at the size the size rule
// gives (500 x 500 = 250 000 pixels: the destination's), not the source's.
TEST_F(BitmapCallbacks, OneBitSourcesOfEitherHeaderFormGoToThePlainEntry) {
    TestDib info = IndexedDib(100, 100, 1, {0x000000, 0xFFFFFF}, std::vector<int>(10000, 0));
    for (int i = 0; i < 100; ++i) info.bits[static_cast<size_t>(i) * 16] = 0xF0;  // a white bar
    // The same bitmap with a BITMAPCOREHEADER: 16-bit sizes, RGBTRIPLE colours.
    TestDib core;
    const BITMAPCOREHEADER coreHeader{sizeof(BITMAPCOREHEADER), 100, 100, 1, 1};
    core.info.resize(sizeof coreHeader + 6);
    std::memcpy(core.info.data(), &coreHeader, sizeof coreHeader);
    std::memset(core.info.data() + sizeof coreHeader + 3, 0xFF, 3);
    core.bits = info.bits;
    for (const TestDib* dib : {&info, &core}) {
        const char* form = dib == &core ? "core header" : "info header";
        ASSERT_EQ(Draw(0, 0, 500, 500, *dib, 0, 0, 100, 100), 1) << form;
        const Chunks plain = h.Take();
        ASSERT_EQ(
            h.Table().OnDrawBitmapAlpha(&h.host, 0, 0, 500, 500, 0, 0, 100, 100, dib->bits.data(),
                                        dib->Info(), DIB_RGB_COLORS, SRCCOPY),
            1)
            << form;
        const Chunks alpha = h.Take();
        ASSERT_GE(alpha.size(), 8u) << form;
        EXPECT_EQ(alpha[6], "\x1b*r500S") << form;
        EXPECT_TRUE(alpha == plain) << form;
    }
}

}  // namespace

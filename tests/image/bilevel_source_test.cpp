#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/driver_state.h"
#include "image/bilevel_source.h"
#include "support/dib_builder.h"
#include "support/job_harness.h"
#include "support/pcl_row_decoder.h"

namespace {

// Indexes of a picture that repeats neither by byte nor by row.
std::vector<int> Pattern(int width, int rows) {
    std::vector<int> indexes(static_cast<size_t>(width) * static_cast<size_t>(rows));
    uint32_t state = 12345;
    for (int& v : indexes) {
        state = state * 1103515245u + 12345u;
        v = (state >> 16) % 3 == 0 ? 1 : 0;
    }
    return indexes;
}

class BilevelSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(h.Start(), 1);
        h.Take();
        DriverOf(&h.host)->m_devmode.nColorMode = 0;  // black and white
        // Room for rasters wider than the page.
        h.Job().m_rcClipBounds = RECT{0, 0, 1 << 20, 1 << 20};
    }
    std::string Draw(const TestDib& dib, int width, int rows) {
        EXPECT_EQ(h.Table().OnDrawBitmap(&h.host, 10, 20, width, rows, 0, 0, width, rows,
                                         dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY),
                  1);
        return h.TakeBytes();
    }
    JobHarness h;
};

// A one-bit bitmap drawn pixel for pixel plots exactly as the same picture
// in 24-bit pixels, which the GDI renders and the one-bit rows pack: ink is
// every colour but pure white, the bits past the width are white, and bands
// and row methods do not change (65 536 pixels a row make bands of 32 rows).
TEST_F(BilevelSourceTest, RowsAreThoseOfTheRenderedPicture) {
    const struct {
        const char* name;
        int width, height;  // height < 0: top-down rows
        uint32_t colour0, colour1;
        int compression;  // 1 run-length rows, 3 delta rows
    } cases[] = {
        {"black ink, top-down", 70, -9, 0xFFFFFF, 0x000000, 3},
        {"black ink, bottom-up", 33, 9, 0xFFFFFF, 0x000000, 1},
        {"white index 1", 9, -5, 0x000000, 0xFFFFFF, 3},
        {"near white is ink", 8, 4, 0xFFFFFE, 0xFFFFFF, 1},
        {"both white", 17, -4, 0xFFFFFF, 0xFFFFFF, 3},
        {"both ink", 1, -3, 0x010203, 0x00FFFF, 1},
        {"one pixel short of a byte", 7, 3, 0xFFFFFF, 0x808080, 3},
        {"two bands", 65536, -40, 0xFFFFFF, 0x000000, 3},
        {"two bands, bottom-up", 65536, 40, 0x000000, 0xFFFFFF, 1},
    };
    for (const auto& c : cases) {
        DriverOf(&h.host)->m_devmode.nCompression = c.compression;
        const int rows = c.height < 0 ? -c.height : c.height;
        const std::vector<int> indexes = Pattern(c.width, rows);
        const uint32_t colours[2] = {c.colour0, c.colour1};
        std::vector<uint32_t> pixels;
        for (int i : indexes) pixels.push_back(colours[i]);
        const std::string packed =
            Draw(IndexedDib(c.width, c.height, 1, {c.colour0, c.colour1}, indexes), c.width, rows);
        const std::string rendered = Draw(DirectDib(c.width, c.height, 24, pixels), c.width, rows);
        EXPECT_TRUE(packed == rendered) << c.name;

        const size_t rowBytes = (static_cast<size_t>(c.width) + 7) / 8;
        std::vector<pcl::Bytes> expected(static_cast<size_t>(rows), pcl::Bytes(rowBytes, 0));
        for (size_t k = 0; k < indexes.size(); ++k) {
            const size_t x = k % static_cast<size_t>(c.width), y = k / static_cast<size_t>(c.width);
            if (colours[indexes[k]] != 0xFFFFFF) expected[y][x / 8] |= 0x80 >> (x % 8);
        }
        const pcl::RasterRows decoded = pcl::DecodeRasterRows(packed, rowBytes);
        EXPECT_EQ(decoded.error, "") << c.name;
        EXPECT_TRUE(decoded.rows == expected) << c.name;
    }
}

// Only calls whose pixels are the source's own take the bitmap's rows.
TEST_F(BilevelSourceTest, OnlyPixelForPixelCopiesTakeTheSourceRows) {
    TestDib dib = IndexedDib(16, -4, 1, {0xFFFFFF, 0x000000}, Pattern(16, 4));
    const BitmapCall base{
        10, 20, 16, 4, 0, 0, 16, 4, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY};
    const RasterGeometry g{10, 20, 16, 4, 16, 4};
    const struct {
        const char* name;
        void (*change)(BitmapCall*, RasterGeometry*, JobContext*);
        bool taken;
    } cases[] = {
        {"the whole bitmap onto the raster", [](BitmapCall*, RasterGeometry*, JobContext*) {},
         true},
        {"mirrored", [](BitmapCall* c, RasterGeometry*, JobContext*) { c->wSrc = -16; }, false},
        {"part of the source", [](BitmapCall* c, RasterGeometry*, JobContext*) { c->ySrc = 1; },
         false},
        {"raster scaled on paper",
         [](BitmapCall*, RasterGeometry* r, JobContext*) { r->width = 32; }, false},
        {"another raster operation",
         [](BitmapCall* c, RasterGeometry*, JobContext*) { c->rop = SRCPAINT; }, false},
        {"palette indexes",
         [](BitmapCall* c, RasterGeometry*, JobContext*) { c->usage = DIB_PAL_COLORS; }, false},
        {"clip inside the raster",
         [](BitmapCall*, RasterGeometry*, JobContext* j) { j->m_rcClipBounds.right = 25; }, false},
    };
    for (const auto& c : cases) {
        BitmapCall call = base;
        RasterGeometry raster = g;
        JobContext& job = h.Job();
        const RECT clip = job.m_rcClipBounds;
        c.change(&call, &raster, &job);
        BilevelSource source;
        EXPECT_EQ(BilevelSourceOf(job, call, raster, &source), c.taken) << c.name;
        job.m_rcClipBounds = clip;
    }
    dib.Header().biClrUsed = 1;  // index 1 past the table: the GDI's black
    BilevelSource source;
    EXPECT_FALSE(BilevelSourceOf(h.Job(), base, g, &source));
}

}  // namespace

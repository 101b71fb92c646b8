// Metafiles placed into rectangles of a vector plot: the bytes around the
// embedded raster, what is written when no raster can be made, and the
// picture where the plotter draws it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <windows.h>

#include "reader/plot_reader.h"
#include "render/render_page_to_raster.h"
#include "support/emf_builder.h"
#include "support/job_harness.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

constexpr DWORD kStockNullPen = 0x80000000u | NULL_PEN;
constexpr double kIdentity[6] = {1, 0, 0, 1, 0, 0};

// A red square over the whole frame of the builder's 1000 x 1000 device.
HENHMETAFILE RedSquare() {
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1).Select(kStockNullPen);
    emf.Box(EMR_RECTANGLE, 0, 0, 1001, 1001);
    const std::vector<BYTE> bytes = emf.Bytes();
    return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

TEST(RenderMetafileRegion, FramesTheRasterWithThePenMoveAndTheWayBack) {
    struct Case {
        const char* what;
        int inPE, inRaster;
        RECT rect;
        std::vector<std::string> head;  // the first chunks
        std::vector<std::string> tail;  // the last chunks
    };
    const std::vector<Case> cases = {
        {"vector plot",
         0,
         0,
         {100, 200, 160, 240},
         {"PUPA100,200", "\x1b%1A", "\x1b%1A", "\x1b\x76\x31N", "\x1b\x76\x31O", "\x1b&a0N"},
         {"\x1b*rC", "\x1b%0B", "\x1b%1B", ";"}},
        {"open polyline closed first",
         1,
         0,
         {0, 0, 8, 8},
         {";", "PUPA0,0", "\x1b%1A", "\x1b%1A"},
         {"\x1b*rC", "\x1b%0B", "\x1b%1B", ";"}},
        {"already in RTL: leaves it first",
         0,
         1,
         {5, 7, 9, 9},
         {"\x1b%1B", "PUPA5,7", "\x1b%1A", "\x1b%1A"},
         {"\x1b*rC", "\x1b%0B", "\x1b%1B", ";"}},
        // No raster can be made: the pen move, into RTL and back, no ";".
        {"empty rectangle", 0, 0, {40, 40, 40, 90}, {"PUPA40,40", "\x1b%1A", "\x1b%1B"}, {}},
        {"inverted rectangle", 0, 0, {40, 90, 80, 40}, {"PUPA40,90", "\x1b%1A", "\x1b%1B"}, {}},
    };
    HENHMETAFILE metafile = RedSquare();
    ASSERT_NE(metafile, nullptr);
    for (const Case& c : cases) {
        JobHarness h;
        ASSERT_EQ(h.Start(), 1) << c.what;
        h.Take();
        h.Job().m_bInPE = c.inPE;
        h.Job().m_bInRaster = c.inRaster;
        ASSERT_NE(h.Table().RenderMetafileRegion, nullptr);
        EXPECT_EQ(h.Table().RenderMetafileRegion(&h.host, metafile, kIdentity, &c.rect), 1)
            << c.what;
        const std::vector<std::string> chunks = h.Take();
        ASSERT_GE(chunks.size(), c.head.size()) << c.what;
        EXPECT_EQ(std::vector<std::string>(chunks.begin(), chunks.begin() + c.head.size()), c.head)
            << c.what;
        if (c.tail.empty()) {
            EXPECT_EQ(chunks.size(), c.head.size()) << c.what;
        } else {
            EXPECT_EQ(std::vector<std::string>(chunks.end() - c.tail.size(), chunks.end()), c.tail)
                << c.what;
        }
        EXPECT_EQ(h.Job().m_bInRaster, 0) << c.what;
        EXPECT_EQ(h.Job().m_bInPE, 0) << c.what;
        EXPECT_EQ(h.Job().m_bPEAbsNext, 1) << c.what;
        h.End();
    }
    // The caller's metafile is still the caller's.
    EXPECT_NE(EnhMetaFileDocument(metafile), nullptr);
    EXPECT_TRUE(DeleteEnhMetaFile(metafile));
}

TEST(RenderMetafileRegion, RasterWidthAndPaletteFollowTheSettings) {
    HENHMETAFILE metafile = RedSquare();
    for (LONG mode : {0, 1, 2, 3}) {
        JobHarness h;
        h.driver->m_devmode.nColorMode = mode;
        ASSERT_EQ(h.Start(), 1);
        h.Take();
        const RECT rect{10, 10, 73, 20};
        h.Table().RenderMetafileRegion(&h.host, metafile, kIdentity, &rect);
        const std::string bytes = h.TakeBytes();
        EXPECT_NE(bytes.find("\x1b*r63S"), std::string::npos) << "mode " << mode;
        // Colour gives direct RGB; black and white one bit; grey and any
        // other mode the writer's 8-bit grey.
        const std::string configure =
            mode == 1   ? std::string("\x1b*v6W\x00\x03\x03\x08\x08\x08", 11)
            : mode == 0 ? std::string("\x1b*v6W\x00\x01\x00\x00\x00\x00", 11)
                        : std::string("\x1b*v6W\x00\x01\x08\x08\x08\x08", 11);
        EXPECT_NE(bytes.find(configure), std::string::npos) << "mode " << mode;
        h.End();
    }
    DeleteEnhMetaFile(metafile);
}

TEST(RenderMetafileRegion, PictureLandsInItsRectangleAndPensAreSentAgain) {
    HENHMETAFILE metafile = RedSquare();
    JobHarness h;
    ASSERT_EQ(h.Start(), 1);
    // A black line before, to select a pen.
    POINT line[2] = {{20, 300}, {200, 300}};
    h.Table().OnPolyline(&h.host, line, 2);
    const RECT plain{100, 200, 160, 240};
    h.Table().RenderMetafileRegion(&h.host, metafile, kIdentity, &plain);
    // The world transform moves the picture 20 pixels left inside its raster.
    const double shifted[6] = {1, 0, 0, 1, -20, 0};
    const RECT moved{300, 200, 360, 240};
    h.Table().RenderMetafileRegion(&h.host, metafile, shifted, &moved);
    h.Table().OnPolyline(&h.host, line, 2);
    h.End();
    const std::string all = h.channel.Bytes();
    // The raster's palette replaced the pens: the line after it defines its
    // pen again.
    const size_t lastRaster = all.rfind("\x1b%0B");
    ASSERT_NE(lastRaster, std::string::npos);
    EXPECT_NE(all.find("SP", lastRaster), std::string::npos);

    const plot::PlotRendering plot = plot::RenderPlot(all);
    ASSERT_TRUE(plot.ok) << plot.error;
    const plot::Image page = plot::FirstPage(plot);
    struct Probe {
        int x, y;
        uint32_t colour;
    };
    for (const Probe& p : std::vector<Probe>{{101, 201, 0xFF0000},
                                             {158, 238, 0xFF0000},
                                             {98, 220, 0xFFFFFF},
                                             {130, 242, 0xFFFFFF},
                                             {310, 220, 0xFF0000},
                                             {338, 220, 0xFF0000},
                                             {345, 220, 0xFFFFFF},
                                             {358, 220, 0xFFFFFF}})
        EXPECT_EQ(page.At(p.x, p.y) & 0xFFFFFF, p.colour) << p.x << "," << p.y;
    DeleteEnhMetaFile(metafile);
}

// Rectangles at the ends of 32 bits: sizes and the pen move are worked out
// in 64 bits. A size that no raster can have asks for none; a small
// rectangle at either end is drawn where it is.
TEST(RenderMetafileRegion, ExtremeRectanglesOverflowNothing) {
    struct Case {
        const char* what;
        RECT rect;
        const char* pupa;  // with the plot origin (100, 200) added
        bool raster;
    };
    const Case cases[] = {
        {"wider than 32 bits hold", {INT_MIN, 0, INT_MAX, 10}, "PUPA-2147483548,200", false},
        {"taller than 32 bits hold", {0, INT_MIN, 10, INT_MAX}, "PUPA100,-2147483448", false},
        {"inverted across 32 bits", {INT_MAX, 0, INT_MIN, 10}, "PUPA2147483747,200", false},
        // A device context's origin is an int: -INT_MIN is none.
        {"at INT_MIN, where no raster can be placed",
         {INT_MIN, INT_MIN, INT_MIN + 8, INT_MIN + 8},
         "PUPA-2147483548,-2147483448",
         false},
        {"at the lowest corner a raster can be placed",
         {INT_MIN + 1, INT_MIN + 1, INT_MIN + 9, INT_MIN + 9},
         "PUPA-2147483547,-2147483447",
         true},
        {"at the highest corner",
         {INT_MAX - 8, INT_MAX - 8, INT_MAX, INT_MAX},
         "PUPA2147483739,2147483839",
         true},
    };
    HENHMETAFILE metafile = RedSquare();
    ASSERT_NE(metafile, nullptr);
    for (const Case& c : cases) {
        JobHarness h;
        ASSERT_EQ(h.Start(), 1) << c.what;
        h.Take();
        h.Job().m_ptOrigin = POINT{100, 200};
        EXPECT_EQ(h.Table().RenderMetafileRegion(&h.host, metafile, kIdentity, &c.rect), 1)
            << c.what;
        const std::vector<std::string> chunks = h.Take();
        ASSERT_GE(chunks.size(), 3u) << c.what;
        EXPECT_EQ(chunks[0], c.pupa) << c.what;
        if (c.raster) {
            EXPECT_EQ(chunks.back(), ";") << c.what;
            EXPECT_NE(std::find(chunks.begin(), chunks.end(), "\x1b*r8S"), chunks.end()) << c.what;
        } else {
            EXPECT_EQ(chunks, (std::vector<std::string>{c.pupa, "\x1b%1A", "\x1b%1B"})) << c.what;
        }
        h.End();
    }
    DeleteEnhMetaFile(metafile);
}

}  // namespace

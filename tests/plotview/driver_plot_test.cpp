// Drawings played through the real driver, read back by the plot reader:
// the shapes must land where the host drew them, in their colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hpgl/command_boundary.h"
#include "job/output_stream.h"
#include "pxrdriver/regions.h"
#include "rtl/rtl_rip.h"
#include "support/job_harness.h"
#include "reader/plot_reader.h"

namespace {

using plot::Rgb;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

HostPenRecord Pen(COLORREF colour, DWORD width) {
    HostPenRecord pen{};
    pen.nWidth = width;
    pen.crColor = colour;
    return pen;
}

class DriverPlot : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(h.Start(), 1); }
    void Polyline(std::vector<POINT> p) {
        h.Table().OnPolyline(&h.host, p.data(), static_cast<int>(p.size()));
    }
    void Polygon(std::vector<POINT> p) {
        h.Table().OnPolygon(&h.host, p.data(), static_cast<int>(p.size()));
    }
    void SelectPen(COLORREF colour, DWORD width) {
        const HostPenRecord pen = Pen(colour, width);
        h.Table().OnSelectPen(&h.host, &pen);
    }
    void SelectBrush(COLORREF colour) {
        const HostBrushRecord brush{0, colour, 0};
        h.Table().OnSelectBrush(&h.host, &brush);
    }
    void ClipToRectangle(LONG left, LONG top, LONG right, LONG bottom) {
        POINT p[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        HT_ClipRgn region{0, nullptr, 4, p};
        h.Table().OnSetClipRegion(&h.host, &region);
    }
    // A raster placed the way a metafile region is: pen to the corner, RTL,
    // the raster writer's embedded frame and rows, back to HP-GL/2.
    void EmbeddedRaster(int x, int y, int colourFormat, int compression,
                        const std::vector<uint32_t>& pixels, int width, int height) {
        JobContext& job = h.Job();
        ClosePE(&job);
        LeaveRaster(&job);
        WriteText(&job, "PUPA" + std::to_string(x) + "," + std::to_string(y));
        EnterRaster(&job);
        CRTLRip rip(&h.host, h.driver.get());
        rip.m_nColorFormat = colourFormat;
        rip.m_nCompression = compression;
        rip.m_bEmbedded = 1;
        std::vector<uint32_t> band = pixels;
        const RipBandBits bits{width, height, 4, reinterpret_cast<BYTE*>(band.data())};
        ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND | RIP_LAST_BAND, RECT{0, 0, width, height}, &bits),
                  1);
        LeaveRaster(&job);
        job.m_bPEAbsNext = 1;
        WriteText(&job, ";");
    }
    plot::PlotRendering Finish(bool lenientPalette = false) {
        h.End();
        plot::RenderOptions options;
        options.lenientPalette = lenientPalette;
        return plot::RenderPlot(h.channel.Bytes(), options);
    }
    JobHarness h{"CLIPPER=7\n"};
};

TEST_F(DriverPlot, ShapesLandWhereTheHostDrewThem) {
    h.Table().OnSetClipRegion(&h.host, nullptr);
    // A red polyline three pixels wide.
    SelectPen(RGB(255, 0, 0), 3);
    Polyline({{100, 100}, {400, 100}, {400, 300}});
    // A blue triangle, crossed by a white line: white pens go out as
    // 255,255,254 so that the plotter does not take them for no ink.
    SelectBrush(RGB(0, 0, 255));
    Polygon({{500, 500}, {800, 500}, {500, 800}});
    SelectPen(RGB(255, 255, 255), 5);
    Polyline({{510, 520}, {700, 520}});
    // Two overlapping squares of a winding path: the overlap is filled.
    SelectBrush(RGB(0, 160, 0));
    h.Table().OnSetFillMode(&h.host, 2);
    h.Table().OnBeginPath(&h.host);
    Polygon({{100, 1000}, {300, 1000}, {300, 1200}, {100, 1200}});
    Polygon({{200, 1100}, {400, 1100}, {400, 1300}, {200, 1300}});
    h.Table().OnEndPath(&h.host);
    h.Table().OnFillPath(&h.host);
    h.Table().OnSetFillMode(&h.host, 1);
    // Yellow over the blue triangle with R2_MASKPEN: blue AND yellow is black.
    h.Table().OnSetRop2(&h.host, 9);
    SelectBrush(RGB(255, 255, 0));
    Polygon({{500, 700}, {560, 700}, {560, 760}, {500, 760}});
    h.Table().OnSetRop2(&h.host, 13);
    // A line through a rectangular clip region.
    ClipToRectangle(1000, 100, 1200, 300);
    SelectPen(RGB(0, 0, 0), 1);
    Polyline({{900, 200}, {1300, 200}});
    h.Table().OnSetClipRegion(&h.host, nullptr);
    // Rasters: one bit, run-length rows; direct colour, delta rows.
    EmbeddedRaster(1500, 1500, 1, 1, {0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0xFFFFFF, 0xFFFFFF}, 4, 2);
    EmbeddedRaster(1600, 1500, 24, 3, {0x123456, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0x00FF00},
                   3, 2);
    // The vector plot goes on after the rasters, with a pen of a colour not
    // used before, so that the driver defines it: the raster configuration
    // replaced every pen defined before it.
    SelectPen(RGB(128, 0, 128), 1);
    Polyline({{1500, 1600}, {1700, 1600}});

    const auto r = Finish();
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.pages.size(), 1u);
    const plot::Image& page = r.pages[0];
    EXPECT_EQ(page.width, 2363);  // 8000 plotter units across at 300 dpi
    const struct {
        int x, y;
        uint32_t colour;
        const char* what;
    } probes[] = {
        {250, 100, Rgb(255, 0, 0), "red line"},
        {250, 101, Rgb(255, 0, 0), "three pixels wide"},
        {250, 103, kWhite, "not four"},
        {400, 200, Rgb(255, 0, 0), "its second segment"},
        {600, 600, Rgb(0, 0, 255), "blue triangle"},
        {750, 750, kWhite, "outside the triangle"},
        {600, 520, Rgb(255, 255, 254), "white line drawn with 254 blue"},
        {250, 1150, Rgb(0, 160, 0), "overlap of the winding path"},
        {150, 1250, kWhite, "outside both squares"},
        {530, 730, kBlack, "blue AND yellow"},
        {540, 705, kBlack, "blue AND yellow"},
        {950, 200, kWhite, "left of the clip region"},
        {1100, 200, kBlack, "inside the clip region"},
        {1250, 200, kWhite, "right of the clip region"},
        {1500, 1500, kBlack, "mono raster pixel (0,0)"},
        {1501, 1500, kWhite, "mono raster pixel (1,0)"},
        {1503, 1500, kBlack, "mono raster pixel (3,0)"},
        {1501, 1501, kBlack, "mono raster pixel (1,1)"},
        {1502, 1501, kWhite, "mono raster pixel (2,1)"},
        {1600, 1500, Rgb(0x12, 0x34, 0x56), "RGB raster pixel (0,0)"},
        {1602, 1501, Rgb(0, 255, 0), "RGB raster pixel (2,1)"},
        {1600, 1600, Rgb(128, 0, 128), "line after the rasters"},
    };
    for (const auto& p : probes)
        EXPECT_EQ(page.At(p.x, p.y), p.colour) << p.what << " at (" << p.x << "," << p.y << ")";
    // What the reader reports about this driver's stream.
    std::string warnings;
    for (const auto& w : r.warnings) warnings += w + "\n";
    EXPECT_NE(warnings.find("\"\\ev1N\" is not a PCL sequence"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("0 bits per index"), std::string::npos) << warnings;
    // Direct colour rasters start explicitly too ("\e*r1A"), at the pen.
    EXPECT_EQ(warnings.find("started implicitly"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("never defined"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("replaced the palette"), std::string::npos) << warnings;
    EXPECT_EQ(r.summary.rasters, 2u);
    EXPECT_GE(r.summary.polygons, 3u);
}

TEST_F(DriverPlot, PageRenderedInTheComputer) {
    // The whole-page frame of the raster writer after the job's start: a
    // one-bit page with delta rows, a black block at columns 10-19, rows 2-5.
    JobContext& job = h.Job();
    ClosePE(&job);
    LeaveRaster(&job);
    EnterRaster(&job);
    CRTLRip rip(&h.host, h.driver.get());
    rip.m_nColorFormat = 1;
    rip.m_nCompression = 4;
    const int width = rip.m_nPageWidth;
    ASSERT_GT(width, 100);
    std::vector<uint32_t> pixels(size_t(width) * 8, 0xFFFFFF);
    for (int y = 2; y <= 5; ++y)
        for (int x = 10; x <= 19; ++x) pixels[size_t(y) * size_t(width) + size_t(x)] = 0;
    const RipBandBits bits{width, 8, 4, reinterpret_cast<BYTE*>(pixels.data())};
    ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND | RIP_LAST_BAND, RECT{0, 0, width, 8}, &bits), 1);
    // The page ended the job itself; the page callback then forgets the
    // channel, so the end of the document writes nothing more.
    job.m_pOutput = nullptr;

    const auto r = Finish();
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.pages.size(), 1u);
    const plot::Image& page = r.pages[0];
    EXPECT_EQ(page.At(10, 2), kBlack);
    EXPECT_EQ(page.At(19, 5), kBlack);
    EXPECT_EQ(page.At(20, 5), kWhite);
    EXPECT_EQ(page.At(10, 6), kWhite);
    EXPECT_EQ(plot::ToString(r.summary.ink), "[10,2]-[19,5]");
    EXPECT_EQ(r.summary.rasterRows, 8u);
}

// A grey raster, inside a plot or a page of its own, reads back in its greys
// as a device keeps palettes: its ramp follows "\e*v6W", which makes a new
// palette of default colours (index 85 of that palette is magenta).
TEST_F(DriverPlot, GreyRastersReadBackGrey) {
    const auto expectAssignedEntriesOnly = [](const plot::PlotRendering& r) {
        for (const auto& w : r.warnings) {
            EXPECT_EQ(w.find("never assigned"), std::string::npos) << w;
            EXPECT_EQ(w.find("beyond the palette"), std::string::npos) << w;
        }
    };
    h.Table().OnSetClipRegion(&h.host, nullptr);
    EmbeddedRaster(100, 100, -256, 1, {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}, 4, 1);
    const auto r = plot::RenderPlot(h.channel.Bytes() + ";PUSP0PG;");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.pages.at(0).At(100, 100), kBlack);
    EXPECT_EQ(r.pages.at(0).At(101, 100), Rgb(85, 85, 85));
    EXPECT_EQ(r.pages.at(0).At(102, 100), Rgb(170, 170, 170));
    expectAssignedEntriesOnly(r);

    JobHarness own;
    ASSERT_EQ(own.Start(), 1);
    JobContext& job = own.Job();
    ClosePE(&job);
    EnterRaster(&job);
    CRTLRip rip(&own.host, own.driver.get());
    rip.m_nColorFormat = -256;
    rip.m_nCompression = 1;
    const int width = rip.m_nPageWidth;
    std::vector<uint32_t> pixels(size_t(width), 0xFFFFFF);
    pixels[0] = 0x555555;
    const RipBandBits bits{width, 1, 4, reinterpret_cast<BYTE*>(pixels.data())};
    ASSERT_EQ(rip.EncodeBand(RIP_FIRST_BAND | RIP_LAST_BAND, RECT{0, 0, width, 1}, &bits), 1);
    job.m_pOutput = nullptr;
    const auto page = plot::RenderPlot(own.channel.Bytes());
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_EQ(page.pages.at(0).At(0, 0), Rgb(85, 85, 85));
    expectAssignedEntriesOnly(page);
}

}  // namespace

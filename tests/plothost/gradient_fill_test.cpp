// Gradient fills in plots: HP-GL/2 has no gradients, so the plot device
// hands each one to the driver's metafile region entry as a metafile of its
// own (the clip as a clip path, then the gradient, in plotter pixels), and
// the driver renders it into an embedded raster. A driver without the entry
// skips it, counted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "plothost_run.h"
#include "reader/plot_reader.h"
#include "recording_host.h"
#include "support/emf_builder.h"
#include "support/test_files.h"

namespace {

// One rectangle from (l, t) in the first colour to (r, b) in the second.
void GradientRect(EmfBuilder& e, ULONG mode, LONG l, LONG t, COLORREF from, LONG r, LONG b,
                  COLORREF to) {
    const auto colour = [](COLORREF c) {
        return std::vector<DWORD>{DWORD{GetRValue(c)} << 8 | DWORD{GetGValue(c)} << 24,
                                  DWORD{GetBValue(c)} << 8};
    };
    std::vector<DWORD> payload{DWORD(l), DWORD(t), DWORD(r), DWORD(b), 2,
                               1,        mode,     DWORD(l), DWORD(t)};
    for (DWORD w : colour(from)) payload.push_back(w);
    payload.push_back(DWORD(r));
    payload.push_back(DWORD(b));
    for (DWORD w : colour(to)) payload.push_back(w);
    payload.push_back(0);
    payload.push_back(1);
    e.Record(EMR_GRADIENTFILL, payload);
}

void TriangleClipPath(EmfBuilder& e) {
    e.Record(EMR_BEGINPATH, {}).Poly(EMR_POLYGON, {{300, 100}, {700, 100}, {300, 500}});
    e.Record(EMR_ENDPATH, {}).Mode(EMR_SELECTCLIPPATH, RGN_COPY);
}

// The recording host plays without a frame: a clip comes from the drawing.
constexpr const char* kUnclipped = " xform=1,0,0,1,0,0: EMR_HEADER EMR_GRADIENTFILL EMR_EOF";
constexpr const char* kClipped =
    " xform=1,0,0,1,0,0: EMR_HEADER EMR_BEGINPATH EMR_POLYGON EMR_ENDPATH EMR_SELECTCLIPPATH "
    "EMR_GRADIENTFILL EMR_EOF";

TEST(GradientFill, GoesToTheMetafileRegionEntryWithinClipAndPage) {
    struct Case {
        const char* name;
        void (*before)(EmfBuilder&);  // nullptr: nothing
        RECT from;                    // red at the first corner, blue at the second
        const char* region;           // nullptr: the driver is not called
        const char* records = kUnclipped;
        ULONG mode = GRADIENT_FILL_RECT_H;
    };
    const Case cases[] = {
        {"inside the page", nullptr, {100, 200, 900, 800}, "100,200,900,800"},
        {"corners given the other way round",
         nullptr,
         {900, 800, 100, 200},
         "100,200,900,800",
         kUnclipped,
         GRADIENT_FILL_RECT_V},
        {"under a clip rectangle",
         [](EmfBuilder& e) { e.Box(EMR_INTERSECTCLIPRECT, 300, 0, 700, 1000); },
         {100, 200, 900, 800},
         "300,200,700,800",
         kClipped},
        {"under a clip path", TriangleClipPath, {100, 200, 900, 800}, "300,200,700,500", kClipped},
        {"reaching past the page", nullptr, {-500, -500, 2000, 300}, "0,0,1000,300"},
        {"placed through the world transform",
         [](EmfBuilder& e) { e.World(0.5f, 0, 0, 0.5f, 100, 0); },
         {0, 0, 1000, 1000},
         "100,0,600,500"},
        {"clipped away",
         [](EmfBuilder& e) { e.Box(EMR_INTERSECTCLIPRECT, 0, 0, 50, 50); },
         {100, 200, 900, 800},
         nullptr},
        {"wholly off the page", nullptr, {2000, 2000, 3000, 3000}, nullptr},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        if (c.before) c.before(emf);
        GradientRect(emf, c.mode, c.from.left, c.from.top, RGB(255, 0, 0), c.from.right,
                     c.from.bottom, RGB(0, 0, 255));
        RecordingHost host;
        const PlayRun run = PlayInto(host, emf.Bytes());
        ASSERT_TRUE(run.ok) << c.name << ": " << run.error;
        const Lines expected =
            c.region ? Lines{std::string("RenderMetafileRegion ") + c.region + c.records} : Lines{};
        EXPECT_EQ(host.Lines("RenderMetafileRegion"), expected) << c.name;
        EXPECT_EQ(run.summary.SkippedCount(), 0u) << c.name;
    }
}

TEST(GradientFill, DriverWithoutTheRegionEntrySkipsItCounted) {
    EmfBuilder emf;
    GradientRect(emf, GRADIENT_FILL_RECT_H, 100, 200, RGB(255, 0, 0), 900, 800, RGB(0, 0, 255));
    RecordingHost host;
    host.WithoutMetafileRegions();
    const PlayRun run = PlayInto(host, emf.Bytes());
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.summary.skipped.at(EMR_GRADIENTFILL), 1u);
    EXPECT_EQ(run.summary.SkippedCount(), 1u);
    EXPECT_TRUE(host.log.empty());
}

// The pixels of a plot's first page that are not white.
struct Ink {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < left; }
};

Ink InkOf(const plot::Image& page) {
    Ink ink{page.width, page.height, -1, -1};
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.At(x, y) != 0xFFFFFF) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// A red-to-blue gradient across (100, 100)-(900, 500), clipped by the
// triangle (300, 100) (700, 100) (300, 500): the ink is the triangle, its
// colours run from a quarter of the way to three quarters, red falling and
// blue rising across it, and nothing lies beyond the long side.
void ExpectClippedGradient(const plot::PlotRendering& plot, const char* what) {
    ASSERT_TRUE(plot.ok) << what << ": " << plot.error;
    EXPECT_EQ(plot.summary.rasters, 1u) << what;
    const plot::Image page = plot::FirstPage(plot);
    const Ink ink = InkOf(page);
    ASSERT_FALSE(ink.Empty()) << what;
    const int w = ink.right - ink.left + 1, h = ink.bottom - ink.top + 1;
    // 400 x 400 units of a tenth of a millimetre at 100 dpi: 157 pixels.
    EXPECT_NEAR(w, 157, 3) << what;
    EXPECT_NEAR(h, 157, 3) << what;
    const auto at = [&](double u, double v) {
        return page.At(ink.left + static_cast<int>(u * (w - 1)),
                       ink.top + static_cast<int>(v * (h - 1)));
    };
    // Along the top row the colour runs from 3/4 red to 3/4 blue.
    int lastRed = 256, lastBlue = -1;
    for (double u = 0.02; u < 0.97; u += 0.05) {
        const uint32_t c = at(u, 0.02);
        const int red = plot::RedOf(c), blue = static_cast<int>(c & 0xFF);
        const double share = 0.25 + 0.5 * u;  // of the way from red to blue
        EXPECT_NEAR(red, 255 * (1 - share), 12) << what << " at " << u;
        EXPECT_NEAR(blue, 255 * share, 12) << what << " at " << u;
        EXPECT_NEAR(static_cast<int>(c >> 8 & 0xFF), 0, 12) << what << " at " << u;
        EXPECT_LE(red, lastRed) << what << " at " << u;
        EXPECT_GE(blue, lastBlue) << what << " at " << u;
        lastRed = red, lastBlue = blue;
    }
    // Down the left side the colour stays.
    EXPECT_NEAR(plot::RedOf(at(0.02, 0.9)), plot::RedOf(at(0.02, 0.02)), 12) << what;
    // Beyond the long side of the triangle nothing is drawn.
    for (const auto& [u, v] : {std::pair{0.9, 0.9}, {0.6, 0.6}, {0.95, 0.1}, {0.1, 0.95}})
        EXPECT_EQ(at(u, v), 0xFFFFFFu) << what << " at " << u << "," << v;
}

TEST(GradientFill, PlotsAsARasterInsideItsClipInVectorAndWholePagePlots) {
    ScratchDir dir;
    EmfBuilder emf;
    TriangleClipPath(emf);
    GradientRect(emf, GRADIENT_FILL_RECT_H, 100, 100, RGB(255, 0, 0), 900, 500, RGB(0, 0, 255));
    ASSERT_TRUE(WriteBytes(dir.path() + "/gradient.emf", emf.Bytes()));
    const PlothostRun vector =
        RunPlothostIn(dir, "plot gradient.emf --driver 1 --dpi 100 -o vector.plt");
    ASSERT_EQ(vector.status, 0) << vector.errors;
    EXPECT_EQ(vector.errors.find("skipped"), std::string::npos) << vector.errors;
    ExpectClippedGradient(plot::RenderPlotFile(dir.path() + "/vector.plt"), "vector plot");
    const PlothostRun page = RunPlothostIn(
        dir, "plot gradient.emf --driver 'DesignJet 750C Raster' --dpi 100 -o page.plt");
    ASSERT_EQ(page.status, 0) << page.errors;
    ExpectClippedGradient(plot::RenderPlotFile(dir.path() + "/page.plt"), "whole page");
}

}  // namespace

// Whole jobs with software clipping, read back by the plot reader: what the
// plotter draws inside and outside an L-shaped clip region, for each way a
// primitive reaches it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pxrdriver/regions.h"
#include "support/job_harness.h"
#include "reader/plot_reader.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// The square 100..1100 without its upper-right quarter (600..1100 x 100..600).
void ClipToL(JobHarness& h) {
    POINT l[] = {{100, 100}, {600, 100}, {600, 600}, {1100, 600}, {1100, 1100}, {100, 1100}};
    HT_ClipRgn region{0, nullptr, 6, l};
    h.Table().OnSetClipRegion(&h.host, &region);
}

enum class Shape { Polygon, WindingPath, ThickLine, XorPath };

void Draw(JobHarness& h, Shape shape) {
    std::vector<POINT> square = {{200, 200}, {1000, 200}, {1000, 1000}, {200, 1000}};
    switch (shape) {
        case Shape::Polygon: h.Table().OnPolygon(&h.host, square.data(), 4); break;
        case Shape::WindingPath:
            h.Table().OnSetFillMode(&h.host, 2);
            h.Table().OnBeginPath(&h.host);
            h.Table().OnPolygon(&h.host, square.data(), 4);
            h.Table().OnEndPath(&h.host);
            h.Table().OnFillPath(&h.host);
            break;
        case Shape::ThickLine: {
            const HostPenRecord pen{0, 40, 0, RGB(0, 0, 0), {}};
            h.Table().OnSelectPen(&h.host, &pen);
            POINT line[] = {{200, 300}, {1000, 300}};
            h.Table().OnPolyline(&h.host, line, 2);
            break;
        }
        case Shape::XorPath: {
            // Two squares of the lower left, overlapping in 400..600 x 700..1000.
            POINT a[] = {{200, 600}, {600, 600}, {600, 1000}, {200, 1000}};
            POINT b[] = {{400, 700}, {800, 700}, {800, 1050}, {400, 1050}};
            h.Table().OnBeginPath(&h.host);
            h.Table().OnPolygon(&h.host, a, 4);
            h.Table().OnPolygon(&h.host, b, 4);
            h.Table().OnEndPath(&h.host);
            h.Table().OnFillPath(&h.host);
            break;
        }
    }
}

TEST(ClippedPlot, WhatReachesThePaper) {
    struct Probe {
        int x, y;
        bool inked;
    };
    struct Case {
        const char* what;
        const char* clipper;
        Shape shape;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // (300,800) lies in the L, (800,300) in its notch.
        {"polygon, clip 7", "CLIPPER=7\n", Shape::Polygon, {{300, 800, true}, {800, 300, false}}},
        {"polygon, clip 3", "CLIPPER=3\n", Shape::Polygon, {{300, 800, true}, {800, 300, false}}},
        {"winding path, clip 7",
         "CLIPPER=7\n",
         Shape::WindingPath,
         {{300, 800, true}, {800, 300, false}}},
        // Without software clipping of winding fills only the input window,
        // the bounds of the L, limits the fill: the notch is filled.
        {"winding path, clip 3",
         "CLIPPER=3\n",
         Shape::WindingPath,
         {{300, 800, true}, {800, 300, true}, {1050, 1050, false}}},
        {"line, clip 7", "CLIPPER=7\n", Shape::ThickLine, {{300, 300, true}, {800, 300, false}}},
        {"line, clip 3", "CLIPPER=3\n", Shape::ThickLine, {{300, 300, true}, {800, 300, false}}},
        // Even-odd: the overlap of the two squares stays white.
        {"xor path, clip 7",
         "CLIPPER=7\n",
         Shape::XorPath,
         {{300, 650, true}, {500, 850, false}, {700, 1030, true}}},
        {"xor path, clip 3",
         "CLIPPER=3\n",
         Shape::XorPath,
         {{300, 650, true}, {500, 850, false}, {700, 1030, true}}},
    };
    for (const Case& c : cases) {
        JobHarness h(c.clipper);
        ASSERT_EQ(h.Start(), 1) << c.what;
        ClipToL(h);
        Draw(h, c.shape);
        h.End();
        const plot::PlotRendering rendering = plot::RenderPlot(h.TakeBytes());
        ASSERT_TRUE(rendering.ok) << c.what << ": " << rendering.error;
        const plot::Image page = plot::FirstPage(rendering);
        for (const Probe& p : c.probes) {
            ASSERT_LT(p.x, page.width);
            ASSERT_LT(p.y, page.height);
            EXPECT_EQ(page.At(p.x, p.y) != kWhite, p.inked)
                << c.what << " at " << p.x << "," << p.y;
        }
    }
}

}  // namespace

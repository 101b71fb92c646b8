// Closed shapes: filled with the brush first, then outlined with the pen,
// each selected right before it is used.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <windows.h>
#include "recording_host.h"

namespace {

using Lines = std::vector<std::string>;

Lines LogOf(EmfBuilder& emf) {
    RecordingHost host;
    const PlayRun run = PlayInto(host, emf.Bytes());
    EXPECT_TRUE(run.ok) << run.error;
    return host.log;
}

TEST(ShapeRecords, RectangleFillsWithTheBrushThenStrokesWithThePen) {
    EmfBuilder emf;
    emf.Box(EMR_RECTANGLE, 10, 20, 110, 220);
    // The default objects: white brush, black one-pixel pen. The outline
    // turns counterclockwise from the top right corner, as GDI's does.
    EXPECT_EQ(LogOf(emf), (Lines{
                              "OnSelectBrush style=0 rgb=255,255,255 hatch=0",
                              "OnPolygon 4: 110,20 10,20 10,220 110,220",
                              "OnSelectPen style=0x0 width=1 rgb=0,0,0",
                              "OnPolyline 5: 110,20 10,20 10,220 110,220 110,20",
                          }));
}

TEST(ShapeRecords, ClockwiseRectangleAndCornersInAnyOrder) {
    EmfBuilder emf;
    emf.Mode(EMR_SETARCDIRECTION, AD_CLOCKWISE).Select(ENHMETA_STOCK_OBJECT | NULL_BRUSH);
    emf.Box(EMR_RECTANGLE, 110, 220, 10, 20);
    EXPECT_EQ(LogOf(emf), (Lines{
                              "OnSelectPen style=0x0 width=1 rgb=0,0,0",
                              "OnPolyline 5: 110,20 110,220 10,220 10,20 110,20",
                          }));
}

TEST(ShapeRecords, NullPenAndNullBrushDrawNothingOfTheirPart) {
    EmfBuilder strokeOnly;
    strokeOnly.Select(ENHMETA_STOCK_OBJECT | NULL_BRUSH).Box(EMR_RECTANGLE, 0, 0, 10, 10);
    EXPECT_EQ(LogOf(strokeOnly).size(), 2u);  // pen and polyline
    EmfBuilder fillOnly;
    fillOnly.Select(ENHMETA_STOCK_OBJECT | NULL_PEN).Box(EMR_RECTANGLE, 0, 0, 10, 10);
    EXPECT_EQ(LogOf(fillOnly), (Lines{"OnSelectBrush style=0 rgb=255,255,255 hatch=0",
                                      "OnPolygon 4: 10,0 0,0 0,10 10,10"}));
    EmfBuilder neither;
    neither.Select(ENHMETA_STOCK_OBJECT | NULL_PEN)
        .Select(ENHMETA_STOCK_OBJECT | NULL_BRUSH)
        .Box(EMR_ELLIPSE, 0, 0, 10, 10);
    EXPECT_EQ(LogOf(neither), Lines{});
}

TEST(ShapeRecords, PolygonsInBothFormsAndTheirFillModes) {
    const std::vector<POINT> star{{0, 0}, {100, 0}, {0, 100}, {100, 100}};
    struct Case {
        const char* name;
        DWORD type;
        DWORD fillMode;
        Lines expected;
    } cases[] = {
        // Even-odd: the driver's polygon fill.
        {"POLYGON alternate",
         EMR_POLYGON,
         ALTERNATE,
         {"OnSelectBrush style=0 rgb=0,0,255 hatch=0", "OnPolygon 4: 0,0 100,0 0,100 100,100",
          "OnSelectPen style=0x0 width=1 rgb=0,0,0", "OnPolyline 5: 0,0 100,0 0,100 100,100 0,0"}},
        // Winding: a path, which the driver fills by winding.
        {"POLYGON16 winding",
         EMR_POLYGON16,
         WINDING,
         {"OnSelectBrush style=0 rgb=0,0,255 hatch=0", "OnSetFillMode 2", "OnBeginPath",
          "OnPolygon 4: 0,0 100,0 0,100 100,100", "OnEndPath", "OnFillPath",
          "OnSelectPen style=0x0 width=1 rgb=0,0,0", "OnPolyline 5: 0,0 100,0 0,100 100,100 0,0"}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Mode(EMR_SETPOLYFILLMODE, c.fillMode)
            .CreateBrush(1, BS_SOLID, RGB(0, 0, 255))
            .Select(1);
        if (c.type == EMR_POLYGON)
            emf.Poly(c.type, star);
        else
            emf.Poly16(c.type, star);
        EXPECT_EQ(LogOf(emf), c.expected) << c.name;
    }
}

TEST(ShapeRecords, PolyPolygonFillsItsPolygonsTogether) {
    // A square with a square hole: one path, so the hole stays empty.
    const std::vector<std::vector<POINT>> polys{{{0, 0}, {90, 0}, {90, 90}, {0, 90}},
                                                {{30, 30}, {60, 30}, {60, 60}, {30, 60}}};
    for (bool sixteen : {false, true}) {
        EmfBuilder emf;
        emf.Select(ENHMETA_STOCK_OBJECT | NULL_PEN);
        if (sixteen)
            emf.PolyPoly16(EMR_POLYPOLYGON16, polys);
        else
            emf.PolyPoly(EMR_POLYPOLYGON, polys);
        EXPECT_EQ(LogOf(emf),
                  (Lines{"OnSelectBrush style=0 rgb=255,255,255 hatch=0", "OnBeginPath",
                         "OnPolygon 4: 0,0 90,0 90,90 0,90", "OnPolygon 4: 30,30 60,30 60,60 30,60",
                         "OnEndPath", "OnFillPath"}))
            << sixteen;
    }
}

std::vector<POINT> ParsePoints(const std::string& line) {
    std::vector<POINT> points;
    size_t at = line.find(':');
    while ((at = line.find(' ', at + 1)) != std::string::npos) {
        POINT p{};
        std::sscanf(line.c_str() + at + 1, "%d,%d", &p.x, &p.y);
        points.push_back(p);
    }
    return points;
}

TEST(ShapeRecords, EllipseIsAFlattenedClosedOutline) {
    EmfBuilder emf;
    emf.Box(EMR_ELLIPSE, 0, 0, 400, 200);
    RecordingHost host;
    ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
    const Lines polygons = host.Lines("OnPolygon");
    const Lines outline = host.Lines("OnPolyline");
    ASSERT_EQ(polygons.size(), 1u);
    ASSERT_EQ(outline.size(), 1u);
    const std::vector<POINT> points = ParsePoints(outline[0]);
    // From the right end, round and back to it.
    EXPECT_EQ(points.front().x, 400);
    EXPECT_EQ(points.front().y, 100);
    EXPECT_EQ(points.back().x, 400);
    EXPECT_EQ(points.back().y, 100);
    for (const POINT& p : points) {
        const double e = std::hypot((p.x - 200) / 200.0, (p.y - 100) / 100.0);
        EXPECT_NEAR(e, 1.0, 0.01);
    }
    // The second point turns counterclockwise: upwards.
    EXPECT_LT(points[1].y, 100);
}

TEST(ShapeRecords, RoundRectChordAndPie) {
    struct Case {
        const char* name;
        DWORD type;
        std::vector<DWORD> payload;
        POINT mustContain;
        size_t fewestPoints;
    } cases[] = {
        // Corners of 40 x 20: the top edge runs from (80,0) to (20,0).
        {"ROUNDRECT", EMR_ROUNDRECT, {0, 0, 100, 50, 40, 20}, {80, 0}, 12},
        // The chord from the right end to the top of the circle.
        {"CHORD", EMR_CHORD, {0, 0, 200, 200, 200, 100, 100, 0}, {100, 0}, 4},
        // The pie also passes through the centre.
        {"PIE", EMR_PIE, {0, 0, 200, 200, 200, 100, 100, 0}, {100, 100}, 5},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Record(c.type, c.payload);
        RecordingHost host;
        ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok) << c.name;
        ASSERT_EQ(host.Lines("OnPolygon").size(), 1u) << c.name;
        const Lines outline = host.Lines("OnPolyline");
        ASSERT_EQ(outline.size(), 1u) << c.name;
        const std::vector<POINT> points = ParsePoints(outline[0]);
        EXPECT_GE(points.size(), c.fewestPoints) << c.name;
        EXPECT_EQ(points.front().x, points.back().x) << c.name;  // closed
        EXPECT_EQ(points.front().y, points.back().y) << c.name;
        bool found = false;
        for (const POINT& p : points) found |= p.x == c.mustContain.x && p.y == c.mustContain.y;
        EXPECT_TRUE(found) << c.name << ": " << outline[0];
    }
}

TEST(ShapeRecords, RegionFillsAndPatternBlits) {
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(0, 128, 0));
    // FILLRGN: bounds, cbRgnData 48, ihBrush 1, RGNDATA with one rectangle.
    emf.Record(EMR_FILLRGN,
               {0, 0, 0, 0, 48, 1, 32, RDH_RECTANGLES, 1, 16, 0, 0, 0, 0, 5, 6, 25, 16});
    // BITBLT without a bitmap and PATCOPY: the selected (white) brush.
    std::vector<DWORD> blit(23, 0);
    blit[4] = 40;  // xDest, yDest, cxDest, cyDest = 40, 0, 10, 10
    blit[6] = 10;
    blit[7] = 10;
    blit[8] = PATCOPY;
    blit[11] = EmfBuilder::Float(1);  // xformSrc
    blit[14] = EmfBuilder::Float(1);
    emf.Record(EMR_BITBLT, blit);
    EXPECT_EQ(LogOf(emf), (Lines{"OnSelectBrush style=0 rgb=0,128,0 hatch=0",
                                 "OnPolygon 4: 25,6 5,6 5,16 25,16",
                                 "OnSelectBrush style=0 rgb=255,255,255 hatch=0",
                                 "OnPolygon 4: 50,0 40,0 40,10 50,10"}));
}

}  // namespace

// Closed shapes: filled with the brush first, then outlined with the pen,
// each selected right before it is used.
#include <gtest/gtest.h>

#include <cmath>

#include <windows.h>
#include "recording_host.h"

namespace {

constexpr const char* kWhiteBrush = "OnSelectBrush style=0 rgb=255,255,255 hatch=0";
constexpr const char* kBlueBrush = "OnSelectBrush style=0 rgb=0,0,255 hatch=0";
constexpr const char* kBlackPen = "OnSelectPen style=0x0 width=1 rgb=0,0,0";

void BlueStar(EmfBuilder& e, DWORD fillMode) {
    e.Mode(EMR_SETPOLYFILLMODE, fillMode).CreateBrush(1, BS_SOLID, RGB(0, 0, 255)).Select(1);
}

const std::vector<POINT> kStar{{0, 0}, {100, 0}, {0, 100}, {100, 100}};
// A square with a square hole: one path, so the hole stays empty.
const std::vector<std::vector<POINT>> kSquareWithHole{{{0, 0}, {90, 0}, {90, 90}, {0, 90}},
                                                      {{30, 30}, {60, 30}, {60, 60}, {30, 60}}};
const Lines kSquareWithHoleFilled{kWhiteBrush,
                                  "OnBeginPath",
                                  "OnPolygon 4: 0,0 90,0 90,90 0,90",
                                  "OnPolygon 4: 30,30 60,30 60,60 30,60",
                                  "OnEndPath",
                                  "OnFillPath"};

TEST(ShapeRecords, FillsWithTheBrushThenStrokesWithThePen) {
    struct Case {
        const char* name;
        void (*build)(EmfBuilder&);
        Lines expected;
    };
    const Case cases[] = {
        // The default objects: white brush, black one-pixel pen. The outline
        // turns counterclockwise from the top right corner, as GDI's does.
        {"RECTANGLE",
         [](EmfBuilder& e) { e.Box(EMR_RECTANGLE, 10, 20, 110, 220); },
         {kWhiteBrush, "OnPolygon 4: 110,20 10,20 10,220 110,220", kBlackPen,
          "OnPolyline 5: 110,20 10,20 10,220 110,220 110,20"}},
        {"clockwise, corners in any order, no brush",
         [](EmfBuilder& e) {
             e.Mode(EMR_SETARCDIRECTION, AD_CLOCKWISE).Select(ENHMETA_STOCK_OBJECT | NULL_BRUSH);
             e.Box(EMR_RECTANGLE, 110, 220, 10, 20);
         },
         {kBlackPen, "OnPolyline 5: 110,20 110,220 10,220 10,20 110,20"}},
        {"no pen",
         [](EmfBuilder& e) {
             e.Select(ENHMETA_STOCK_OBJECT | NULL_PEN).Box(EMR_RECTANGLE, 0, 0, 10, 10);
         },
         {kWhiteBrush, "OnPolygon 4: 10,0 0,0 0,10 10,10"}},
        {"neither pen nor brush",
         [](EmfBuilder& e) {
             e.Select(ENHMETA_STOCK_OBJECT | NULL_PEN)
                 .Select(ENHMETA_STOCK_OBJECT | NULL_BRUSH)
                 .Box(EMR_ELLIPSE, 0, 0, 10, 10);
         },
         {}},
        // Even-odd: the driver's polygon fill.
        {"POLYGON alternate",
         [](EmfBuilder& e) {
             BlueStar(e, ALTERNATE);
             e.Poly(EMR_POLYGON, kStar);
         },
         {kBlueBrush, "OnPolygon 4: 0,0 100,0 0,100 100,100", kBlackPen,
          "OnPolyline 5: 0,0 100,0 0,100 100,100 0,0"}},
        // Winding: a path, which the driver fills by winding.
        {"POLYGON16 winding",
         [](EmfBuilder& e) {
             BlueStar(e, WINDING);
             e.Poly16(EMR_POLYGON16, kStar);
         },
         {kBlueBrush, "OnSetFillMode 2", "OnBeginPath", "OnPolygon 4: 0,0 100,0 0,100 100,100",
          "OnEndPath", "OnFillPath", kBlackPen, "OnPolyline 5: 0,0 100,0 0,100 100,100 0,0"}},
        {"POLYPOLYGON fills its polygons together",
         [](EmfBuilder& e) {
             e.Select(ENHMETA_STOCK_OBJECT | NULL_PEN).PolyPoly(EMR_POLYPOLYGON, kSquareWithHole);
         },
         kSquareWithHoleFilled},
        {"POLYPOLYGON16",
         [](EmfBuilder& e) {
             e.Select(ENHMETA_STOCK_OBJECT | NULL_PEN)
                 .PolyPoly16(EMR_POLYPOLYGON16, kSquareWithHole);
         },
         kSquareWithHoleFilled},
        // FILLRGN: bounds, cbRgnData 48, ihBrush 1, RGNDATA with one
        // rectangle; then BITBLT without a bitmap and PATCOPY at (40, 0),
        // 10 x 10: the selected (white) brush.
        {"region fills and pattern blits",
         [](EmfBuilder& e) {
             e.CreateBrush(1, BS_SOLID, RGB(0, 128, 0));
             e.Record(EMR_FILLRGN,
                      {0, 0, 0, 0, 48, 1, 32, RDH_RECTANGLES, 1, 16, 0, 0, 0, 0, 5, 6, 25, 16});
             const DWORD one = EmfBuilder::Float(1);
             e.Record(EMR_BITBLT, {0, 0, 0,   0, 40, 0, 10, 10, PATCOPY, 0, 0, one,
                                   0, 0, one, 0, 0,  0, 0,  0,  0,       0, 0});
         },
         {"OnSelectBrush style=0 rgb=0,128,0 hatch=0", "OnPolygon 4: 25,6 5,6 5,16 25,16",
          kWhiteBrush, "OnPolygon 4: 50,0 40,0 40,10 50,10"}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        c.build(emf);
        EXPECT_EQ(LogOf(emf), c.expected) << c.name;
    }
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
    const std::vector<POINT> points = PointsOf(outline[0]);
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
        const std::vector<POINT> points = PointsOf(outline[0]);
        EXPECT_GE(points.size(), c.fewestPoints) << c.name;
        EXPECT_EQ(points.front().x, points.back().x) << c.name;  // closed
        EXPECT_EQ(points.front().y, points.back().y) << c.name;
        bool found = false;
        for (const POINT& p : points) found |= p.x == c.mustContain.x && p.y == c.mustContain.y;
        EXPECT_TRUE(found) << c.name << ": " << outline[0];
    }
}

}  // namespace

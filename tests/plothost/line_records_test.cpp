// Line records, one fixture each, played into a recording driver. The
// builder's metafile maps one logical unit onto one plotter pixel.
#include <gtest/gtest.h>

#include <cmath>

#include <windows.h>
#include "curve_distance.h"
#include "recording_host.h"

namespace {

TEST(LineRecords, PolylinesInEveryFormAndFromTheCurrentPosition) {
    // The polyline of one point is dropped.
    const Lines polyPolyline{"OnPolyline 2: 0,0 10,0", "OnPolyline 3: 0,5 0,9 3,9"};
    struct Case {
        const char* name;
        void (*build)(EmfBuilder&);
        Lines expected;
    };
    const Case cases[] = {
        {"POLYLINE",
         [](EmfBuilder& e) {
             e.Poly(EMR_POLYLINE, {{0, 0}, {10, 0}, {10, 10}});
         },
         {"OnPolyline 3: 0,0 10,0 10,10"}},
        // Placed with its frame at the sheet's corner, negative points stay
        // negative: the driver clips them.
        {"POLYLINE16 points are signed",
         [](EmfBuilder& e) {
             e.Poly16(EMR_POLYLINE16, {{-5, 20}, {30, -1}});
         },
         {"OnPolyline 2: -5,20 30,-1"}},
        {"MOVETOEX, LINETO, LINETO",
         [](EmfBuilder& e) { e.MoveTo(5, 5).LineTo(50, 5).LineTo(50, 60); },
         {"OnPolyline 2: 5,5 50,5", "OnPolyline 2: 50,5 50,60"}},
        {"POLYLINETO continues from the position and moves it",
         [](EmfBuilder& e) {
             e.MoveTo(1, 2).Poly(EMR_POLYLINETO, {{3, 4}, {5, 6}}).LineTo(7, 8);
         },
         {"OnPolyline 3: 1,2 3,4 5,6", "OnPolyline 2: 5,6 7,8"}},
        {"POLYLINETO16",
         [](EmfBuilder& e) {
             e.MoveTo(1, 2).Poly16(EMR_POLYLINETO16, {{3, 4}});
         },
         {"OnPolyline 2: 1,2 3,4"}},
        {"POLYLINE leaves the position alone",
         [](EmfBuilder& e) {
             e.MoveTo(9, 9).Poly(EMR_POLYLINE, {{0, 0}, {1, 0}}).LineTo(9, 0);
         },
         {"OnPolyline 2: 0,0 1,0", "OnPolyline 2: 9,9 9,0"}},
        {"a line that ends where it starts draws nothing",
         [](EmfBuilder& e) { e.MoveTo(4, 4).LineTo(4, 4); },
         {}},
        {"a polyline of one point draws nothing",
         [](EmfBuilder& e) {
             e.Poly(EMR_POLYLINE, {{4, 4}});
         },
         {}},
        {"POLYPOLYLINE",
         [](EmfBuilder& e) {
             e.PolyPoly(EMR_POLYPOLYLINE, {{{0, 0}, {10, 0}}, {{5, 5}}, {{0, 5}, {0, 9}, {3, 9}}});
         },
         polyPolyline},
        {"POLYPOLYLINE16",
         [](EmfBuilder& e) {
             e.PolyPoly16(EMR_POLYPOLYLINE16,
                          {{{0, 0}, {10, 0}}, {{5, 5}}, {{0, 5}, {0, 9}, {3, 9}}});
         },
         polyPolyline},
        {"bezier counts that are not whole curves draw nothing",
         [](EmfBuilder& e) {
             e.Poly(EMR_POLYBEZIER, {{0, 0}, {1, 1}, {2, 2}})
                 .MoveTo(0, 0)
                 .Poly16(EMR_POLYBEZIERTO16, {{1, 1}, {2, 2}});
         },
         {}},
        // PT_MOVETO (0,0), PT_LINETO (10,0), PT_LINETO|PT_CLOSEFIGURE (10,10),
        // PT_MOVETO (50,50), PT_LINETO (60,50).
        {"POLYDRAW moves, draws lines and closes figures",
         [](EmfBuilder& e) {
             e.Record(EMR_POLYDRAW, {0, 0, 0, 0, 5, 0, 0, 10, 0, 10, 10, 50, 50, 60, 50,
                                     PT_MOVETO | (PT_LINETO << 8) |
                                         ((PT_LINETO | PT_CLOSEFIGURE) << 16) | (PT_MOVETO << 24),
                                     PT_LINETO});
         },
         {"OnPolyline 4: 0,0 10,0 10,10 0,0", "OnPolyline 2: 50,50 60,50"}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        c.build(emf);
        EXPECT_EQ(DrawingOf(emf), c.expected) << c.name;
    }
}

TEST(LineRecords, BeziersAreFlattenedWithinAQuarterPixelBeforeRounding) {
    // One curve from (0,0) over (0,1000) and (1000,1000) to (1000,0).
    const std::vector<POINT> curve{{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}};
    for (DWORD type : {DWORD{EMR_POLYBEZIER}, DWORD{EMR_POLYBEZIER16}}) {
        EmfBuilder emf;
        if (type == EMR_POLYBEZIER)
            emf.Poly(type, curve);
        else
            emf.Poly16(type, curve);
        const Lines drawing = DrawingOf(emf);
        ASSERT_EQ(drawing.size(), 1u);
        std::vector<DPoint> line;
        for (const POINT& p : PointsOf(drawing[0])) line.push_back({double(p.x), double(p.y)});
        EXPECT_EQ(line.front().x, 0);
        EXPECT_EQ(line.back().x, 1000);
        EXPECT_EQ(line.back().y, 0);
        // A quarter pixel of flattening plus half a pixel of rounding.
        EXPECT_LE(FarthestFrom(line, Cubic({0, 0}, {0, 1000}, {1000, 1000}, {1000, 0})), 0.75)
            << type;
        // ... and not needlessly fine: with second differences of 1414 pixels
        // Wang's bound asks for ceil(sqrt(0.75 * 1414 / 0.25)) = 66 pieces.
        EXPECT_LE(line.size(), 67u);
    }
}

TEST(LineRecords, PolyBezierToStartsAtThePositionAndMovesIt) {
    EmfBuilder emf;
    emf.MoveTo(0, 0)
        .Poly(EMR_POLYBEZIERTO, {{0, 0}, {30, 0}, {30, 0}})  // a straight curve
        .LineTo(30, 30);
    const Lines drawing = DrawingOf(emf);
    ASSERT_EQ(drawing.size(), 2u);
    const std::vector<POINT> curve = PointsOf(drawing[0]);
    ASSERT_GE(curve.size(), 2u);
    EXPECT_EQ(curve.front().x, 0);
    EXPECT_EQ(curve.back().x, 30);
    for (const POINT& p : curve) EXPECT_EQ(p.y, 0);
    EXPECT_EQ(drawing[1], "OnPolyline 2: 30,0 30,30");
}

TEST(LineRecords, ArcsFollowTheArcDirection) {
    // The circle in (0,0)-(200,200) from the right end (200,100) to the top
    // (100,0): a quarter turn counterclockwise, three quarters clockwise.
    struct Case {
        DWORD direction;
        POINT middle;  // the point of the arc halfway along it
    } cases[] = {{AD_COUNTERCLOCKWISE, {171, 29}}, {AD_CLOCKWISE, {29, 171}}};
    for (const Case& c : cases) {
        EmfBuilder emf;
        emf.Mode(EMR_SETARCDIRECTION, c.direction)
            .Record(EMR_ARC, {0, 0, 200, 200, 200, 100, 100, 0});
        const Lines drawing = DrawingOf(emf);
        ASSERT_EQ(drawing.size(), 1u);
        const std::vector<POINT> arc = PointsOf(drawing[0]);
        EXPECT_EQ(arc.front().x, 200);
        EXPECT_EQ(arc.front().y, 100);
        EXPECT_EQ(arc.back().x, 100);
        EXPECT_EQ(arc.back().y, 0);
        const POINT mid = arc[arc.size() / 2];
        EXPECT_NEAR(mid.x, c.middle.x, 3) << c.direction;
        EXPECT_NEAR(mid.y, c.middle.y, 3) << c.direction;
        for (const POINT& p : arc) EXPECT_NEAR(std::hypot(p.x - 100.0, p.y - 100.0), 100, 1.0);
    }
}

TEST(LineRecords, ArcToAndAngleArcDrawFromThePositionAndMoveIt) {
    EmfBuilder emf;
    // ARCTO: a line from (0,100) to the arc's start (200,100), the quarter
    // arc to (100,0); then a line from there.
    emf.MoveTo(0, 100).Record(EMR_ARCTO, {0, 0, 200, 200, 200, 100, 100, 0}).LineTo(100, 50);
    // ANGLEARC: centre (500,500), radius 100, from 0 degrees sweeping 90:
    // from (600,500) up to (500,400).
    emf.MoveTo(700, 500)
        .Record(EMR_ANGLEARC, {500, 500, 100, EmfBuilder::Float(0), EmfBuilder::Float(90)})
        .LineTo(500, 300);
    const Lines drawing = DrawingOf(emf);
    ASSERT_EQ(drawing.size(), 4u);
    EXPECT_EQ(drawing[0].find("OnPolyline"), 0u);
    EXPECT_NE(drawing[0].find(": 0,100 200,100 "), std::string::npos);
    EXPECT_NE(drawing[0].find(" 100,0"), std::string::npos);
    EXPECT_EQ(drawing[1], "OnPolyline 2: 100,0 100,50");
    EXPECT_NE(drawing[2].find(": 700,500 600,500 "), std::string::npos);
    EXPECT_EQ(drawing[3], "OnPolyline 2: 500,400 500,300");
}

}  // namespace

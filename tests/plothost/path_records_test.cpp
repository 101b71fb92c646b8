// Paths: figures collected between BEGINPATH and ENDPATH, then filled,
// stroked or both, and discarded.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>
#include "recording_host.h"

namespace {

constexpr const char* kBrush = "OnSelectBrush style=0 rgb=255,255,255 hatch=0";
constexpr const char* kPen = "OnSelectPen style=0x0 width=1 rgb=0,0,0";
constexpr const char* kFill = "OnPolygon 3: 0,0 10,0 10,10";
constexpr const char* kStroke = "OnPolyline 4: 0,0 10,0 10,10 0,0";

void Triangle(EmfBuilder& e) {
    e.Record(EMR_BEGINPATH, {}).MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
    e.Record(EMR_CLOSEFIGURE, {}).Record(EMR_ENDPATH, {});
}

TEST(PathRecords, FiguresAreFilledStrokedOrBothOnce) {
    struct Case {
        const char* name;
        void (*build)(EmfBuilder&);
        Lines expected;
    };
    // A second fill or stroke finds the path gone: nothing more.
    const Case cases[] = {
        {"FILLPATH",
         [](EmfBuilder& e) {
             Triangle(e);
             e.Record(EMR_FILLPATH, {0, 0, 0, 0}).Record(EMR_FILLPATH, {0, 0, 0, 0});
         },
         {kBrush, kFill}},
        {"STROKEPATH",
         [](EmfBuilder& e) {
             Triangle(e);
             e.Record(EMR_STROKEPATH, {0, 0, 0, 0}).Record(EMR_STROKEPATH, {0, 0, 0, 0});
         },
         {kPen, kStroke}},
        {"STROKEANDFILLPATH",
         [](EmfBuilder& e) {
             Triangle(e);
             e.Record(EMR_STROKEANDFILLPATH, {0, 0, 0, 0})
                 .Record(EMR_STROKEANDFILLPATH, {0, 0, 0, 0});
         },
         {kBrush, kFill, kPen, kStroke}},
        {"nothing is drawn while the bracket is open",
         [](EmfBuilder& e) {
             e.Record(EMR_BEGINPATH, {})
                 .Box(EMR_RECTANGLE, 0, 0, 5, 5)
                 .Poly(EMR_POLYLINE, {{20, 20}, {30, 20}})
                 .Poly(EMR_POLYGON, {{40, 40}, {50, 40}, {50, 50}})
                 .Record(EMR_ENDPATH, {});
         },
         {}},
        {"several figures fill as one driver path",
         [](EmfBuilder& e) {
             e.Record(EMR_BEGINPATH, {})
                 .Box(EMR_RECTANGLE, 0, 0, 90, 90)
                 .Box(EMR_RECTANGLE, 30, 30, 60, 60)
                 .MoveTo(100, 100)  // a move alone makes no figure
                 .Record(EMR_ENDPATH, {})
                 .Record(EMR_FILLPATH, {0, 0, 0, 0});
         },
         {kBrush, "OnBeginPath", "OnPolygon 4: 90,0 0,0 0,90 90,90",
          "OnPolygon 4: 60,30 30,30 30,60 60,60", "OnEndPath", "OnFillPath"}},
        {"open figures stroke open and fill closed",
         [](EmfBuilder& e) {
             e.Record(EMR_BEGINPATH, {}).MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
             e.MoveTo(20, 0).Poly(EMR_POLYLINETO, {{30, 0}});
             e.Record(EMR_ENDPATH, {}).Record(EMR_STROKEANDFILLPATH, {0, 0, 0, 0});
         },
         {kBrush, kFill, kPen, "OnPolyline 3: 0,0 10,0 10,10", "OnPolyline 2: 20,0 30,0"}},
        {"ABORTPATH discards",
         [](EmfBuilder& e) {
             Triangle(e);
             e.Record(EMR_ABORTPATH, {}).Record(EMR_FILLPATH, {0, 0, 0, 0});
         },
         {}},
        {"an unended bracket counts as ended",
         [](EmfBuilder& e) {
             e.Record(EMR_BEGINPATH, {}).MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
             e.Record(EMR_FILLPATH, {0, 0, 0, 0}).LineTo(20, 20);
         },
         {kBrush, kFill, kPen, "OnPolyline 2: 10,10 20,20"}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        c.build(emf);
        EXPECT_EQ(LogOf(emf), c.expected) << c.name;
    }
}

TEST(PathRecords, CurvesInPathsAreFlattenedWhenAdded) {
    EmfBuilder emf;
    emf.Record(EMR_BEGINPATH, {}).MoveTo(0, 0);
    emf.Poly16(EMR_POLYBEZIERTO16, {{0, 100}, {100, 100}, {100, 0}});
    // The transform after the curve does not move it.
    emf.World(5, 0, 0, 5, 0, 0);
    emf.Record(EMR_CLOSEFIGURE, {}).Record(EMR_ENDPATH, {}).Record(EMR_STROKEPATH, {0, 0, 0, 0});
    const Lines lines = DrawingOf(emf);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(": 0,0 "), std::string::npos);
    EXPECT_NE(lines[0].find(" 100,0 0,0"), std::string::npos);  // the curve's end, closed
    // The curve rises to 75 at its middle, unscaled.
    int highest = 0;
    for (const POINT& p : PointsOf(lines[0])) highest = std::max(highest, int(p.y));
    EXPECT_GE(highest, 74);
    EXPECT_LE(highest, 75);
}

}  // namespace

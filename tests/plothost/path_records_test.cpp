// Paths: figures collected between BEGINPATH and ENDPATH, then filled,
// stroked or both, and discarded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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

void Triangle(EmfBuilder& e) {
    e.Record(EMR_BEGINPATH, {}).MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
    e.Record(EMR_CLOSEFIGURE, {}).Record(EMR_ENDPATH, {});
}

TEST(PathRecords, FillStrokeAndBoth) {
    const char* brush = "OnSelectBrush style=0 rgb=255,255,255 hatch=0";
    const char* pen = "OnSelectPen style=0x0 width=1 rgb=0,0,0";
    const char* fill = "OnPolygon 3: 0,0 10,0 10,10";
    const char* stroke = "OnPolyline 4: 0,0 10,0 10,10 0,0";
    struct Case {
        DWORD type;
        Lines expected;
    } cases[] = {
        {EMR_FILLPATH, {brush, fill}},
        {EMR_STROKEPATH, {pen, stroke}},
        {EMR_STROKEANDFILLPATH, {brush, fill, pen, stroke}},
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        Triangle(emf);
        emf.Record(c.type, {0, 0, 0, 0});
        emf.Record(c.type, {0, 0, 0, 0});  // the path is gone: nothing more
        EXPECT_EQ(LogOf(emf), c.expected) << c.type;
    }
}

TEST(PathRecords, NothingIsDrawnWhileTheBracketIsOpen) {
    EmfBuilder emf;
    emf.Record(EMR_BEGINPATH, {})
        .Box(EMR_RECTANGLE, 0, 0, 5, 5)
        .Poly(EMR_POLYLINE, {{20, 20}, {30, 20}})
        .Poly(EMR_POLYGON, {{40, 40}, {50, 40}, {50, 50}})
        .Record(EMR_ENDPATH, {});
    EXPECT_EQ(LogOf(emf), Lines{});
}

TEST(PathRecords, SeveralFiguresFillAsOneDriverPath) {
    EmfBuilder emf;
    emf.Record(EMR_BEGINPATH, {})
        .Box(EMR_RECTANGLE, 0, 0, 90, 90)
        .Box(EMR_RECTANGLE, 30, 30, 60, 60)
        .MoveTo(100, 100)  // a move alone makes no figure
        .Record(EMR_ENDPATH, {})
        .Record(EMR_FILLPATH, {0, 0, 0, 0});
    EXPECT_EQ(LogOf(emf),
              (Lines{"OnSelectBrush style=0 rgb=255,255,255 hatch=0", "OnBeginPath",
                     "OnPolygon 4: 90,0 0,0 0,90 90,90", "OnPolygon 4: 60,30 30,30 30,60 60,60",
                     "OnEndPath", "OnFillPath"}));
}

TEST(PathRecords, OpenFiguresStrokeOpenAndFillClosed) {
    EmfBuilder emf;
    emf.Record(EMR_BEGINPATH, {}).MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
    emf.MoveTo(20, 0).Poly(EMR_POLYLINETO, {{30, 0}});
    emf.Record(EMR_ENDPATH, {}).Record(EMR_STROKEANDFILLPATH, {0, 0, 0, 0});
    EXPECT_EQ(LogOf(emf),
              (Lines{"OnSelectBrush style=0 rgb=255,255,255 hatch=0", "OnPolygon 3: 0,0 10,0 10,10",
                     "OnSelectPen style=0x0 width=1 rgb=0,0,0", "OnPolyline 3: 0,0 10,0 10,10",
                     "OnPolyline 2: 20,0 30,0"}));
}

TEST(PathRecords, AbortDiscardsAndAnUnendedBracketCountsAsEnded) {
    EmfBuilder aborted;
    Triangle(aborted);
    aborted.Record(EMR_ABORTPATH, {}).Record(EMR_FILLPATH, {0, 0, 0, 0});
    EXPECT_EQ(LogOf(aborted), Lines{});

    EmfBuilder unended;
    unended.Record(EMR_BEGINPATH, {}).MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
    unended.Record(EMR_FILLPATH, {0, 0, 0, 0}).LineTo(20, 20);
    EXPECT_EQ(LogOf(unended),
              (Lines{"OnSelectBrush style=0 rgb=255,255,255 hatch=0", "OnPolygon 3: 0,0 10,0 10,10",
                     "OnSelectPen style=0x0 width=1 rgb=0,0,0", "OnPolyline 2: 10,10 20,20"}));
}

TEST(PathRecords, CurvesInPathsAreFlattenedWhenAdded) {
    EmfBuilder emf;
    emf.Record(EMR_BEGINPATH, {}).MoveTo(0, 0);
    emf.Poly16(EMR_POLYBEZIERTO16, {{0, 100}, {100, 100}, {100, 0}});
    // The transform after the curve does not move it.
    emf.World(5, 0, 0, 5, 0, 0);
    emf.Record(EMR_CLOSEFIGURE, {}).Record(EMR_ENDPATH, {}).Record(EMR_STROKEPATH, {0, 0, 0, 0});
    RecordingHost host;
    ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
    const Lines lines = host.Lines("OnPolyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(": 0,0 "), std::string::npos);
    EXPECT_NE(lines[0].find(" 100,0 0,0"), std::string::npos);  // the curve's end, closed
    // The curve rises to 75 at its middle, unscaled.
    int highest = 0;
    for (size_t at = lines[0].find(':'); (at = lines[0].find(',', at + 1)) != std::string::npos;)
        highest = std::max(highest, std::atoi(lines[0].c_str() + at + 1));
    EXPECT_GE(highest, 74);
    EXPECT_LE(highest, 75);
}

}  // namespace

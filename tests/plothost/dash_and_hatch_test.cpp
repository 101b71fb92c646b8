// Dashed pens cut into dashes and hatched brushes drawn as hatch lines, by
// the host, since the driver draws only solid lines and solid fills.
#include <gtest/gtest.h>

#include <algorithm>

#include "win32/gdi32/metafile/dash_pattern.h"
#include <windows.h>
#include "gdi/hatch_fill.h"
#include "recording_host.h"

namespace {

using Lines = std::vector<std::string>;

std::string Text(std::span<const POINT> points) {
    std::string text;
    for (const POINT& p : points) {
        if (!text.empty()) text += ' ';
        text += std::to_string(p.x);
        text += ',';
        text += std::to_string(p.y);
    }
    return text;
}

Lines Dashes(const std::vector<POINT>& line, const std::vector<double>& pattern) {
    Lines dashes;
    CutIntoDashes(line, pattern,
                  [&](std::span<const POINT> dash) { dashes.push_back(Text(dash)); });
    return dashes;
}

TEST(DashPattern, PatternsOfGdiPens) {
    GdiPen cosmetic;
    GdiPen geometric;
    geometric.cosmetic = false;
    geometric.width = 2;
    struct Case {
        const char* name;
        DWORD style;
        bool isGeometric;
        std::vector<DWORD> user;
        std::vector<double> expected;
    } cases[] = {
        // Cosmetic patterns in screen pixels (here 2 device pixels each).
        {"cosmetic dash", PS_DASH, false, {}, {36, 12}},
        {"cosmetic dot", PS_DOT, false, {}, {6, 6}},
        {"cosmetic dash dot", PS_DASHDOT, false, {}, {18, 12, 6, 12}},
        {"cosmetic dash dot dot", PS_DASHDOTDOT, false, {}, {18, 6, 6, 6, 6, 6}},
        {"alternate", PS_ALTERNATE, false, {}, {2, 2}},
        // Geometric patterns in pen widths (here 4 device pixels); round and
        // square ends take a width out of each dash and add it to each gap,
        // so that a dot is its two caps.
        {"geometric dash", PS_DASH | PS_GEOMETRIC | PS_ENDCAP_FLAT, true, {}, {12, 4}},
        {"geometric dot", PS_DOT | PS_GEOMETRIC | PS_ENDCAP_FLAT, true, {}, {4, 4}},
        {"geometric dash dot", PS_DASHDOT | PS_GEOMETRIC | PS_ENDCAP_FLAT, true, {}, {12, 4, 4, 4}},
        {"geometric dash, round ends", PS_DASH | PS_GEOMETRIC, true, {}, {8, 8}},
        {"geometric dot, square ends", PS_DOT | PS_GEOMETRIC | PS_ENDCAP_SQUARE, true, {}, {0, 8}},
        // User styles of geometric pens in logical units (3 pixels each);
        // an odd count runs twice with dashes and gaps swapped.
        {"user style", PS_USERSTYLE | PS_GEOMETRIC, true, {2, 1, 4}, {6, 3, 12, 6, 3, 12}},
        {"solid", PS_SOLID, false, {}, {}},
        {"inside frame", PS_INSIDEFRAME, false, {}, {}},
        // A period below one pixel cannot show: solid.
        {"user style of zeros", PS_USERSTYLE | PS_GEOMETRIC, true, {0, 0}, {}},
    };
    for (const Case& c : cases) {
        GdiPen pen = c.isGeometric ? geometric : cosmetic;
        pen.style = c.style;
        pen.userStyle = c.user;
        EXPECT_EQ(DashPattern(pen, 4, 2, 3), c.expected) << c.name;
    }
}

TEST(DashPattern, DashesRunOnAcrossCorners) {
    struct Case {
        const char* name;
        std::vector<POINT> line;
        std::vector<double> pattern;
        Lines expected;
    } cases[] = {
        {"straight", {{0, 0}, {25, 0}}, {6, 4}, {"0,0 6,0", "10,0 16,0", "20,0 25,0"}},
        // The second dash turns the corner at (8,0).
        {"corner", {{0, 0}, {8, 0}, {8, 10}}, {6, 4}, {"0,0 6,0", "8,2 8,8"}},
        {"dash across a corner", {{0, 0}, {4, 0}, {4, 10}}, {6, 4}, {"0,0 4,0 4,2", "4,6 4,10"}},
        {"a gap to the end draws no empty dash", {{0, 0}, {8, 0}}, {6, 4}, {"0,0 6,0"}},
        {"solid", {{0, 0}, {8, 0}, {8, 8}}, {}, {"0,0 8,0 8,8"}},
        {"one point", {{3, 3}}, {6, 4}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Dashes(c.line, c.pattern), c.expected) << c.name;
}

TEST(DashPattern, DashedPenPlaysAsSeparateSolidPolylines) {
    // A cosmetic PS_DASH at 96 dpi: 18 pixels dash, 6 gap, one screen pixel
    // a device pixel. Placement at 96 dpi scales the 0.1 mm reference pixels
    // by 96 / 254, so the line from 0 to 1000 is 378 pixels long.
    EmfBuilder emf;
    emf.Mode(EMR_SETBKMODE, TRANSPARENT);
    emf.CreatePen(1, PS_DASH, 0, RGB(0, 0, 0)).Select(1).Poly(EMR_POLYLINE, {{0, 0}, {1000, 0}});
    RecordingHost host(378, 378, 96);
    ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
    const Lines lines = host.Lines("OnPolyline");
    ASSERT_EQ(lines.size(), 16u);  // 15 whole periods of 24 and a dash of 18
    EXPECT_EQ(lines[0], "OnPolyline 2: 0,0 18,0");
    EXPECT_EQ(lines[1], "OnPolyline 2: 24,0 42,0");
    EXPECT_EQ(lines[15], "OnPolyline 2: 360,0 378,0");
    // The driver is told a solid pen.
    EXPECT_EQ(host.Lines("OnSelectPen"), Lines{"OnSelectPen style=0x0 width=1 rgb=0,0,0"});

    // With an opaque background the gaps come first, in its colour.
    EmfBuilder opaque;
    opaque.Record(EMR_SETBKCOLOR, {RGB(255, 220, 0)});
    opaque.CreatePen(1, PS_DASH, 0, RGB(0, 0, 0)).Select(1).Poly(EMR_POLYLINE, {{0, 0}, {1000, 0}});
    RecordingHost host2(378, 378, 96);
    ASSERT_TRUE(PlayInto(host2, opaque.Bytes()).ok);
    EXPECT_EQ(host2.Lines("OnSelectPen"), (Lines{"OnSelectPen style=0x0 width=1 rgb=255,220,0",
                                                 "OnSelectPen style=0x0 width=1 rgb=0,0,0"}));
    const Lines both = host2.Lines("OnPolyline");
    ASSERT_EQ(both.size(), 31u);  // 15 gaps, then 16 dashes
    EXPECT_EQ(both[0], "OnPolyline 2: 18,0 24,0");
    EXPECT_EQ(both[15], "OnPolyline 2: 0,0 18,0");
}

TEST(DashPattern, DotsOfNoLengthAreTheirCaps) {
    // PS_DOT with round ends: dashes of no length, drawn as dots.
    EXPECT_EQ(Dashes({{0, 0}, {20, 0}}, {0, 8}), (Lines{"0,0 0,0", "8,0 8,0", "16,0 16,0"}));
    // One-pixel lines measured in pixel steps: a diagonal dash of 4 steps.
    Lines steps;
    CutIntoDashes(
        std::vector<POINT>{{0, 0}, {10, 10}}, std::vector<double>{4, 2},
        [&](std::span<const POINT> dash) { steps.push_back(Text(dash)); }, true);
    EXPECT_EQ(steps, (Lines{"0,0 4,4", "6,6 10,10"}));
}

Lines HatchLines(ULONG style, RECT box, POINT origin = {0, 0}) {
    CKestRgn region;
    region.CreateRectRgn(box.left, box.top, box.right, box.bottom);
    Lines lines;
    DrawHatchLines(&region, style, origin, 8,
                   [&](std::span<const POINT> l) { lines.push_back(Text(l)); });
    return lines;
}

TEST(HatchFill, LinesOfEachStyleClippedToTheArea) {
    // The area (2,2)-(22,20); lines every 8 pixels from the origin where
    // GDI's 8 x 8 patterns have them: horizontal ones in row 3, vertical
    // ones in column 4, "\" through the corner, "/" through (7, 0).
    const RECT box{2, 2, 22, 20};
    EXPECT_EQ(HatchLines(HS_HORIZONTAL, box), (Lines{"2,3 22,3", "2,11 22,11", "2,19 22,19"}));
    EXPECT_EQ(HatchLines(HS_VERTICAL, box), (Lines{"4,2 4,20", "12,2 12,20", "20,2 20,20"}));
    EXPECT_EQ(HatchLines(HS_CROSS, box).size(), 6u);
    // "\": x - y = 8k, for k = -2 ... 2, drawn downwards.
    const Lines falling = HatchLines(HS_FDIAGONAL, box);
    EXPECT_EQ(falling.size(), 5u);
    EXPECT_NE(std::find(falling.begin(), falling.end(), "10,2 22,14"), falling.end());
    // "/": x + y = 8k + 7, for k = 0 ... 4.
    const Lines rising = HatchLines(HS_BDIAGONAL, box);
    EXPECT_EQ(rising.size(), 5u);
    EXPECT_NE(std::find(rising.begin(), rising.end(), "13,2 2,13"), rising.end());
    EXPECT_EQ(HatchLines(HS_DIAGCROSS, box).size(), 10u);
    EXPECT_EQ(HatchLines(6, box), Lines{});  // not a hatch
    // The brush origin shifts the lines.
    EXPECT_EQ(HatchLines(HS_HORIZONTAL, box, {0, 3}), (Lines{"2,6 22,6", "2,14 22,14"}));
}

TEST(HatchFill, HatchedBrushPlaysAsLinesInTheBrushColour) {
    // At 96 dpi hatch lines are 8 device pixels apart; the square from 10
    // to 210 reference pixels lies from 4 to 79 device pixels (x 96 / 254).
    EmfBuilder emf;
    emf.Mode(EMR_SETBKMODE, TRANSPARENT)
        .CreateBrush(1, BS_HATCHED, RGB(0, 0, 200), HS_HORIZONTAL)
        .Select(1)
        .Select(ENHMETA_STOCK_OBJECT | NULL_PEN)
        .Box(EMR_RECTANGLE, 10, 10, 210, 210);
    RecordingHost host(378, 378, 96);
    ASSERT_TRUE(PlayInto(host, emf.Bytes()).ok);
    EXPECT_EQ(host.Lines("OnSelectBrush"), Lines{});
    EXPECT_EQ(host.Lines("OnSelectPen"), Lines{"OnSelectPen style=0x0 width=1 rgb=0,0,200"});
    const Lines lines = host.Lines("OnPolyline");
    ASSERT_EQ(lines.size(), 9u);  // y = 11, 19 ... 75
    EXPECT_EQ(lines[0], "OnPolyline 2: 4,11 79,11");
    EXPECT_EQ(lines[8], "OnPolyline 2: 4,75 79,75");

    // An opaque background is filled first, in the background colour.
    EmfBuilder opaque;
    opaque.Record(EMR_SETBKCOLOR, {RGB(250, 250, 0)})
        .CreateBrush(1, BS_HATCHED, RGB(0, 0, 200), HS_HORIZONTAL)
        .Select(1)
        .Box(EMR_RECTANGLE, 10, 10, 210, 210);
    RecordingHost host2(378, 378, 96);
    ASSERT_TRUE(PlayInto(host2, opaque.Bytes()).ok);
    ASSERT_GE(host2.log.size(), 3u);
    EXPECT_EQ(host2.log[0], "OnSelectBrush style=0 rgb=250,250,0 hatch=0");
    EXPECT_EQ(host2.log[1], "OnPolygon 4: 79,4 4,4 4,79 79,79");
    EXPECT_EQ(host2.log[2], "OnSelectPen style=0x0 width=1 rgb=0,0,200");
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hpgl/state_callbacks.h"
#include "pxrdriver/regions.h"
#include "support/job_harness.h"

namespace {

using Chunks = std::vector<std::string>;

class Drawing : public ::testing::Test {
protected:
    explicit Drawing(const std::string& ini = "CLIPPER=7\n") : h(ini) {}
    void SetUp() override {
        ASSERT_EQ(h.Start(), 1);
        h.Take();
    }
    void Polygon(std::vector<POINT> p) {
        h.Table().OnPolygon(&h.host, p.data(), static_cast<int>(p.size()));
    }
    void SetClip(std::vector<POINT> p) {
        HT_ClipRgn region{0, nullptr, static_cast<LONG>(p.size()), p.data()};
        h.Table().OnSetClipRegion(&h.host, &region);
    }
    JobHarness h;
};

TEST_F(Drawing, ClipRegionsSetTheInputWindow) {
    h.Job().m_bInPE = 1;
    h.Table().OnSetClipRegion(&h.host, nullptr);
    // The whole plot area (0,0)-(2362,3106) enlarged by one unit.
    EXPECT_EQ(h.Take(), (Chunks{";", "IW;IW-1,-1,2363,3107"}));
    EXPECT_EQ(h.Job().m_bClipInnerValid, 1);

    SetClip({{10, 20}, {110, 20}, {110, 220}, {10, 220}});
    EXPECT_EQ(h.Take(), (Chunks{"IW;IW9,19,111,221"}));
    EXPECT_EQ(h.Job().m_bClipIsRect, 1);
    const RECT inner = h.Job().m_rcClipInner;
    EXPECT_EQ(inner.left, 10);
    EXPECT_EQ(inner.top, 20);
    EXPECT_EQ(inner.right, 110);
    EXPECT_EQ(inner.bottom, 220);

    SetClip({{0, 0}, {50, 0}, {50, 50}, {100, 50}, {100, 100}, {0, 100}});
    EXPECT_EQ(h.Take(), (Chunks{"IW;IW-1,-1,101,101"}));
    EXPECT_EQ(h.Job().m_bClipIsRect, 0);

    h.Table().OnResetInputWindow(&h.host);
    EXPECT_EQ(h.Take(), (Chunks{"IW-1,-1,2363,3107"}));
    EXPECT_EQ(h.Job().m_bClipIsRect, 0);  // software clipping still follows the region
    EXPECT_NE(h.Job().m_pClipRgn, nullptr);
}

TEST_F(Drawing, UnclippedTriangle) {
    SetClip({{-10, -10}, {500, -10}, {500, 500}, {-10, 500}});
    h.Take();
    Polygon({{0, 0}, {100, 0}, {0, 100}});
    // (0,0) absolute: 191 191. (100,0): v 200 -> 71 194, 191. (0,100): dx -100
    // -> v 201 -> 72 194; dy 100 -> v 200 -> 71 194. Back to (0,0): dy -100 -> 72 194.
    EXPECT_EQ(h.Take(), (Chunks{"PE", "<", "=", "\xbf\xbf", ";", "PM", "PE", "\x47\xc2\xbf",
                                "\x48\xc2\x47\xc2", "\xbf\x48\xc2", ";", "PM2", "NP256",
                                "PC1,0,0,0", "SP1", "FP"}));
}

// A closed polygon (its first point again at the end) writes what the open
// one writes: the first point once.
TEST_F(Drawing, ClosedPolygonSendsItsFirstPointOnce) {
    SetClip({{-10, -10}, {500, -10}, {500, 500}, {-10, 500}});
    h.Take();
    Polygon({{0, 0}, {100, 0}, {0, 100}, {0, 0}});
    EXPECT_EQ(h.Take(), (Chunks{"PE", "<", "=", "\xbf\xbf", ";", "PM", "PE", "\x47\xc2\xbf",
                                "\x48\xc2\x47\xc2", "\xbf\x48\xc2", ";", "PM2", "NP256",
                                "PC1,0,0,0", "SP1", "FP"}));
}

TEST_F(Drawing, ClippedPolygonOutsideWritesNothing) {
    SetClip({{0, 0}, {50, 0}, {50, 50}, {100, 50}, {100, 100}, {0, 100}});
    h.Take();
    Polygon({{60, 10}, {90, 10}, {90, 40}});
    EXPECT_TRUE(h.Take().empty());
}

TEST_F(Drawing, ClippedPolygonStrokesWithAOneUnitPen) {
    const HostPenRecord pen{0, 5, 0, RGB(0, 0, 255), {}};
    h.Table().OnSelectPen(&h.host, &pen);
    SetClip({{0, 0}, {50, 0}, {50, 50}, {100, 50}, {100, 100}, {0, 100}});
    h.Take();
    Polygon({{10, 10}, {90, 10}, {90, 90}, {10, 90}});
    const Chunks chunks = h.Take();
    auto at = [&](const std::string& c) { return std::find(chunks.begin(), chunks.end(), c); };
    ASSERT_NE(at("PM"), chunks.end());
    ASSERT_NE(at("PM2"), chunks.end());
    EXPECT_EQ(at("PM1"), chunks.end()) << "the L-shaped result is one polygon";
    EXPECT_EQ(*(at("PM2") + 1), "NP256");
    EXPECT_NE(at("PW0.09"), chunks.end());
    EXPECT_EQ(chunks[chunks.size() - 2], "EP");
    EXPECT_EQ(chunks.back(), "FP");
    // The next polyline with the wider pen sends its width again.
    POINT line[] = {{10, 90}, {20, 90}};
    h.Table().OnPolyline(&h.host, line, 2);
    const Chunks after = h.Take();
    EXPECT_NE(std::find(after.begin(), after.end(), "PW0.43"), after.end());
}

TEST_F(Drawing, OverlappingRectanglesOfAPathLeaveAHole) {
    SetClip({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
    h.Job().m_bClipInnerValid = 0;  // force the clipped route
    h.Take();
    h.Table().OnBeginPath(&h.host);
    Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    Polygon({{50, 50}, {150, 50}, {150, 150}, {50, 150}});
    h.Table().OnEndPath(&h.host);
    EXPECT_TRUE(h.Take().empty());
    h.Table().OnFillPath(&h.host);
    const Chunks chunks = h.Take();
    // Exclusive or: two L-shapes (or their outlines), never one outline of
    // the union; even-odd fill then stroke.
    const long subPolygons = std::count(chunks.begin(), chunks.end(), "PM1");
    EXPECT_GE(subPolygons, 1);
    EXPECT_EQ(chunks[chunks.size() - 2], "EP");
    EXPECT_EQ(chunks.back(), "FP");
}

TEST_F(Drawing, WindingPathWithoutSoftwareWindingGoesDirect) {
    JobHarness direct("CLIPPER=3\n");
    ASSERT_EQ(direct.Start(), 1);
    direct.Take();
    direct.Table().OnSetFillMode(&direct.host, 2);
    direct.Table().OnBeginPath(&direct.host);
    POINT a[] = {{0, 0}, {100, 0}, {100, 100}};
    POINT b[] = {{5, 5}, {6, 6}};
    POINT tooFew[] = {{1, 1}};
    POINT dot[] = {{7, 7}, {7, 7}};
    direct.Table().OnPolygon(&direct.host, a, 3);
    direct.Table().OnPolyline(&direct.host, b, 2);
    direct.Table().OnPolyline(&direct.host, tooFew, 1);
    direct.Table().OnPolyline(&direct.host, dot, 2);
    direct.Table().OnEndPath(&direct.host);
    EXPECT_TRUE(direct.Take().empty());  // figures are collected, not sent
    EXPECT_EQ(direct.Job().m_path.size(), 2u);
    direct.Table().OnFillPath(&direct.host);
    const Chunks chunks = direct.Take();
    EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "PM1"), 1);
    EXPECT_EQ(chunks.back(), "FP1");
    EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "EP"), 0);
    // The figures stay: a second fill sends them again.
    direct.Table().OnFillPath(&direct.host);
    EXPECT_EQ(direct.Take().back(), "FP1");
}

TEST_F(Drawing, FillPathWithoutFiguresClosesAtMost) {
    h.Job().m_bInPE = 1;
    h.Table().OnBeginPath(&h.host);
    h.Table().OnEndPath(&h.host);
    h.Table().OnFillPath(&h.host);
    EXPECT_EQ(h.Take(), Chunks{";"});
    EXPECT_EQ(h.Table().OnSetFillMode(&h.host, 2), 1);
    EXPECT_EQ(h.Table().OnSetFillMode(&h.host, 1), 2);
    h.Table().OnRefillPolygon(&h.host);
    EXPECT_EQ(h.Take(), Chunks{"FP"});
    EXPECT_EQ(h.Job().m_bPEAbsNext, 1);
}

TEST(StateCallbacks, ColourModes) {
    const struct {
        COLORREF in;
        int mode;
        COLORREF out;
    } cases[] = {
        {0x00FFFFFF, 0, 0x00FFFFFF},
        {RGB(254, 254, 254), 0, 0},
        {0x01FFFFFF, 0, 0},
        {RGB(30, 60, 90), 2, RGB(60, 60, 60)},
        {RGB(1, 1, 0), 2, 0},
        {0x05000003, 2, 0x05010101},  // the high byte stays
        {RGB(1, 2, 3), 1, RGB(1, 2, 3)},
        {RGB(1, 2, 3), 7, RGB(1, 2, 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertColor(c.in, c.mode), c.out) << std::hex << c.in << " mode " << c.mode;
}

TEST(StateCallbacks, PenStylesToLineAttributes) {
    const struct {
        DWORD style;
        int word;
    } cases[] = {
        {0x0000, 20},          {0x0100 | 0x1000, 10}, {0x0200 | 0x2000, 33},
        {0x0300 | 0x3000, 20}, {0x0005, 20},  // a dash style alone changes nothing here
    };
    for (const auto& c : cases) EXPECT_EQ(LineAttributesOfStyle(c.style), c.word) << c.style;
}

TEST_F(Drawing, MergeControlOnlyOnChange) {
    const struct {
        int rop, result;
        Chunks written;
    } steps[] = {
        {13, 13, {}},
        {9, 1, {"MC1,160"}},
        {9, 9, {}},
        {6, 1, {"MC0"}},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(h.Table().OnSetRop2(&h.host, s.rop), s.result) << s.rop;
        EXPECT_EQ(h.Take(), s.written) << s.rop;
    }
    h.Job().m_bInPE = 1;
    h.Table().OnSetRop2(&h.host, 9);
    EXPECT_EQ(h.Take(), (Chunks{";", "MC1,160"}));
}

}  // namespace

namespace {

bool HasChunk(const Chunks& chunks, const std::string& c) {
    return std::find(chunks.begin(), chunks.end(), c) != chunks.end();
}

// Win32 joins rectangles without the empty ones: a figure that is a
// horizontal or vertical line adds nothing to the box that decides whether
// a filled path needs clipping. The direct route sends both figures (a
// "PM1" between them); the clipped route sends the region they leave inside
// the clip rectangle, the square alone.
TEST_F(Drawing, LineFiguresDoNotWidenTheBoxOfAFill) {
    struct Case {
        const char* what;
        std::vector<POINT> extra;
        long subPolygons;
    };
    const Case cases[] = {
        {"horizontal line outside", {{500, 2000}, {600, 2000}}, 1},
        {"vertical line outside", {{2000, 500}, {2000, 600}}, 1},
        {"triangle outside", {{500, 2000}, {600, 2000}, {600, 2100}}, 0},
    };
    for (const Case& c : cases) {
        SetClip({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
        h.Take();
        h.Table().OnBeginPath(&h.host);
        Polygon({{10, 10}, {100, 10}, {100, 100}, {10, 100}});
        Polygon(c.extra);
        h.Table().OnEndPath(&h.host);
        h.Table().OnFillPath(&h.host);
        const Chunks chunks = h.Take();
        ASSERT_FALSE(chunks.empty()) << c.what;
        EXPECT_EQ(chunks.back(), "FP") << c.what;
        EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "PM1"), c.subPolygons) << c.what;
    }
}

// Before the host sets a clip region, the page clips every primitive alike:
// polygons and paths that cross the page edge take the clipped route, as
// polylines are cut by the page; what lies inside the page goes direct.
TEST_F(Drawing, PageClipsPolygonsAndPathsBeforeAnyClipRegion) {
    JobHarness fresh("CLIPPER=7\n");
    ASSERT_EQ(fresh.Start(), 1);
    fresh.Take();
    std::vector<POINT> across = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}};
    std::vector<POINT> inside = {{10, 10}, {100, 10}, {100, 100}, {10, 100}};
    fresh.Table().OnPolygon(&fresh.host, across.data(), 4);
    const Chunks crossing = fresh.Take();
    EXPECT_TRUE(HasChunk(crossing, "EP"));
    fresh.Table().OnPolygon(&fresh.host, inside.data(), 4);
    EXPECT_FALSE(HasChunk(fresh.Take(), "EP"));

    fresh.Table().OnBeginPath(&fresh.host);
    fresh.Table().OnPolygon(&fresh.host, across.data(), 4);
    fresh.Table().OnEndPath(&fresh.host);
    fresh.Table().OnFillPath(&fresh.host);
    EXPECT_EQ(fresh.Take().back(), "FP");
    // The outline sent ends where it started, on the page, not at (-100,-100).
    EXPECT_GE(fresh.Job().m_ptPE.x, 0);
    EXPECT_GE(fresh.Job().m_ptPE.y, 0);

    POINT line[] = {{-100, 50}, {50, 50}};
    fresh.Table().OnPolyline(&fresh.host, line, 2);
    fresh.Take();
    EXPECT_EQ(fresh.Job().m_ptPE.x, 50);
}

}  // namespace

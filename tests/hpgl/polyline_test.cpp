#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hpgl/encoded_polyline.h"
#include "hpgl/polyline.h"
#include "pxrdriver/regions.h"
#include "reader/hpgl_parser.h"
#include "support/job_harness.h"

namespace {

using Chunks = std::vector<std::string>;

class Polylines : public ::testing::Test {
protected:
    explicit Polylines(const std::string& ini = "") : h(ini) {}
    void SetUp() override {
        ASSERT_EQ(h.Start(), 1);
        h.Take();
    }
    int Draw(std::vector<POINT> points) {
        return h.Table().OnPolyline(&h.host, points.data(), static_cast<int>(points.size()));
    }
    void SelectPen(COLORREF color, DWORD width) {
        const HostPenRecord pen{0, width, 0, color, {}};
        h.Table().OnSelectPen(&h.host, &pen);
    }
    JobHarness h;
};

TEST_F(Polylines, ConsecutivePolylinesShareOnePE) {
    Draw({{0, 0}, {10, 0}});
    h.Take();
    Draw({{10, 0}, {10, 10}});                  // starts where the last one ended: pen stays down
    EXPECT_EQ(h.Take(), (Chunks{"\xbf\xd3"}));  // dx 0 -> 191, dy 10 -> v 20 -> 211
    Draw({{0, 0}, {-1, 0}});                    // elsewhere: a pen-up move first
    // (0,0) from (10,10): v = 21 -> 212 both; then dx -1 -> v = 3 -> 194
    EXPECT_EQ(h.Take(), (Chunks{"<", "\xd4\xd4", "\xc2\xbf"}));
}

// What the driver encodes, the plot reader decodes back to the same number.
TEST(EncodedPolyline, NumbersAtTheirBoundaries) {
    JobHarness h;
    ASSERT_EQ(h.Start(), 1);
    JobContext& job = h.Job();
    const struct {
        LONG from, to;
        std::string bytes;  // x digits, then y = 0 digit
    } cases[] = {
        {0, 0, "\xbf"},
        {0, -1, "\xc2"},
        {0, 31, "\xfd"},                                            // v = 62: one digit
        {0, 32, "\x3f\xc0"},                                        // v = 64: 0 + 63, then 1 + 191
        {0, -32, "\x40\xc0"},                                       // v = 65
        {0, 2147483647, "\x7d\x7e\x7e\x7e\x7e\xc2"},                // v = 2^32 - 2
        {-2147483647 - 1, 2147483647, "\x7d\x7e\x7e\x7e\x7e\xc6"},  // v = 2^33 - 2
    };
    for (const auto& c : cases) {
        job.m_bPEAbsNext = 0;
        job.m_ptPE = POINT{c.from, 0};
        h.Take();
        EncodePECoordinate(&job, c.to, 0);
        EXPECT_EQ(h.TakeBytes(), c.bytes + "\xbf") << c.from << " -> " << c.to;
        const auto parsed = plot::ParsePlotStream("\x1b%0BPE" + c.bytes + "\xbf;");
        ASSERT_TRUE(parsed.Ok()) << parsed.error;
        ASSERT_EQ(parsed.commands.back().vertices.size(), 1u);
        EXPECT_EQ(parsed.commands.back().vertices[0].x, int64_t{c.to} - c.from);
    }
}

TEST_F(Polylines, SegmentFormDrawsPairs) {
    std::vector<POINT> p = {{0, 0}, {1, 0}, {5, 5}, {6, 5}, {9, 9}, {9, 8}};
    DrawAttributes& a = h.driver->m_attributes;
    EmitPolyline(&a, -6, p.data());
    const std::string bytes = h.TakeBytes();
    // Three pen-up moves, one per segment.
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '<'), 3);
    h.Take();
    EXPECT_EQ(EmitPolyline(&a, -1, p.data()), 1);
    EXPECT_EQ(h.TakeBytes().find('<'), std::string::npos);
}

TEST_F(Polylines, UnchangedStateIsNotSentAgain) {
    SelectPen(RGB(1, 2, 3), 4);
    Draw({{0, 0}, {9, 0}});
    h.Table().OnSetRop2(&h.host, 6);  // closes PE
    h.Take();
    Draw({{0, 0}, {9, 0}});
    const Chunks chunks = h.Take();
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks[0], "PE");
    for (const std::string& c : chunks) {
        EXPECT_NE(c.substr(0, 2), "SP");
        EXPECT_NE(c.substr(0, 2), "PW");
        EXPECT_NE(c.substr(0, 2), "LA");
    }
}

// A job that ended inside an image leaves HP RTL before its end of job, and
// the next job starts in HP-GL/2 without leaving RTL again; a polyline
// inside an image leaves it first.
TEST_F(Polylines, ImagesAreLeftBeforeVectorsAndJobsEndAndStartInHpgl) {
    h.Job().m_bInRaster = 1;
    Draw({{0, 0}, {9, 0}});
    EXPECT_EQ(h.Take().at(0), "\x1b%1B");
    h.Job().m_bInRaster = 1;
    h.End();
    EXPECT_EQ(h.TakeBytes(), "\x1b%1B;PUSP0PG;\x1b%-12345X@PJL EOJ ");
    h.Job().m_bInRaster = 1;
    ASSERT_EQ(h.Start(), 1);
    EXPECT_EQ(h.Job().m_bInRaster, 0);
    EXPECT_EQ(h.Take().at(0), "\x1b%0BBP5,1");
    Draw({{0, 0}, {10, 0}});
    const std::string bytes = h.TakeBytes();
    EXPECT_EQ(bytes.find("\x1b%1B"), std::string::npos) << bytes;
}

// The plotter's pen position is unknown at the start of a job: the first
// pair goes absolute even when the last job ended exactly there.
TEST_F(Polylines, FirstPairOfAJobIsAbsoluteEvenWhereTheLastEnded) {
    Draw({{0, 0}, {10, 0}});
    h.End();
    ASSERT_EQ(h.Start(), 1);
    h.Take();
    Draw({{10, 0}, {20, 0}});
    // (10,0) absolute: v 20 -> one digit, 20 + 191 = 211; y 0 -> 191. Then
    // dx 10 -> 211 again, dy 0 -> 191.
    const Chunks chunks = h.Take();
    ASSERT_GE(chunks.size(), 5u);
    const Chunks tail(chunks.end() - 5, chunks.end());
    EXPECT_EQ(tail, (Chunks{"PE", "<", "=", "\xd3\xbf", "\xd3\xbf"}));
}

// Software clipping against an L-shaped region (the rectangle 0..100 x 0..100
// without its upper-right quarter).
class ClippedPolylines : public Polylines {
protected:
    ClippedPolylines() : Polylines("CLIPPER=7\n") {}
    void SetLShape() {
        POINT l[] = {{0, 0}, {50, 0}, {50, 50}, {100, 50}, {100, 100}, {0, 100}};
        HT_ClipRgn region{0, nullptr, 6, l};
        h.Table().OnSetClipRegion(&h.host, &region);
        h.Take();
    }
};

TEST_F(ClippedPolylines, LinesAreCutAtTheRegion) {
    SetLShape();
    EXPECT_EQ(h.Job().m_bClipIsRect, 0);
    Draw({{60, 10}, {90, 40}});  // in the notch
    EXPECT_EQ(h.TakeBytes().find("PE"), std::string::npos);
    Draw({{10, 25}, {90, 25}});  // leaves the region at x = 50
    const std::string bytes = h.TakeBytes();
    // Drawn: (10,25) to (50,25) only; the end (90,25) never reaches the plotter.
    EXPECT_EQ(h.Job().m_ptPE.x, 50);
    EXPECT_EQ(h.Job().m_ptPE.y, 25);
    // dx 40 -> v 80 -> 80 % 64 + 63 = 79, 80 / 64 + 191 = 192; dy 0 -> 191.
    EXPECT_NE(bytes.find("\x4f\xc0\xbf"), std::string::npos);
    // Never dx 80 (v 160 -> 95, 193) on to x = 90.
    EXPECT_EQ(bytes.find("\x5f\xc1"), std::string::npos);
}

TEST_F(ClippedPolylines, CountsOfZeroAndBelowThroughTheTable) {
    SetLShape();
    POINT none[] = {{1, 1}, {2, 2}};
    EXPECT_EQ(h.Table().OnPolyline(&h.host, none, 0), 1);
    EXPECT_EQ(h.Table().OnPolyline(&h.host, none, -1), 1);  // less than one segment
    EXPECT_EQ(h.TakeBytes(), "");
    // -4: two separate segments, each clipped on its own. The first leaves
    // the region at x = 50; the second lies inside and ends at (90,75).
    POINT segments[] = {{10, 25}, {90, 25}, {10, 75}, {90, 75}};
    EXPECT_EQ(h.Table().OnPolyline(&h.host, segments, -4), 1);
    const Chunks chunks = h.Take();
    EXPECT_EQ(std::count(chunks.begin(), chunks.end(), "<"), 2);
    EXPECT_EQ(h.Job().m_ptPE.x, 90);
    EXPECT_EQ(h.Job().m_ptPE.y, 75);
}

// Without region data there is nothing to clip against: the line is sent
// as it is, and the plotter's input window limits it.
TEST_F(ClippedPolylines, NoRegionDataDrawsUnclipped) {
    HT_DeleteRgn(h.Job().m_pClipData);
    h.Job().m_pClipData = nullptr;
    h.Job().m_bClipInnerValid = 0;
    Draw({{-100, -100}, {50, 50}});
    EXPECT_EQ(h.Job().m_ptPE.x, 50);
    EXPECT_EQ(h.Job().m_ptPE.y, 50);
    EXPECT_NE(h.TakeBytes().find("PE"), std::string::npos);
}

class UnclippedPolylines : public Polylines {
protected:
    UnclippedPolylines() : Polylines("CLIPPER=0\n") {}
};

TEST_F(UnclippedPolylines, OnlyTheInputWindowLimitsTheDrawing) {
    POINT l[] = {{0, 0}, {50, 0}, {50, 50}, {100, 50}, {100, 100}, {0, 100}};
    HT_ClipRgn region{0, nullptr, 6, l};
    h.Table().OnSetClipRegion(&h.host, &region);
    h.Take();
    Draw({{60, 10}, {90, 40}});
    EXPECT_EQ(h.Job().m_ptPE.x, 90);
    EXPECT_EQ(h.Job().m_ptPE.y, 40);
}

}  // namespace

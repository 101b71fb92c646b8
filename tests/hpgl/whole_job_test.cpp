#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/job_harness.h"

namespace {

using Chunks = std::vector<std::string>;

// A small drawing played through the callback table, compared with the
// complete job, write by write.
TEST(WholeJob, LineAndFilledTriangle) {
    JobHarness h;
    ASSERT_EQ(h.Start(), 1);
    h.Table().OnSetClipRegion(&h.host, nullptr);
    const HostPenRecord red{0x0200 | 0x2000, 2, 0, RGB(255, 0, 0), {}};  // flat ends, mitred
    h.Table().OnSelectPen(&h.host, &red);
    POINT line[] = {{10, 10}, {110, 10}, {110, 60}};
    h.Table().OnPolyline(&h.host, line, 3);
    const HostBrushRecord blue{0, RGB(0, 0, 255), 0};
    h.Table().OnSelectBrush(&h.host, &blue);
    POINT triangle[] = {{200, 200}, {300, 200}, {200, 300}};
    h.Table().OnPolygon(&h.host, triangle, 3);
    h.End();

    const Chunks expected = {
        "\x1b%0BBP5,1",
        "PS10520,8000",
        "ECRO90IP0,0,1016,-1016IR0,100TR1MC0WU0",
        "SC0,300.000000,0,300.000000;",
        "CR0,255,0,255,0,255",
        "SP1",
        "IW;IW-1,-1,2363,3107",
        // The line: pen, line type, width (2 px = 0.17 mm), ends and joins.
        "NP256",
        "PC1,255,0,0",
        "SP1",
        "LT",
        "PW0.17",
        "LA1,1,2,1",
        "PE",
        "<",
        "=",
        "\xd3\xd3",      // (10,10) absolute: v = 20 -> 211 each
        "\x47\xc2\xbf",  // +100, 0
        "\xbf\x63\xc0",  // 0, +50: v = 100 -> 36 + 63, 1 + 191
        // The triangle: a pen-up move in the open PE, then polygon mode.
        "<",
        "\x73\xc1\x57\xc3",  // +90, +140: v = 180 -> 115 193; v = 280 -> 87 195
        ";",
        "PM",
        "PE",
        "\x47\xc2\xbf",
        "\x48\xc2\x47\xc2",
        "\xbf\x48\xc2",
        ";",
        "PM2",
        "PC2,0,0,255",
        "SP2",
        "FP",
        ";PUSP0PG;\x1b%-12345X@PJL EOJ ",
    };
    EXPECT_EQ(h.Take(), expected);
    EXPECT_EQ(h.channel.closes, 1);
}

}  // namespace

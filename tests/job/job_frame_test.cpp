#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "job/control_code.h"
#include "job/pjl_header.h"
#include "support/job_harness.h"

namespace {

using Chunks = std::vector<std::string>;

const Chunks kInitialisation = {
    "\x1b%0BBP5,1",
    "PS10520,8000",  // 263 mm * 40 and 200 mm * 40: the plot is longer than wide
    "ECRO90IP0,0,1016,-1016IR0,100TR1MC0WU0",
    "SC0,300.000000,0,300.000000;",
    "CR0,255,0,255,0,255",
    "SP1",
};

Chunks Concat(Chunks a, const Chunks& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(JobFrame, EveryPjlLineInItsPlace) {
    JobHarness h;
    h.driver->m_devmode.nHeadMask = 0xFFF;
    ASSERT_EQ(h.Start(), 1);
    const Chunks pjl = {
        "\x1b%-12345X@PJL JOB NAME = \"C:\\------\\-------?\"\r\n",
        "\x1b%-12345X@PJL SET DRIVERVERSION = v4.63 ( WinNT )\r\n",
        "@PJL SET PALETTESOURCE = SOFTWARE \r\n",
        "@PJL SET RENDERMODE = COLOR\r\n",
        "@PJL SET RET = OFF \r\n",
        "@PJL SET PRINTAREA = FULLSIZE \r\n",
        "@PJL SET RESOLUTION = 300 \r\n",
        "@PJL SET PAPERLENGTH = 8419 \r\n",  // 2970 > 2970 - 340 + 100
        "@PJL SET PAPERWIDTH = 6633 \r\n",   // (2100 - 100 + 340) * 720 / 254 + 0.5
        "@PJL SET ORIENTATION = PORTRAIT \r\n",
        "@PJL SET NUM_BANDS = 0 \r\n",
        "@PJL ENTER LANGUAGE = HPGL2 \r\n",
    };
    EXPECT_EQ(h.Take(), Concat(pjl, kInitialisation));
    EXPECT_EQ(pjl[0].size(), 47u);
    EXPECT_EQ(pjl[1].size(), 51u);
}

TEST(JobFrame, GreyRenderModeAndInkedArea) {
    JobHarness h;
    h.driver->m_devmode.nHeadMask = 0x8;
    h.driver->m_devmode.bRenderMode = 1;
    h.driver->m_devmode.bInkedArea = 1;  // written whatever the mask
    ASSERT_EQ(h.Start(), 1);
    const Chunks chunks = h.Take();
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks[0], "@PJL SET RENDERMODE = GRAYSCALE  \r\n");
    EXPECT_EQ(chunks[1], "@PJL SET PRINTAREA = INKEDAREA \r\n");
    EXPECT_EQ(chunks[2], "\x1b%0BBP5,1");
}

TEST(JobFrame, PaperValuesInPjlUnits) {
    HPGL2DevMode r;
    FillDefaultDevMode(&r);
    r.nMarginTop = r.nMarginBottom = 0;  // 2970 + 100 wins
    EXPECT_EQ(PjlPaperLength(r), 8702);  // 3070 * 720 / 254 + 0.5
    r.nPaperLength = 2147483647;
    r.nMarginBottom = -2147483647 - 1;
    EXPECT_GT(PjlPaperLength(r), 0);  // no overflow
}

TEST(JobFrame, ControlCodeTokens) {
    const struct {
        const char* code;
        int maskBefore;
        const char* text;
        int mask;
    } cases[] = {
        {"$HEADMASK=2049$", 0, "", 2049},
        {"A\\033EB", 7,
         "A\x1b"
         "EB",
         7},
        {"x$HEADMASK= -12$y$HEADMASK= -12$", 0, "xy", -12},
        {"$HEADMASK=abc$z", 5, "z", 0},
        {"$HEADMASK=12", 5, "$HEADMASK=12", 5},  // no closing "$": unchanged
        {"$HEADMASK=99999999999$", 0, "", 2147483647},
    };
    for (const auto& c : cases) {
        int mask = c.maskBefore;
        EXPECT_EQ(ExpandControlCode(c.code, &mask), c.text) << c.code;
        EXPECT_EQ(mask, c.mask) << c.code;
    }
}

TEST(JobFrame, HeadMaskTokenChoosesTheLines) {
    JobHarness h;
    h.driver->m_devmode.bPjlControl = 1;
    std::strcpy(h.driver->m_devmode.szControlCode, "$HEADMASK=2049$");
    ASSERT_EQ(h.Start(), 1);
    const Chunks chunks = h.Take();
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks[0], "\x1b%-12345X@PJL JOB NAME = \"C:\\------\\-------?\"\r\n");
    EXPECT_EQ(chunks[1], "@PJL ENTER LANGUAGE = HPGL2 \r\n");
    EXPECT_EQ(chunks[2], "\x1b%0BBP5,1");
}

TEST(JobFrame, UseFileSendsTheFileUnchanged) {
    JobHarness h;
    std::string content(10000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    h.config.Write("ctl.bin", content);
    h.driver->m_devmode.bPjlControl = 1;
    std::strcpy(h.driver->m_devmode.szControlCode, "USEFILE=ctl.bin");
    ASSERT_EQ(h.Start(), 1);
    Chunks chunks = h.Take();
    std::string sent;
    size_t i = 0;
    for (; i < chunks.size() && chunks[i] != "\x1b%0BBP5,1"; ++i) {
        EXPECT_LE(chunks[i].size(), 4095u);
        sent += chunks[i];
    }
    EXPECT_EQ(sent, content);
    h.End();

    // A missing file is skipped silently; the job goes on.
    std::strcpy(h.driver->m_devmode.szControlCode, "USEFILE=missing.bin");
    h.Take();
    ASSERT_EQ(h.Start(), 1);
    EXPECT_EQ(h.Take(), kInitialisation);
}

TEST(JobFrame, PlotSizeChoosesTheRotation) {
    JobHarness h;
    ASSERT_EQ(h.Start(), 1);
    h.End();
    h.Take();
    // Landscape plot area: 200 mm long, 400 mm wide.
    h.driver->m_devmode.nPaperWidth = 4100;
    h.driver->m_devmode.nPaperLength = 2340;
    ASSERT_EQ(h.Start(), 1);
    const Chunks chunks = h.Take();
    EXPECT_EQ(chunks[1], "PS8000,16000");
    EXPECT_EQ(chunks[2], "ECRO180IP0,0,1016,-1016IR0,100TR1MC0WU0");
}

TEST(JobFrame, MergeControlCarriesOverAndResolutionFormats) {
    JobHarness h;
    h.driver->m_devmode.dm.dmPrintQuality = 600;
    ASSERT_EQ(h.Start(), 1);
    EXPECT_EQ(h.Table().OnSetRop2(&h.host, 9), 1);
    h.End();
    h.Take();
    ASSERT_EQ(h.Start(), 1);
    const Chunks chunks = h.Take();
    ASSERT_EQ(chunks.size(), 7u);
    EXPECT_EQ(chunks[3], "MC1,160");
    EXPECT_EQ(chunks[4], "SC0,600.000000,0,600.000000;");
}

}  // namespace

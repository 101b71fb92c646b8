#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hpgl/pen_table.h"
#include "support/job_harness.h"

namespace {

using Chunks = std::vector<std::string>;

class PenTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(h.Start(), 1);
        h.Take();
    }
    void Select(BYTE r, BYTE g, BYTE b) {
        const BYTE rgb[3] = {r, g, b};
        SelectPenColor(&h.Job(), rgb);
    }
    JobHarness h;
};

TEST_F(PenTable, FirstDefinitionOfAJobCountsThePensFirst) {
    Select(0, 128, 255);
    EXPECT_EQ(h.Take(), (Chunks{"NP256", "PC1,0,128,255", "SP1"}));
    Select(10, 20, 30);
    EXPECT_EQ(h.Take(), (Chunks{"PC2,10,20,30", "SP2"}));
    Select(0, 128, 255);  // known colour: selection only
    EXPECT_EQ(h.Take(), (Chunks{"SP1"}));
}

// An embedded raster's configure-image-data command replaces the pen
// palette: every pen is counted, defined and selected again, keeping its
// number, and the width is sent again.
TEST_F(PenTable, PensAreDefinedAgainAfterARaster) {
    Select(0, 0, 255);
    Select(255, 0, 0);
    SetPenWidth(&h.Job(), 3);
    h.Take();
    ForgetPensAfterRaster(&h.Job());
    EXPECT_EQ(h.Job().m_nCurWidth, -1);
    Select(255, 0, 0);  // the pen in force before the raster
    EXPECT_EQ(h.Take(), (Chunks{"NP256", "PC2,255,0,0", "SP2"}));
    Select(0, 0, 255);
    EXPECT_EQ(h.Take(), (Chunks{"PC1,0,0,255", "SP1"}));
    Select(255, 0, 0);  // defined since: selection only
    EXPECT_EQ(h.Take(), (Chunks{"SP2"}));
}

TEST_F(PenTable, WhitePenIsDefinedAs254Blue) {
    Select(255, 255, 255);
    EXPECT_EQ(h.Take(), (Chunks{"NP256", "PC1,255,255,254", "SP1"}));
    Select(255, 255, 254);  // a colour of its own
    EXPECT_EQ(h.Take(), (Chunks{"PC2,255,255,254", "SP2"}));
}

TEST_F(PenTable, The257thColourOverwritesPenZero) {
    for (int i = 1; i <= 255; ++i) Select(static_cast<BYTE>(i), 0, 0);
    h.Take();
    Select(0, 1, 0);  // the 256th colour takes the last free slot: 0
    EXPECT_EQ(h.Take(), (Chunks{"PC0,0,1,0", "SP0"}));
    Select(0, 2, 0);  // the 257th overwrites pen 0
    EXPECT_EQ(h.Take(), (Chunks{"PC0,0,2,0", "SP0"}));
    Select(7, 0, 0);  // colours in slots 1-255 keep their pens
    EXPECT_EQ(h.Take(), (Chunks{"SP7"}));
    Select(0, 1, 0);  // gone from the table: pen 0 again
    EXPECT_EQ(h.Take(), (Chunks{"PC0,0,1,0", "SP0"}));
}

TEST_F(PenTable, UnknownPenNumbersFallBackToBlackPenZero) {
    // The first unknown number defines pen 0 black; the others select it.
    SelectPenNumber(&h.Job(), 300);
    EXPECT_EQ(h.Take(), (Chunks{"NP256", "PC0,0,0,0", "SP0"}));
    for (int pen : {42, -1}) {
        SelectPenNumber(&h.Job(), pen);
        EXPECT_EQ(h.Take(), Chunks{"SP0"}) << pen;  // defined already: selected only
    }
    EXPECT_EQ(h.Job().m_aPens[0].bUsed, 1);
    EXPECT_EQ(h.Job().m_nCurPen, 0);
}

TEST_F(PenTable, NewDocumentDefinesPensAgainWithTheSameNumbers) {
    Select(1, 2, 3);
    h.End();
    ASSERT_EQ(h.Start(), 1);
    h.Take();
    Select(1, 2, 3);
    EXPECT_EQ(h.Take(), (Chunks{"NP256", "PC1,1,2,3", "SP1"}));
}

TEST_F(PenTable, PenWidthsInMillimetres) {
    const struct {
        int resolution, width;
        const char* command;
    } cases[] = {
        {300, 0, "PW0.00"}, {300, 1, "PW0.09"},   {300, 2, "PW0.17"},         {300, 10, "PW0.85"},
        {600, 3, "PW0.13"}, {300, -3, "PW-0.25"}, {300, 100000, "PW8466.67"},
    };
    for (const auto& c : cases) {
        h.Job().m_nResolution = c.resolution;
        SetPenWidth(&h.Job(), c.width);
        EXPECT_EQ(h.Take(), Chunks{c.command}) << c.width << " at " << c.resolution;
        EXPECT_EQ(h.Job().m_nCurWidth, c.width);
    }
}

TEST_F(PenTable, LineAttributesSendOnlyTheGroupsThatChanged) {
    const struct {
        int word;
        const char* command;  // "" writes an empty text
    } steps[] = {
        {LINECAP_ROUND + LINEJOIN_ROUND, "LA1,4,2,4"},  // after a reset both groups go out
        {LINECAP_ROUND + LINEJOIN_MITER, "LA2,1"},
        {LINECAP_SQUARE + LINEJOIN_MITER, "LA1,2"},
        {LINECAP_FLAT + LINEJOIN_BEVEL, "LA1,1,2,5"},
        {3 + 0x38, "LA1,1,2,1"},  // unknown groups: butt ends, mitred joins
    };
    for (const auto& s : steps) {
        SetLineAttributes(&h.Job(), s.word);
        const Chunks chunks = h.Take();
        EXPECT_EQ(chunks, Chunks{s.command}) << s.word;
    }
}

TEST_F(PenTable, CommandsCloseAnOpenPolyline) {
    h.Job().m_bInPE = 1;
    SetLineTypeSolid(&h.Job());
    EXPECT_EQ(h.Take(), (Chunks{";", "LT"}));
    EXPECT_EQ(h.Job().m_nCurLineType, 0);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/hpgl2_driver.h"
#include "support/scratch_config.h"

namespace {

class PaperGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        config.Write("hpgl2.ini", "[P]\nPaperFile=paper.ini\n");
        config.Write("paper.ini",
                     "9, 2100, 2970, 11, 22, 33, 44, ISO A4\n"
                     "8, 2970, 4200, 1, 2, 3, 4, ISO A3\n"
                     "8, 1, 1, 0, 0, 0, 0, second A3 never found\n");
    }
    ScratchConfig config;
};

TEST_F(PaperGeometry, PortraitAndLandscapeFromThePaperList) {
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    HPGL2DevMode r = driver.m_devmode;
    r.dm.dmPaperSize = 8;
    driver.RefreshPaperGeometry(&r);
    EXPECT_EQ(r.nPaperWidth, 2970);
    EXPECT_EQ(r.nPaperLength, 4200);
    EXPECT_EQ(r.nMarginLeft, 3);
    EXPECT_EQ(r.nMarginTop, 1);
    EXPECT_EQ(r.nMarginRight, 4);
    EXPECT_EQ(r.nMarginBottom, 2);
    EXPECT_EQ(r.nPaperCode, 8);
    EXPECT_EQ(std::memcmp(&r.dm, &r.dmSaved, sizeof r.dm), 0);

    r.dm.dmOrientation = DMORIENT_LANDSCAPE;
    driver.RefreshPaperGeometry(&r);
    EXPECT_EQ(r.nPaperWidth, 4200);
    EXPECT_EQ(r.nPaperLength, 2970);
    EXPECT_EQ(r.nMarginLeft, 1);    // top
    EXPECT_EQ(r.nMarginTop, 4);     // right
    EXPECT_EQ(r.nMarginRight, 2);   // bottom
    EXPECT_EQ(r.nMarginBottom, 3);  // left
}

TEST_F(PaperGeometry, UnchangedRecordOrUnknownPaperIsLeftAlone) {
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    HPGL2DevMode r = driver.m_devmode;
    r.dm.dmPaperSize = 77;  // not in the list
    HPGL2DevMode before = r;
    driver.RefreshPaperGeometry(&r);
    EXPECT_EQ(std::memcmp(&before, &r, sizeof r), 0);

    r.dm.dmPaperSize = 8;
    std::memcpy(&r.dmSaved, &r.dm, sizeof r.dm);
    before = r;
    driver.RefreshPaperGeometry(&r);
    EXPECT_EQ(std::memcmp(&before, &r, sizeof r), 0);
    // A caller forces the next refresh by spoiling the saved paper code.
    r.dmSaved.dmPaperSize = -1;
    driver.RefreshPaperGeometry(&r);
    EXPECT_EQ(r.nPaperWidth, 2970);
}

TEST_F(PaperGeometry, CustomPaperTakesTheCustomMarginsTurned) {
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    EXPECT_EQ(driver.SetCustomPaper("Mine", 5000.9, 7000.2, 10.7, 20.1, 30.9, 40.5, 0), 1);
    EXPECT_EQ(driver.m_customPaper.nPaperID, 0);
    EXPECT_EQ(driver.m_customPaper.nPaperWidth, 5000);
    EXPECT_EQ(driver.m_customPaper.nLeftMargin, 10);
    EXPECT_EQ(driver.m_customPaper.nRightMargin, 20);
    EXPECT_EQ(driver.m_customPaper.nTopMargin, 30);
    EXPECT_EQ(driver.m_customPaper.nBottomMargin, 40);
    HPGL2DevMode r = driver.m_devmode;
    r.dm.dmPaperSize = 0;
    driver.RefreshPaperGeometry(&r);
    EXPECT_EQ(r.nMarginLeft, 30);
    EXPECT_EQ(r.nMarginTop, 20);
    EXPECT_EQ(r.nMarginRight, 40);
    EXPECT_EQ(r.nMarginBottom, 10);
    EXPECT_EQ(r.nPaperWidth, 2100);  // size and saved copy stay
    EXPECT_NE(std::memcmp(&r.dm, &r.dmSaved, sizeof r.dm), 0);
}

TEST_F(PaperGeometry, PaperNamesAreCutTo63Characters) {
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    const std::string exact(63, 'n');
    driver.SetCustomPaper(exact.c_str(), 1, 1, 0, 0, 0, 0, 0);
    EXPECT_EQ(std::string(driver.m_customPaper.szPaperName), exact);
    driver.SetCustomPaper(std::string(200, 'm').c_str(), 1, 1, 0, 0, 0, 0, 0);
    EXPECT_EQ(std::string(driver.m_customPaper.szPaperName), std::string(63, 'm'));
    // Values past the range of int are held at its ends instead of overflowing.
    driver.SetCustomPaper("huge", 1e300, -1e300, 0.0 / 0.0, 0, 0, 0, 0);
    EXPECT_EQ(driver.m_customPaper.nPaperWidth, 2147483647);
    EXPECT_EQ(driver.m_customPaper.nPaperLength, -2147483647 - 1);
    EXPECT_EQ(driver.m_customPaper.nLeftMargin, 0);
}

TEST_F(PaperGeometry, AddPaperAppendsToTheWholeListWhenItCanBeWritten) {
    HPGL2Driver driver(nullptr, config.Ini().c_str(), "P");
    int code = 650;
    ASSERT_EQ(driver.AddPaper("Banner, long", 9140, 30000.7, 5, 6, 7, 8, &code), 1);
    EXPECT_EQ(driver.DeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr), 4);
    PaperSize papers[4];
    driver.DeviceCapabilities(HT_DC_PAPERRECORDS, reinterpret_cast<char*>(papers), nullptr);
    EXPECT_STREQ(papers[0].szPaperName, "ISO A4");
    EXPECT_EQ(papers[3].nPaperID, 650);
    EXPECT_STREQ(papers[3].szPaperName, "Banner, long");
    EXPECT_EQ(papers[3].nPaperLength, 30000);
    EXPECT_EQ(papers[3].nLeftMargin, 5);
    EXPECT_EQ(papers[3].nRightMargin, 6);
    EXPECT_EQ(papers[3].nTopMargin, 7);
    EXPECT_EQ(papers[3].nBottomMargin, 8);

    config.Write("hpgl2.ini", "[P]\nPaperFile=no/such/folder/paper.ini\n");
    HPGL2Driver unwritable(nullptr, config.Ini().c_str(), "P");
    EXPECT_EQ(unwritable.AddPaper("X", 1, 1, 0, 0, 0, 0, &code), 0);
}

}  // namespace

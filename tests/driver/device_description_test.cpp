#include <gtest/gtest.h>

#include <cstring>

#include "driver/callback_table.h"
#include "driver/device_description.h"
#include "driver/hpgl2_driver.h"
#include "job/job_context.h"
#include "support/scratch_config.h"

namespace {

class DeviceDescription : public ::testing::Test {
protected:
    void SetUp() override {
        config.UseBundledPapers();
        config.Write("hpgl2.ini", "[P]\nPaperFile=paper.ini\n");
        driver = std::make_unique<HPGL2Driver>(nullptr, config.Ini().c_str(), "P");
        host.pDriver = driver.get();
        ASSERT_EQ(driver->Attach(&host), 1);
    }
    void TearDown() override { driver->Detach(&host); }
    void SetMargins(int left, int top, int right, int bottom) {
        driver->m_devmode.nMarginLeft = left;
        driver->m_devmode.nMarginTop = top;
        driver->m_devmode.nMarginRight = right;
        driver->m_devmode.nMarginBottom = bottom;
    }

    ScratchConfig config;
    std::unique_ptr<HPGL2Driver> driver;
    HostContext host{};
};

TEST_F(DeviceDescription, A4At300DpiCapabilities) {
    HPGL2DevMode& r = driver->m_devmode;
    SetMargins(50, 170, 50, 170);
    std::memcpy(&r.dmSaved, &r.dm, sizeof r.dm);
    const struct {
        int index, expected;
    } cases[] = {
        {HORZRES, 2362},
        {VERTRES, 3106},
        {PHYSICALWIDTH, 2480},
        {PHYSICALHEIGHT, 3507},
        {PHYSICALOFFSETX, 59},
        {PHYSICALOFFSETY, 200},
        {HORZSIZE, 200},
        {VERTSIZE, 263},
        {DRIVERVERSION, 1},
        {TECHNOLOGY, 511},
        {BITSPIXEL, 32},
        {PLANES, 3},
        {NUMBRUSHES, 255},
        {NUMPENS, 255},
        {NUMFONTS, 255},
        {NUMCOLORS, 255},
        {CLIPCAPS, 1},
        {LOGPIXELSX, 300},
        {LOGPIXELSY, 300},
        {179, 1},
        {180, 0},
        {1, 0},
        {-5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host.pCallbacks->GetDeviceCaps(&host, c.index), c.expected) << c.index;
}

TEST_F(DeviceDescription, CapabilitiesFollowPrintQualityAndCustomPaper) {
    HPGL2DevMode& r = driver->m_devmode;
    r.dm.dmPrintQuality = 0;  // counts as 300
    r.dm.dmYResolution = 0;
    std::memcpy(&r.dmSaved, &r.dm, sizeof r.dm);
    EXPECT_EQ(GetDeviceCaps(&host, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(&host, LOGPIXELSY), 300);
    // The custom paper (code 0) measures the public width and length.
    r.dm.dmPaperSize = 0;
    r.dm.dmPaperWidth = 1000;
    r.dm.dmPaperLength = 2000;
    EXPECT_EQ(GetDeviceCaps(&host, PHYSICALWIDTH), 1181);   // 100 mm at 300 dpi: 1181.1
    EXPECT_EQ(GetDeviceCaps(&host, PHYSICALHEIGHT), 2362);  // 200 mm: 2362.2
}

TEST_F(DeviceDescription, CapabilitiesRefreshThePaperFirst) {
    HPGL2DevMode& r = driver->m_devmode;
    r.dm.dmPaperSize = 8;  // ISO A3 in the bundled list, not yet applied
    EXPECT_EQ(GetDeviceCaps(&host, PHYSICALWIDTH), 3507);  // 297 mm at 300 dpi: 3507.9
    EXPECT_EQ(r.nPaperCode, 8);
}

TEST_F(DeviceDescription, DescribeDeviceAndPageGeometryOnA4) {
    SetMargins(50, 170, 50, 170);
    DescribeDevice(&host);
    EXPECT_EQ(host.nPaperWidthMM, 210);
    EXPECT_EQ(host.nPaperLengthMM, 297);
    EXPECT_EQ(host.nDeviceWidthMM, 200);   // 210 - 5 - 5
    EXPECT_EQ(host.nDeviceHeightMM, 263);  // 297 - 17 - 17
    EXPECT_EQ(host.nDeviceWidthPx, 2363);  // trunc(300 * 200 / 25.4 + 1.5)
    EXPECT_EQ(host.nDeviceHeightPx, 3107);
    EXPECT_EQ(host.nOffsetXMM, 5);
    EXPECT_EQ(host.nOffsetYMM, 17);
    EXPECT_EQ(host.nResolutionStep, 2);
    EXPECT_EQ(host.bPenColorSwitch, 1);
    EXPECT_EQ(host.nConst244, 255);
    EXPECT_EQ(host.nConst300, 256);
    EXPECT_STREQ(host.pszDeviceName, "HPGL2");
    EXPECT_STREQ(host.pszRevision, "$Revision: 1.2 $");
    EXPECT_STREQ(host.pszDeviceDescription, "HPGL2 device");
    EXPECT_EQ(JobOf(&host)->m_nResolution, 300);
    ComputePageGeometry(&host);
    JobContext* job = JobOf(&host);
    EXPECT_DOUBLE_EQ(job->m_dPlotWidth, 200.0);
    EXPECT_DOUBLE_EQ(job->m_dPlotLength, 263.0);
    EXPECT_EQ(host.nPageWidthMM, 200);
    EXPECT_EQ(host.nPageHeightMM, 263);
    EXPECT_EQ(host.nPageWidthPx, 2363);
    EXPECT_EQ(host.nPageHeightPx, 3107);

    // Landscape A4: the pixel sizes are swapped so that width <= height.
    driver->m_devmode.nPaperWidth = 2970;
    driver->m_devmode.nPaperLength = 2100;
    DescribeDevice(&host);
    ComputePageGeometry(&host);
    EXPECT_DOUBLE_EQ(job->m_dPlotWidth, 287.0);
    EXPECT_DOUBLE_EQ(job->m_dPlotLength, 176.0);
    EXPECT_EQ(host.nPageWidthPx, 2080);   // trunc(300 * 176 / 25.4 + 1.5)
    EXPECT_EQ(host.nPageHeightPx, 3391);  // trunc(300 * 287 / 25.4 + 1.5)
    EXPECT_EQ(host.nPageWidthMM, 176);
    EXPECT_EQ(host.nPageHeightMM, 287);

    // No margins: the page never holds more pixels than the sheet.
    SetMargins(0, 0, 0, 0);
    DescribeDevice(&host);
    ComputePageGeometry(&host);
    EXPECT_EQ(host.nPageWidthPx, 2480);  // trunc(300 * 210 / 25.4 + 0.001)
    EXPECT_EQ(host.nPageHeightPx, 3507);
}

TEST_F(DeviceDescription, DegenerateSheets) {
    struct Case {
        int width, length, left, top;  // tenths of a millimetre
        int widthMM, lengthMM;         // printable, device description
    };
    const Case cases[] = {
        {0, 0, 0, 0, 17, 22},                // works on 17.5 x 22.0 mm
        {0, 0, 100, 100, 2, 2},              // 10 + 10 > 17.5: each becomes 17.5 - 10
        {1000, 1000, 600, 600, 20, 20},      // margins wider than half the sheet
        {1000, 1000, 500, 500, 0, 0},        // margins meet: 0.1 mm is given back (below)
        {1000, 1000, 1500, 1500, 100, 100},  // each margin wider than the sheet: both 0
        {1000, 1000, -50, -50, 100, 100},    // negative margins count as 0
        {4, 2000, 0, 0, 1, 200},             // a side below 1 mm is raised to 1
    };
    for (const Case& c : cases) {
        driver->m_devmode.nPaperWidth = c.width;
        driver->m_devmode.nPaperLength = c.length;
        SetMargins(c.left, c.top, c.left, c.top);
        DescribeDevice(&host);
        EXPECT_EQ(host.nDeviceWidthMM, c.widthMM) << c.width << "x" << c.length;
        EXPECT_EQ(host.nDeviceHeightMM, c.lengthMM) << c.width << "x" << c.length;
        EXPECT_GE(host.nDeviceWidthPx, 1);
        EXPECT_GE(host.nDeviceHeightPx, 1);
        ComputePageGeometry(&host);
        EXPECT_GE(host.nPageWidthPx, 0);
        EXPECT_LE(host.nPageWidthPx, host.nPageHeightPx);
    }
}

// When the margins leave nothing, 0.1 mm steps are taken off them in single
// precision until at least 0.1 mm is printable. A 2 mm sheet with 1 mm
// margins: 1 - 0.1f = 0.89999998, 2 - 0.89999998 - 1 = 0.10000002, one step;
// trunc(300 * 0.10000002 / 25.4 + 1.5) = trunc(2.68) = 2 pixels, where a
// printable width of 0 would give 1.
TEST_F(DeviceDescription, MeetingMarginsLeaveOneStepPrintable) {
    driver->m_devmode.nPaperWidth = 20;
    driver->m_devmode.nPaperLength = 20;
    SetMargins(10, 10, 10, 10);
    DescribeDevice(&host);
    EXPECT_EQ(host.nDeviceWidthPx, 2);
    EXPECT_EQ(host.nDeviceHeightPx, 2);
    EXPECT_EQ(host.nDeviceWidthMM, 0);
    ComputePageGeometry(&host);
    EXPECT_EQ(host.nPageWidthPx, 2);
    EXPECT_EQ(host.nPageHeightPx, 2);
}

// A float cannot take 0.1 off a margin of 2^22 mm: the fitting must still
// end. 83886080 tenths = 8388608 mm with margins of 4194304 mm: the first
// margin drops to the next float below, 4194303.5, leaving 0.5 mm:
// two float steps below (0.25, then 0.5 below 2^22) leave 0.5 mm:
// trunc(300 * 0.5 / 25.4 + 1.5) = trunc(7.4) = 7 pixels. A sheet of 2^31-1
// tenths (214748365 mm, a float of 214748368) with margins of 107374182 mm
// (a float of 107374184) ends the same way, one float step (8 mm) off the
// first margin: trunc(300 * 8 / 25.4 + 1.5) = 95 pixels.
TEST_F(DeviceDescription, HugeSheetsWithMeetingMarginsEnd) {
    struct Case {
        int tenths, margin;
        LONG widthPx;
    };
    const Case cases[] = {
        {83886080, 41943040, 7},
        {2147483647, 1073741820, 95},
    };
    for (const Case& c : cases) {
        driver->m_devmode.nPaperWidth = c.tenths;
        driver->m_devmode.nPaperLength = 2970;
        SetMargins(c.margin, 0, c.margin, 0);
        DescribeDevice(&host);
        EXPECT_EQ(host.nDeviceWidthPx, c.widthPx) << c.tenths;
        ComputePageGeometry(&host);
        EXPECT_EQ(host.nPageWidthPx, c.widthPx) << c.tenths;
    }
}

TEST_F(DeviceDescription, ResolutionStepAtLowResolution) {
    driver->m_devmode.dm.dmPrintQuality = 100;
    DescribeDevice(&host);
    EXPECT_EQ(host.nResolutionStep, 0);
    ComputePageGeometry(&host);
    EXPECT_EQ(host.nResolutionStep, 1);
}

}  // namespace

// A page rendered in the computer is the same plot, byte for byte, whatever
// the number of render threads and the height of the bands: a pixel's colour
// never depends on where a band begins, and the rows are coded the same way
// whichever thread codes them.
#include <gtest/gtest.h>

#include <afxmt.h>

#include <string>
#include <vector>

#include <windows.h>

#include "render/render_page_to_raster.h"
#include "support/job_harness.h"
#include "support/test_files.h"

namespace {

// The plot of one page of the drawing, on A4 at dpi in colour.
std::string PlotOf(const std::string& drawing, int dpi) {
    JobHarness h("EMFSPOOLING=1\nCOLOR=1\n");
    h.driver->m_devmode.dm.dmPrintQuality = static_cast<short>(dpi);
    EXPECT_EQ(h.Start(), 1);
    h.TakeBytes();
    HENHMETAFILE metafile =
        GetEnhMetaFileA((std::string(HPGL2_TEST_DATA_DIR "/") + drawing).c_str());
    EXPECT_NE(metafile, nullptr) << drawing;
    CEvent event(FALSE, FALSE, nullptr, nullptr);
    EXPECT_EQ(RenderPageToRaster(&h.host, metafile, "page", nullptr, nullptr, &event), 1)
        << drawing;
    DeleteEnhMetaFile(metafile);
    return h.TakeBytes();
}

TEST(PageBytes, SameWhateverTheThreadsAndTheBandHeights) {
    struct Drawing {
        const char* file;
        int dpi;
    };
    // Lines, hatches, a clip path and a bitmap; curves filled and stroked
    // with mitred joins; LibreOffice's text in Latin and CJK faces.
    const Drawing drawings[] = {{"cadplan.emf", 60}, {"tiger.emf", 60}, {"text_latin_cjk.emf", 60}};
    for (const Drawing& d : drawings) {
        std::string expected;
        {
            ScopedEnv threads("PXR_RIP_THREADS", "1");
            expected = PlotOf(d.file, d.dpi);
        }
        ASSERT_GT(expected.size(), 1000u) << d.file;
        for (const char* threads : {"1", "2", "3", "8"})
            for (const char* rows : {"1", "7", "13", "83"}) {
                ScopedEnv t("PXR_RIP_THREADS", threads);
                ScopedEnv r("PXR_RIP_BAND_ROWS", rows);
                const std::string plot = PlotOf(d.file, d.dpi);
                ASSERT_EQ(plot.size(), expected.size())
                    << d.file << ", " << threads << " threads, bands of " << rows << " rows";
                EXPECT_TRUE(plot == expected)
                    << d.file << ", " << threads << " threads, bands of " << rows
                    << " rows: first difference at byte "
                    << std::mismatch(plot.begin(), plot.end(), expected.begin()).first -
                           plot.begin();
            }
    }
}

}  // namespace

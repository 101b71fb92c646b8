// Whole pages rendered in the computer, end to end through plothost: the
// page shows the drawing as the vector plot of the same drawing does, and a
// page that is not rendered leaves no plot behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "picture/image_compare.h"
#include "plothost_run.h"
#include "reader/plot_reader.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string TestData(const char* name) {
    return std::string(HPGL2_TEST_DATA_DIR) + "/" + name;
}

// The bundled plotters: the first draws vectors; "DesignJet 750C Raster"
// (the second, named by its configuration) is the same plotter rendering
// whole pages in the computer.
constexpr const char* kVector = "--driver 1";
constexpr const char* kInComputer = "--driver 'DesignJet 750C Raster'";

TEST(WholePagePlot, PageMatchesTheVectorPlotOfTheSameDrawing) {
    struct Case {
        std::string drawing;
        const char* dpi;
    };
    const Case cases[] = {
        {TestData("cadplan.emf"), "150"},              // lines, fills, text, a picture
        {TestData("text_latin_cjk.emf"), "150"},     // text in three scripts
        {TestData("lo_bitmaps.emf"), "100"},         // three pictures
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const PlothostRun vector = RunPlothostIn(
            dir, "plot " + c.drawing + " " + kVector + " --dpi " + c.dpi + " -o vector.plt");
        ASSERT_EQ(vector.status, 0) << vector.errors;
        const PlothostRun page = RunPlothostIn(
            dir, "plot " + c.drawing + " " + kInComputer + " --dpi " + c.dpi + " -o page.plt");
        ASSERT_EQ(page.status, 0) << page.errors;
        EXPECT_NE(page.errors.find("rendering the page in the computer"), std::string::npos)
            << page.errors;

        const plot::PlotRendering v = plot::RenderPlotFile(dir.path() + "/vector.plt");
        const plot::PlotRendering p = plot::RenderPlotFile(dir.path() + "/page.plt");
        ASSERT_TRUE(v.ok) << v.error;
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.summary.rasters, 1u) << c.drawing;
        const plot::ImageComparison cmp =
            plot::CompareImages(plot::FirstPage(p), plot::FirstPage(v));
        ASSERT_TRUE(cmp.ok) << cmp.error;
        EXPECT_GE(cmp.coverage, 0.97) << c.drawing << ": " << cmp.ToString();
        EXPECT_GE(cmp.precision, 0.97) << c.drawing << ": " << cmp.ToString();
        EXPECT_GE(cmp.colourCoverage, 0.9) << c.drawing << ": " << cmp.ToString();
    }
}

TEST(WholePagePlot, PageThatIsNotRenderedLeavesNoPlot) {
    struct Case {
        const char* what;
        std::string environment;
        const char* message;
    };
    const Case cases[] = {
        {"no render thread", "PXR_FAIL_THREAD_START=1", "could not start rendering the page"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const PlothostRun run = RunPlothostIn(
            dir, "plot " + TestData("cadplan.emf") + " " + kInComputer + " --dpi 100 -o page.plt",
            c.environment);
        EXPECT_EQ(run.status, 1) << c.what << ": " << run.errors;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.what << ": " << run.errors;
        EXPECT_FALSE(fs::exists(dir.path() + "/page.plt")) << c.what;
        EXPECT_FALSE(fs::exists(dir.path() + "/page.plt.tmp")) << c.what;
    }
}

}  // namespace

// Whole pages rendered in the computer, end to end through plothost: the
// page shows the drawing as the vector plot of the same drawing does, and a
// page that is not rendered leaves no plot behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <windows.h>

#include "picture/image_compare.h"
#include "plothost_run.h"
#include "reader/plot_reader.h"
#include "support/emf_builder.h"
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
        {TestData("cadplan.emf"), "150"},         // lines, fills, text, a picture
        {TestData("text_latin_cjk.emf"), "150"},  // text in three scripts
        {TestData("lo_bitmaps.emf"), "100"},      // three pictures
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

TEST(WholePagePlot, PageThatFailsToRenderLeavesNoPlot) {
    ScratchDir dir;
    // A drawing that selects an object it never made, half way down.
    EmfBuilder emf;
    emf.CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1);
    emf.Box(EMR_RECTANGLE, 100, 100, 900, 500).Select(77).Box(EMR_RECTANGLE, 100, 600, 900, 900);
    ASSERT_TRUE(WriteBytes(dir.path() + "/broken.emf", emf.Bytes()));
    const PlothostRun run = RunPlothostIn(
        dir, std::string("plot broken.emf ") + kInComputer + " --dpi 100 -o page.plt");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("the page was not plotted"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(dir.path() + "/page.plt"));
    EXPECT_FALSE(fs::exists(dir.path() + "/page.plt.tmp"));
}

// A page beyond the 32-bit coordinates of the drawing's metafile is refused
// in both modes, rather than plotted empty or built from overflowed values.
TEST(WholePagePlot, APageBeyondThirtyTwoBitCoordinatesIsRefusedInBothModes) {
    ScratchDir dir;
    EmfBuilder emf;
    emf.Device(0x7ffffffe, 0x7ffffffe, 100, 100).MoveTo(0, 0).LineTo(900, 900);
    ASSERT_TRUE(WriteBytes(dir.path() + "/huge_device.emf", emf.Bytes()));
    const std::string drawings[] = {"huge_device.emf", TestData("cadplan.emf") + " --scale 1e-6"};
    for (const std::string& drawing : drawings) {
        for (const char* mode : {kVector, kInComputer}) {
            const PlothostRun run =
                RunPlothostIn(dir, "plot " + drawing + " " + mode + " --dpi 100 -o page.plt");
            EXPECT_EQ(run.status, 1) << drawing << " " << mode << ": " << run.errors;
            EXPECT_NE(run.errors.find("beyond the 32-bit coordinates"), std::string::npos)
                << drawing << " " << mode << ": " << run.errors;
            EXPECT_FALSE(fs::exists(dir.path() + "/page.plt")) << drawing << " " << mode;
            EXPECT_FALSE(fs::exists(dir.path() + "/page.plt.tmp")) << drawing << " " << mode;
        }
    }
}

}  // namespace

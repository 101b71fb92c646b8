// Text of scripts that need shaping, end to end through plothost in both
// modes: text_scripts.emf (Arabic with a number inside the right-to-left
// line, Hebrew, Devanagari, Thai, a line mixing both directions), saved by
// LibreOffice Draw from text_scripts.fodg, against LibreOffice's own picture
// of the drawing.
#include <gtest/gtest.h>

#include <string>

#include "picture/image_compare.h"
#include "plothost_run.h"
#include "reader/plot_reader.h"
#include "support/test_files.h"

namespace {

TEST(ScriptText, BothModesMatchLibreOfficesPicture) {
    const std::string data = std::string(HPGL2_TEST_DATA_DIR) + "/";
    // The first bundled plotter draws vectors; "DesignJet 750C Raster" is
    // the same plotter rendering whole pages in the computer.
    for (const char* driver : {"--driver 1", "--driver 'DesignJet 750C Raster'"}) {
        ScratchDir dir;
        const PlothostRun run =
            RunPlothostIn(dir, "plot " + data + "text_scripts.emf " + driver + " -o text.plt");
        ASSERT_EQ(run.status, 0) << driver << ": " << run.errors;
        EXPECT_EQ(run.errors.find("skipped"), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find("not installed"), std::string::npos) << run.errors;
        const plot::PlotRendering rendering = plot::RenderPlotFile(dir.path() + "/text.plt", 2);
        ASSERT_TRUE(rendering.ok) << rendering.error;
        // The picture is 160 x 100 mm in 605 x 378 pixels; the plot's page
        // is the printable area of A4, 200 x 263 mm, from the same corner.
        plot::CompareOptions options;
        options.placement = {0, 0, 756, 994};
        const plot::ImageComparison c = plot::ComparePlotToReference(
            plot::FirstPage(rendering), data + "text_scripts.png", options);
        ASSERT_TRUE(c.ok) << c.error;
        const double f1 = 2 * c.coverage * c.precision / (c.coverage + c.precision);
        EXPECT_GE(f1, 0.97) << driver << ": " << c.ToString();
        EXPECT_EQ(c.inkOutsideReferenceBox, 0u) << driver << ": " << c.ToString();
    }
}

}  // namespace

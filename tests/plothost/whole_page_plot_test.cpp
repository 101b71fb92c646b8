// Whole pages rendered in the computer, end to end through plothost: a page
// that is not rendered leaves no plot behind. (Pages that are rendered show
// the drawing as its vector plot does: see both_modes_test.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <windows.h>

#include "plothost_run.h"
#include "support/emf_builder.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

// The bundled plotters: the first draws vectors; "DesignJet 750C Raster"
// (the second, named by its configuration) is the same plotter rendering
// whole pages in the computer.
constexpr const char* kVector = "--driver 1";
constexpr const char* kInComputer = "--driver 'DesignJet 750C Raster'";

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
    const std::string drawings[] = {"huge_device.emf", Sample("cadplan.emf") + " --scale 1e-6"};
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

// "plothost plot" end to end: the built host, the built module, the bundled
// configuration and the sample drawings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include <windows.h>
#include "support/emf_builder.h"
#include "picture/image_compare.h"
#include "reader/plot_reader.h"
#include "plothost_run.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

using Outcome = PlothostRun;

Outcome RunPlothost(const ScratchDir& dir, const std::string& arguments) {
    return RunPlothostIn(dir, arguments);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Sample(const char* name) {
    return std::string(HPGL2_TEST_DATA_DIR) + "/" + name;
}

TEST(PlotCommand, PlotsTheSampleDrawing) {
    ScratchDir dir;
    const Outcome run = RunPlothost(dir, "plot " + Sample("cadplan.emf") + " -o cadplan");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string plot = ReadWhole(dir.path() + "/cadplan.plt");
    // The HP-GL/2 frame of the job, from its start to the PJL end of job.
    EXPECT_EQ(plot.substr(0, 9), "\x1b%0BBP5,1");
    const std::string end = ";PUSP0PG;\x1b%-12345X@PJL EOJ ";
    ASSERT_GT(plot.size(), end.size());
    EXPECT_EQ(plot.substr(plot.size() - end.size()), end);
    EXPECT_FALSE(fs::exists(dir.path() + "/cadplan.plt.tmp"));
    // The drawing itself: pens, encoded polylines, filled polygons.
    EXPECT_TRUE(Contains(plot, "PE"));
    EXPECT_TRUE(Contains(plot, "PM2FP"));
    // The embedded picture: a raster placed at its corner.
    EXPECT_TRUE(Contains(plot, "\x1b*r3A"));
    // The summary: the name given gained ".plt"; every record is played.
    EXPECT_TRUE(Contains(run.errors, "the plot file is named cadplan.plt")) << run.errors;
    EXPECT_TRUE(Contains(run.errors, "plothost: 1690 records played\n")) << run.errors;
    EXPECT_FALSE(Contains(run.errors, "skipped")) << run.errors;
    EXPECT_TRUE(Contains(
        run.errors, "plothost: " + std::to_string(plot.size()) + " bytes written to cadplan.plt\n"))
        << run.errors;
}

// The plot, read back by the test tree's own reader, against the picture
// Inkscape rendered from the same drawing: in place, nothing outside it.
TEST(PlotCommand, SampleDrawingMatchesItsPicture) {
    ScratchDir dir;
    const Outcome run = RunPlothost(dir, "plot " + Sample("cadplan.emf") + " -o cadplan.plt");
    ASSERT_EQ(run.status, 0) << run.errors;
    const plot::PlotRendering rendering = plot::RenderPlotFile(dir.path() + "/cadplan.plt", 2);
    ASSERT_TRUE(rendering.ok) << rendering.error;
    // The reader names the raster set-up modes "\ev1N" and "\ev1O", which
    // these plotters take without the asterisk; nothing else.
    for (const std::string& warning : rendering.warnings)
        EXPECT_TRUE(Contains(warning, "\"\\ev1")) << warning;
    plot::CompareOptions options;
    // The drawing was fitted to the printable width, so the page's width is
    // the picture's (827 pixels); the page runs on below the picture.
    options.placement = {0, 0, 827, 1088};
    const plot::ImageComparison c =
        plot::ComparePlotToReference(plot::FirstPage(rendering), Sample("cadplan.png"), options);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_GE(c.precision, 0.99) << c.ToString();
    EXPECT_EQ(c.inkOutsideReferenceBox, 0u) << c.ToString();
    // The lines, fills and the embedded picture, in their colours.
    EXPECT_GE(c.coverage, 0.99) << c.ToString();
    EXPECT_GE(c.colourCoverage, 0.90) << c.ToString();
    EXPECT_LE(c.meanColourError, 12.0) << c.ToString();
    EXPECT_LE(std::abs(c.plotBox.left - c.referenceBox.left), 2) << c.ToString();
    EXPECT_LE(std::abs(c.plotBox.top - c.referenceBox.top), 2) << c.ToString();
    EXPECT_LE(std::abs(c.plotBox.right - c.referenceBox.right), 2) << c.ToString();
    EXPECT_LE(std::abs(c.plotBox.bottom - c.referenceBox.bottom), 2) << c.ToString();
}

TEST(PlotCommand, SaveAsAndResolution) {
    ScratchDir dir;
    const Outcome at300 =
        RunPlothost(dir, "plot " + Sample("tiger.emf") + " --save-as tiger300.plt");
    ASSERT_EQ(at300.status, 0) << at300.errors;
    const Outcome at600 =
        RunPlothost(dir, "plot " + Sample("tiger.emf") + " -o tiger600.plt --dpi 600 --driver 1");
    ASSERT_EQ(at600.status, 0) << at600.errors;
    const std::string plot300 = ReadWhole(dir.path() + "/tiger300.plt");
    const std::string plot600 = ReadWhole(dir.path() + "/tiger600.plt");
    ASSERT_FALSE(plot300.empty());
    // Twice the pixels: larger coordinates and finer curves.
    EXPECT_GT(plot600.size(), plot300.size());
    EXPECT_FALSE(Contains(at600.errors, "named")) << at600.errors;
}

TEST(PlotCommand, MalformedMetafilesLeaveNoFile) {
    ScratchDir dir;
    // An object index past the table: found while playing, after the job
    // has started.
    EmfBuilder emf;
    emf.Handles(4).MoveTo(0, 0).LineTo(100, 100).Select(9).LineTo(200, 0);
    ASSERT_TRUE(WriteBytes(dir.path() + "/bad_index.emf", emf.Bytes()));
    // The sample cut short: refused before the job starts.
    const std::string sample = ReadWhole(Sample("cadplan.emf"));
    ASSERT_TRUE(WriteBytes(dir.path() + "/cut.emf",
                           std::vector<BYTE>(sample.begin(), sample.begin() + 20000)));
    struct Case {
        const char* file;
        const char* message;
    } cases[] = {
        {"bad_index.emf", "record 3 (EMR_SELECTOBJECT): object index 9 is out of range"},
        {"cut.emf", "cut.emf: "},
        {"missing.emf", "missing.emf: "},
    };
    for (const Case& c : cases) {
        const Outcome run = RunPlothost(dir, std::string("plot ") + c.file + " -o out.plt");
        EXPECT_EQ(run.status, 1) << c.file << ": " << run.errors;
        EXPECT_TRUE(Contains(run.errors, c.message)) << c.file << ": " << run.errors;
        EXPECT_FALSE(fs::exists(dir.path() + "/out.plt")) << c.file;
        EXPECT_FALSE(fs::exists(dir.path() + "/out.plt.tmp")) << c.file;
    }
}

TEST(PlotCommand, RefusalsAndCommandLineMistakes) {
    ScratchDir dir;
    struct Case {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"plot " + Sample("cadplan.emf"), 2, "plot needs -o FILE"},
        {"plot " + Sample("cadplan.emf") + " -o x --fit --scale 2", 2, "exclude each other"},
        {"plot " + Sample("cadplan.emf") + " -o x --driver 'No such plotter'", 1,
         "no plotter named"},
        {"plot " + Sample("cadplan.emf") + " -o " + "/no/such/folder/x", 1, "cannot create"},
    };
    for (const Case& c : cases) {
        const Outcome run = RunPlothost(dir, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.errors;
        EXPECT_TRUE(Contains(run.errors, c.message)) << c.arguments << ": " << run.errors;
        EXPECT_FALSE(fs::exists(dir.path() + "/x.plt")) << c.arguments;
    }
}

}  // namespace

// A drawing with words in Latin, Chinese and Japanese (several faces, bold,
// italic, underlined, turned by 30 degrees), saved as EMF by LibreOffice
// Draw from text_latin_cjk.fodg, against LibreOffice's own PNG of it: the
// words are plotted as filled outlines where the picture has them.
TEST(PlotCommand, TextDrawingMatchesItsPicture) {
    ScratchDir dir;
    // LibreOffice counts one record fewer in the header than it writes: the
    // file is plotted as it is, and the summary says so.
    const Outcome run = RunPlothost(dir, "plot " + Sample("text_latin_cjk.emf") + " -o text.plt");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Contains(run.errors, "header counts")) << run.errors;
    EXPECT_FALSE(Contains(run.errors, "skipped")) << run.errors;
    const plot::PlotRendering rendering = plot::RenderPlotFile(dir.path() + "/text.plt", 2);
    ASSERT_TRUE(rendering.ok) << rendering.error;
    plot::CompareOptions options;
    // The picture is 160 x 100 mm in 605 x 378 pixels; the plot's page is
    // the printable area of A4, 200 x 263 mm, from the same corner.
    options.placement = {0, 0, 756, 994};
    const plot::ImageComparison c = plot::ComparePlotToReference(
        plot::FirstPage(rendering), Sample("text_latin_cjk.png"), options);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_GE(c.coverage, 0.98) << c.ToString();
    EXPECT_GE(c.precision, 0.98) << c.ToString();
    EXPECT_GE(c.colourCoverage, 0.80) << c.ToString();
    EXPECT_LE(c.meanColourError, 30) << c.ToString();
    EXPECT_EQ(c.inkOutsideReferenceBox, 0u) << c.ToString();
}

namespace {

// Three pictures (RGB, a 4-colour palette, grey) in a drawing saved as EMF
// and as PNG by LibreOffice Draw from lo_bitmaps.fodg: the plot of the
// metafile as it is (its header miscounts its records) against the PNG.
TEST(PlotCommand, LibreOfficeBitmapsMatchTheirPicture) {
    ScratchDir dir;
    const Outcome run = RunPlothost(dir, "plot " + Sample("lo_bitmaps.emf") + " -o pictures.plt");
    ASSERT_EQ(run.status, 0) << run.errors;
    const plot::PlotRendering rendering = plot::RenderPlotFile(dir.path() + "/pictures.plt", 3);
    ASSERT_TRUE(rendering.ok) << rendering.error;
    plot::CompareOptions options;
    options.placement = {37, 38, 797, 1048};
    // The picture is LibreOffice's drawing; the metafile's frame ends short
    // of its right edge, and what lies beyond the frame is not plotted, as
    // metafile viewers do not show it: the reference is compared within it.
    plot::Image reference;
    std::string error;
    ASSERT_TRUE(plot::LoadPng(Sample("lo_bitmaps.png"), &reference, &error)) << error;
    const std::string emf = ReadWhole(Sample("lo_bitmaps.emf"));
    ASSERT_GE(emf.size(), 40u);
    RECTL frame;
    std::memcpy(&frame, emf.data() + 24, sizeof frame);
    const int frameRight = 37 + static_cast<int>((frame.right - frame.left) / 2540.0 * 96 + 0.5);
    ASSERT_LT(frameRight, reference.width);
    for (int y = 0; y < reference.height; ++y)
        for (int x = frameRight + 1; x < reference.width; ++x) reference.At(x, y) = 0xFFFFFF;
    const plot::ImageComparison c =
        plot::CompareImages(plot::FirstPage(rendering), reference, options);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_GE(c.coverage, 0.99) << c.ToString();
    EXPECT_GE(c.precision, 0.99) << c.ToString();
    EXPECT_GE(c.colourCoverage, 0.95) << c.ToString();
    EXPECT_LE(c.meanColourError, 5.0) << c.ToString();
}

}  // namespace

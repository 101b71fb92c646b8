// plotview on the command line: pictures, the job's report, bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/info_report.h"
#include "cli/run_plotview.h"
#include "picture/plot_image.h"
#include "plotview/plot_bytes.h"
#include "support/test_files.h"

namespace {

using namespace plotbytes;
using plot::Rgb;

struct ViewRun {
    int status = 0;
    std::string out;
    std::string err;
};

ViewRun Plotview(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    ViewRun run;
    run.status = plotview::RunPlotview(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A red line 0.5 mm wide from (100, 100) to (300, 100) device pixels at
// 300 dpi on a plot of 4000 x 2000 plotter units turned by "RO90": 50 mm
// across and 100 mm down, 591 x 1182 pixels.
const std::string kLine =
    "NP256PC1,255,0,0SP1PW0.5" + Pe().MoveAbsolute(100, 100).Draw(300, 100).Text();
const std::string kPlot = Header() + kLine + kEnd;

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

TEST(PlotviewCommand, RendersThePlotAtTheAskedResolution) {
    ScratchDir dir;
    const std::string plt = dir.Write("line.plt", kPlot);
    const struct {
        const char* dpi;
        int width, height;  // pixels: the page at 300 dpi is 591 x 1182
        int x, y;           // a pixel of the line
    } cases[] = {
        {"300", 591, 1182, 200, 100},
        {"150", 296, 591, 100, 50},
        // The page is whole device pixels of the plot first, then doubled.
        {"600", 1182, 2364, 400, 201},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const std::string png = dir.path() + "/line-" + c.dpi + ".png";
        const ViewRun run = Plotview({plt, "-o", png, "--dpi", c.dpi});
        ASSERT_EQ(run.status, 0) << run.err;
        plot::Image image;
        std::string error;
        ASSERT_TRUE(plot::LoadPng(png, &image, &error)) << error;
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.At(c.x, c.y), Rgb(255, 0, 0));
        EXPECT_EQ(image.At(c.x, c.y + c.height / 4), 0xFFFFFFu);
        EXPECT_FALSE(Exists(png + ".tmp"));
    }
}

TEST(PlotviewCommand, EveryPageGetsItsPicture) {
    ScratchDir dir;
    const std::string twoPages = Header() + kLine + "PG;" + Header() + kLine + kEnd;
    const std::string plt = dir.Write("two.plt", twoPages);
    const ViewRun run = Plotview({plt, "-o", dir.path() + "/two.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Exists(dir.path() + "/two.png"));
    EXPECT_TRUE(Exists(dir.path() + "/two-2.png"));
    EXPECT_FALSE(Exists(dir.path() + "/two-3.png"));
    EXPECT_EQ(plotview::PagePath("out/a.b/pic", 2), "out/a.b/pic-3");
    EXPECT_EQ(plotview::PagePath("pic.png", 0), "pic.png");
}

TEST(PlotviewCommand, LinksAreWrittenThroughNotReplaced) {
    // "/dev/stdout" is such a link: renaming a picture over it would
    // replace the link itself.
    ScratchDir dir;
    const std::string plt = dir.Write("line.plt", kPlot);
    const std::string real = dir.Write("real.png", "old");
    const std::string link = dir.path() + "/link.png";
    std::filesystem::create_symlink(real, link);
    const ViewRun run = Plotview({plt, "-o", link, "--dpi", "20"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    plot::Image image;
    std::string error;
    EXPECT_TRUE(plot::LoadPng(real, &image, &error)) << error;
    EXPECT_FALSE(Exists(link + ".tmp"));
    // The summary goes with the warnings then, not into the picture.
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("commands="), std::string::npos) << run.err;
}

// A comparison that cannot be made, or a picture that cannot be written,
// leaves none of the run's pictures behind.
TEST(PlotviewCommand, PicturesOfOneRunComeWholeOrNotAtAll) {
    ScratchDir dir;
    const std::string plt = dir.Write("line.plt", kPlot);
    const std::string png = dir.path() + "/line.png";
    ASSERT_EQ(Plotview({plt, "-o", dir.path() + "/reference.png", "--dpi", "20"}).status, 0);
    const struct {
        const char* what;
        std::vector<std::string> extra;
        const char* message;
    } cases[] = {
        {"a missing reference", {"--compare", dir.path() + "/none.png"}, "cannot read"},
        {"a difference into a missing folder",
         {"--compare", dir.path() + "/reference.png", "--diff", dir.path() + "/no/diff.png"},
         "no/diff.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {plt, "-o", png, "--dpi", "20"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ViewRun run = Plotview(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE((run.out + run.err).find(c.message), std::string::npos) << run.out << run.err;
        EXPECT_FALSE(Exists(png));
        EXPECT_FALSE(Exists(png + ".tmp"));
    }
}

TEST(PlotviewCommand, FilesThatAreNotPlotsAreRefusedAndNothingIsWritten) {
    ScratchDir dir;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"text", "hello, plotter\n"},
        {"a PNG picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"a metafile", std::string("\x01\0\0\0\x6c\0\0\0", 8)},
        {"empty", ""},
        {"job control alone", ESC "%-12345X@PJL JOB\r\n@PJL EOJ\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string input = dir.Write("input.plt", c.bytes);
        const std::string png = dir.path() + "/input.png";
        ViewRun run = Plotview({input, "-o", png});
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("is not an HP-GL/2 or HP RTL plot"), std::string::npos) << run.err;
        EXPECT_FALSE(Exists(png));
        EXPECT_FALSE(Exists(png + ".tmp"));
        run = Plotview({"--info", input});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
    }
    const ViewRun missing = Plotview({dir.path() + "/none.plt", "-o", dir.path() + "/none.png"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
    EXPECT_FALSE(Exists(dir.path() + "/none.png"));
}

TEST(PlotviewCommand, PlotCutShortIsDrawnUpToWhereItEnds) {
    ScratchDir dir;
    // A second line follows the first; the file ends inside the second's
    // "PE" data, inside a raster row's data, or inside an escape sequence.
    const std::string second = "PE<=" + Number(100) + Number(400) + Number(200) + Number(0);
    const std::string raster =
        ";PUPA10,10" ESC "%1A" ESC "*r8S" ESC "*t300R" ESC "*r1A" ESC "*b0M" ESC "*b4W\xff";
    const struct {
        const char* what;
        std::string bytes;
        bool secondLine;  // its first segment was read whole
    } cases[] = {
        {"inside PE data", Header() + kLine + second + Number(5).substr(0, 1), true},
        {"inside a raster row", Header() + kLine + raster, false},
        {"inside an escape sequence", Header() + kLine + ESC "%1", false},
        {"inside an instruction", Header() + kLine + "P", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string plt = dir.Write("cut.plt", c.bytes);
        const std::string png = dir.path() + "/cut.png";
        std::filesystem::remove(png);
        const ViewRun run = Plotview({plt, "-o", png, "--dpi", "300"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("warning: the plot is cut short"), std::string::npos) << run.err;
        plot::Image image;
        std::string error;
        ASSERT_TRUE(plot::LoadPng(png, &image, &error)) << error;
        EXPECT_EQ(image.At(200, 100), Rgb(255, 0, 0));
        // The second line runs from (100, 400) to (300, 400).
        EXPECT_EQ(image.At(200, 400), c.secondLine ? Rgb(255, 0, 0) : 0xFFFFFFu);
        const ViewRun info = Plotview({"--info", plt});
        EXPECT_EQ(info.status, 0);
        EXPECT_NE(info.out.find("lines: " + std::string(c.secondLine ? "2" : "1") + "\n"),
                  std::string::npos)
            << info.out;
        EXPECT_NE(info.out.find("warning: the plot is cut short: "), std::string::npos) << info.out;
    }
}

TEST(PlotviewCommand, UnknownInstructionsAreSkippedUnlessStrict) {
    ScratchDir dir;
    const std::string plt = dir.Write("unknown.plt", Header() + "ZZ1,2;" + kLine + kEnd);
    const std::string png = dir.path() + "/unknown.png";
    ViewRun run = Plotview({plt, "-o", png, "--dpi", "300"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("unknown HP-GL/2 instruction \"ZZ1,2\" skipped"), std::string::npos)
        << run.err;
    plot::Image image;
    std::string error;
    ASSERT_TRUE(plot::LoadPng(png, &image, &error)) << error;
    EXPECT_EQ(image.At(200, 100), Rgb(255, 0, 0));

    // Strict: the reading stops there; nothing was drawn, so no page.
    std::filesystem::remove(png);
    run = Plotview({plt, "-o", png, "--strict"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("error: unknown HP-GL/2 instruction in ZZ1,2 at byte"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(Exists(png));
}

TEST(PlotviewCommand, InfoTellsWhatTheJobHolds) {
    ScratchDir dir;
    // One bit per pixel: the configuration leaves the pens a palette of
    // white and black, and widths of 0.35 mm.
    const std::string raster = ";PUPA10,10" ESC "%1A" ESC "*r8S" ESC "*t300R" ESC "*v6W" +
                               std::string("\0\1\1\0\0\0", 6) +
                               ESC "*r1A" ESC "*b0M" ESC "*b1W\xff" ESC "*rC" ESC "%0B";
    const std::string plt = dir.Write(
        "info.plt", Header() + kLine + raster + "PC1,0,0,255" +
                        Polygon({{400, 400}, {500, 400}, {500, 500}}) + "FP" + "ZZ;" + kEnd);
    const ViewRun run = Plotview({"--info", plt, "--dpi", "300"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& t = run.out;
    for (const std::string& line : {
             "file: " + plt + " (",
             std::string("plot size: 50.0 x 100.0 mm (rotation 90)\n"),
             std::string("resolution: 300 dpi\n"),
             std::string("pages: 1\n"),
             std::string("pens: 2\n"),
             std::string("  pen 1: #FF0000, 0.50 mm, 1 use\n"),
             // After the raster: blue, at the width the raster left, 0.35 mm.
             std::string("  pen 1: #0000FF, 0.35 mm, 1 use\n"),
             std::string("lines: 1\n"),
             std::string("fills: 1\n"),
             std::string("rasters: 1 (1 rows)\n"),
             std::string("warning: unknown HP-GL/2 instruction \"ZZ\" skipped"),
         })
        EXPECT_NE(t.find(line), std::string::npos) << line << "\nin:\n" << t;
    // Ink from the raster's corner (10, 10) to the triangle's far corner
    // (500, 500), device pixels of 25.4 / 300 mm: 0.85 to 42.3 mm. The
    // fill covers the pixels whose centres lie inside: its last is 499.
    const size_t at = t.find("ink: ");
    ASSERT_NE(at, std::string::npos) << t;
    double left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_EQ(
        std::sscanf(t.c_str() + at, "ink: %lf,%lf to %lf,%lf mm", &left, &top, &right, &bottom), 4)
        << t;
    const double px = 25.4 / 300;
    EXPECT_NEAR(left, 10 * px, px);
    EXPECT_NEAR(top, 10 * px, px);
    EXPECT_NEAR(right, 500 * px, px);
    EXPECT_NEAR(bottom, 500 * px, px);
}

TEST(PlotviewCommand, InkBoxInMillimetresCountsWholePixels) {
    plot::PlotSummary summary;
    summary.pictureDpi = 254;  // 0.1 mm a pixel
    summary.ink = plot::InkBox{10, 20, 109, 219};
    const plotview::InkBoxMm box = plotview::InkInMillimetres(summary);
    EXPECT_FALSE(box.empty);
    EXPECT_DOUBLE_EQ(box.left, 1.0);
    EXPECT_DOUBLE_EQ(box.top, 2.0);
    EXPECT_DOUBLE_EQ(box.right, 11.0);
    EXPECT_DOUBLE_EQ(box.bottom, 22.0);
    summary.ink = plot::InkBox{};
    EXPECT_TRUE(plotview::InkInMillimetres(summary).empty);
}

TEST(PlotviewCommand, BadArgumentsAreRefused) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "no plot file given"},
        {{"a.plt"}, "no picture to write"},
        {{"a.plt", "-o"}, "-o needs a file name"},
        {{"a.plt", "-o", "a.png", "--dpi", "0"}, "--dpi needs a whole number from 1 to 2400"},
        {{"a.plt", "-o", "a.png", "--dpi", "2401"}, "--dpi needs"},
        {{"a.plt", "-o", "a.png", "--dpi", "3x"}, "--dpi needs"},
        {{"a.plt", "-o", "a.png", "--turn", "4"}, "--turn needs 0, 1, 2 or 3"},
        {{"a.plt", "-o", "a.png", "--place", "0", "0", "0", "5"}, "--place needs"},
        {{"a.plt", "-o", "a.png", "--bogus"}, "unknown option --bogus"},
        {{"a.plt", "b.plt", "-o", "a.png"}, "one plot file at a time"},
        {{"--info", "a.plt", "-o", "a.png"}, "--info writes no picture"},
        {{"a.plt", "-o", "a.png", "--diff", "d.png"}, "--diff needs --compare"},
        {{"a.plt", "-o", "a.png", "--turn", "1"}, "--turn needs --compare"},
        {{"a.plt", "-o", "a.png", "--place", "0", "0", "5", "5"}, "--place needs --compare"},
        {{"--info", "a.plt", "--compare", "r.png"}, "--info compares nothing"},
    };
    for (const auto& c : cases) {
        const ViewRun run = Plotview(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace

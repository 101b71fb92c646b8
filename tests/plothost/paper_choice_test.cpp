// Papers chosen by number or name, and the plot on the chosen paper.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/paper_choice.h"
#include "plothost_run.h"
#include "reader/plot_reader.h"

namespace {

PaperSize Paper(int number, const char* name) {
    PaperSize p{};
    p.nPaperID = number;
    std::snprintf(p.szPaperName, sizeof p.szPaperName, "%s", name);
    p.nPaperWidth = 2100;
    p.nPaperLength = 2970;
    return p;
}

const std::vector<PaperSize> kPapers = {
    Paper(9, "ISO A4"),          Paper(8, "ISO A3"),   Paper(651, "ISO A0"),
    Paper(1, "ANSI A (Letter)"), Paper(652, "ARCH A"), Paper(658, "Roll 610 mm x 1000 mm"),
};

TEST(PaperChoice, ByNumberByNameAndByTheWordsOnlyOneHas) {
    const struct {
        const char* wanted;
        int number;  // 0: refused
        const char* message;
    } cases[] = {
        {"651", 651, ""},
        {"iso a0", 651, ""},
        {"ISO A4", 9, ""},
        {"a3", 8, ""},
        {"Letter", 1, ""},
        {"arch a", 652, ""},
        {"roll 610", 658, ""},
        {"A", 0, "the paper \"A\" could be \"ANSI A (Letter)\", \"ARCH A\": say which"},
        {"ISO", 0, "could be \"ISO A4\", \"ISO A3\", \"ISO A0\""},
        {"A5", 0, "no paper named \"A5\"; close names: \"ISO A4\", \"ISO A3\", \"ISO A0\""},
        {"iso a01", 0, "close names: \"ISO A0\""},
        {"tabloid", 0, "no paper named \"tabloid\" (see 'plothost papers')"},
        {"7", 0, "no paper number 7"},
        {"-9", 0, "no paper number -9"},
        {"", 0, "no paper named \"\""},
    };
    for (const auto& c : cases) {
        std::string error;
        const PaperSize* paper = FindPaper(kPapers, c.wanted, &error);
        if (c.number) {
            ASSERT_NE(paper, nullptr) << c.wanted << ": " << error;
            EXPECT_EQ(paper->nPaperID, c.number) << c.wanted;
        } else {
            EXPECT_EQ(paper, nullptr) << c.wanted;
            EXPECT_NE(error.find(c.message), std::string::npos) << c.wanted << ": " << error;
        }
    }
}

TEST(PaperChoice, NamesWithoutTheirEndingNul) {
    PaperSize full = Paper(5, "");
    std::memset(full.szPaperName, 'x', sizeof full.szPaperName);
    EXPECT_EQ(PaperText(full), std::string(64, 'x'));
    const std::vector<PaperSize> list = {full};
    std::string error;
    EXPECT_EQ(FindPaper(list, std::string(64, 'X'), &error), &list[0]) << error;
}

// The plotted page as the plot file announces it.
plot::PlotSummary PlotOf(const std::string& path) {
    plot::RenderOptions options;
    options.dpi = 10;  // the sizes are read from the plot, the picture can be small
    const plot::PlotRendering rendering = plot::RenderPlotFile(path, options);
    EXPECT_TRUE(rendering.ok) << rendering.error;
    return rendering.summary;
}

TEST(PaperChoice, PlotGoesOnTheChosenPaperAndOrientation) {
    ScratchDir dir;
    const std::string drawing = std::string(HPGL2_TEST_DATA_DIR) + "/tiger.emf";
    const struct {
        const char* options;
        const char* told;     // in the summary
        double across, down;  // the plot's printable area, millimetres
    } cases[] = {
        // The bundled A4 has margins of 5 mm left and right, 17 mm top and
        // bottom; A0 of 5 mm all round.
        // The tiger's frame is 158 x 297 mm: on A4 it is fitted to the 263 mm
        // of the printable length (263 / 297 = 0.8855); on A0 it fits.
        {"", "on ISO A4 portrait (printable area 200.0 x 263.0 mm), scale 0.8855 to fit", 200, 263},
        {"--paper a0 --landscape",
         "on ISO A0 landscape (printable area 1179.0 x 830.9 mm), at its true size (1:1)", 1179,
         831},
        {"--paper 651 --portrait", "on ISO A0 portrait (printable area 830.9 x 1179.0 mm)", 831,
         1179},
        {"--paper ISO\\ A3", "on ISO A3 portrait", 287, 386},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const PlothostRun run =
            RunPlothostIn(dir, "plot " + drawing + " -o tiger.plt " + c.options);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_NE(run.errors.find(c.told), std::string::npos) << run.errors;
        const plot::PlotSummary s = PlotOf(dir.path() + "/tiger.plt");
        // The plot's x axis runs across the page as the host drew it, in
        // landscape too, where the whole width of the sheet is drawn on.
        EXPECT_NEAR(s.pageWidthMm, c.across, 0.5);
        EXPECT_NEAR(s.pageHeightMm, c.down, 0.5);
    }
}

TEST(PaperChoice, UnknownPaperIsRefusedWithTheCloseNames) {
    ScratchDir dir;
    const std::string drawing = std::string(HPGL2_TEST_DATA_DIR) + "/tiger.emf";
    PlothostRun run = RunPlothostIn(dir, "plot " + drawing + " -o tiger.plt --paper A9");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("no paper named \"A9\"; close names: \"ISO A4\""), std::string::npos)
        << run.errors;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/tiger.plt"));
    run = RunPlothostIn(dir, "plot " + drawing + " -o tiger.plt --landscape --portrait");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("--landscape and --portrait exclude each other"), std::string::npos);
    run = RunPlothostIn(dir, "plot " + drawing + " -o tiger.plt --paper");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("--paper needs a value"), std::string::npos);
}

TEST(PaperChoice, PapersListsSheetAndPrintableSizes) {
    ScratchDir dir;
    PlothostRun run = RunPlothostIn(dir, "papers");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.out.find("Papers of \"HP DesignJet 750C Plus\" (18)"), std::string::npos)
        << run.out;
    // Sheet 210 x 297 mm less margins of 5 + 5 and 17 + 17 mm; the paper of
    // the settings is marked.
    EXPECT_NE(
        run.out.find("*      9  ISO A4                       210.0 x 297.0     200.0 x 263.0\n"),
        std::string::npos)
        << run.out;
    EXPECT_NE(
        run.out.find("     651  ISO A0                       841.0 x 1189.0    831.0 x 1179.0\n"),
        std::string::npos)
        << run.out;
    run = RunPlothostIn(dir, "papers --driver 4");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Papers of \"Oce TDS600\""), std::string::npos) << run.out;
    run = RunPlothostIn(dir, "papers --driver 9");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("no plotter named \"9\""), std::string::npos) << run.errors;
    run = RunPlothostIn(dir, "papers --size");
    EXPECT_EQ(run.status, 2);
}

}  // namespace

// The filters run alone, as CUPS runs them: good raster pages arrive pixel
// for pixel across their bands, and bad input (a damaged metafile, a raster
// stream cut short, an option value the queue does not offer, a page larger
// than the plotter's paper) ends with an "ERROR:" line, a failed exit and no
// job that looks whole.
#include <filesystem>
#include <gtest/gtest.h>

#include "cups/filter_run.h"
#include "plothost/plothost_run.h"
#include "reader/plot_reader.h"
#include "support/emf_builder.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

const std::string kPpd = std::string(HPGL2_PPD_DIR) + "/DesignJet_750C.ppd";
const std::string kJobEnd = ";PUSP0PG;\x1b%-12345X@PJL EOJ ";

unsigned Stripes(int x, int y) {
    // A colour a band of 8 rows, changing every 7 columns too, so any row
    // or column out of place shows.
    return ((static_cast<unsigned>(y / 8) * 0x3D1F47u) ^ (static_cast<unsigned>(x / 7) * 0x1B)) &
           0xFFFFFFu;
}

unsigned Black(int, int) {
    return 0;
}

struct Scratch {
    ScratchDir dir;
    std::string tmp = dir.path() + "/tmp";
    Scratch() { fs::create_directories(tmp); }
    std::string File(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir.path() + "/" + name, std::ios::binary) << bytes;
        return dir.path() + "/" + name;
    }
    // The job's folder is gone once the filter has ended, whatever happened.
    bool Clean() const { return fs::is_empty(tmp); }
};

TEST(RasterFilter, PagesArrivePixelForPixelAcrossBands) {
    Scratch s;
    // A4 at 150 dpi: 1181 x 1553 printable pixels; bands of whole decipoints.
    const std::string raster = s.File("page.ras", MakeRaster(1100, 1500, 150, Stripes));
    const FilterRun run = RunFilter(HPGL2_RASTER_FILTER, kPpd, s.tmp, "PageSize=A4", raster);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("PAGE: 1 1"), std::string::npos);
    ASSERT_GE(run.out.size(), kJobEnd.size());
    EXPECT_EQ(run.out.substr(run.out.size() - kJobEnd.size()), kJobEnd);
    EXPECT_TRUE(s.Clean());

    plot::RenderOptions options;
    options.dpi = 150;
    const plot::PlotRendering got = plot::RenderPlot(run.out, options);
    ASSERT_TRUE(got.ok) << got.error;
    EXPECT_EQ(got.summary.resolution, 150);
    const plot::Image page = plot::FirstPage(got);
    ASSERT_GE(page.width, 1100);
    ASSERT_GE(page.height, 1500);
    int wrong = 0;
    for (int y = 0; y < 1500; ++y)
        for (int x = 0; x < 1100; x += 3) wrong += page.At(x, y) != Stripes(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(page.At(1100, 10), 0xFFFFFFu);  // nothing beyond the page's own pixels
}

struct BadInput {
    const char* what;
    bool raster;
    std::string (*input)(const Scratch&);
    const char* options;
    const char* message;  // a part of the ERROR: line
};

std::string CutMetafile(const Scratch& s) {
    const std::string whole = ReadWhole(std::string(HPGL2_SOURCE_DIR) + "/samples/cadplan.emf");
    return s.File("cut.emf", whole.substr(0, whole.size() / 2));
}

// A line is drawn, then an object that does not exist is selected: the
// metafile fails half way through playing.
std::string FailingMetafile(const Scratch& s) {
    const std::vector<BYTE> bytes =
        EmfBuilder().Handles(2).MoveTo(10, 10).LineTo(500, 500).Select(9).Bytes();
    return s.File("bad.emf", std::string(bytes.begin(), bytes.end()));
}

std::string Sample(const Scratch&) {
    return std::string(HPGL2_SOURCE_DIR) + "/samples/cadplan.emf";
}

std::string CutRaster(const Scratch& s) {
    return s.File("cut.ras", MakeRaster(1100, 1500, 150, Stripes, 900));
}

std::string GoodRaster(const Scratch& s) {
    return s.File("good.ras", MakeRaster(1100, 1500, 150, Stripes));
}

// A0 at 150 dpi on A4 paper.
std::string LargeRaster(const Scratch& s) {
    return s.File("large.ras", MakeRaster(4900, 7000, 150, Black, 10));
}

TEST(Filters, BadInputEndsWithAnErrorAndNoWholeJob) {
    const BadInput cases[] = {
        {"metafile cut short", false, CutMetafile, "", "not a metafile that can be plotted"},
        {"metafile failing half way", false, FailingMetafile, "", "object"},
        {"unknown compression", false, Sample, "HPGL2Compression=Zip", "HPGL2Compression=Zip"},
        {"unknown paper", false, Sample, "media=A9", "media=A9"},
        {"unknown resolution", true, GoodRaster, "Resolution=333dpi", "Resolution=333dpi"},
        {"raster cut short", true, CutRaster, "PageSize=A4", "ends inside page 1, at row 900"},
        {"page larger than the paper", true, LargeRaster, "PageSize=A4", "larger than"},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch s;
        const FilterRun run = RunFilter(c.raster ? HPGL2_RASTER_FILTER : HPGL2_EMF_FILTER, kPpd,
                                        s.tmp, c.options, c.input(s));
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find("ERROR: "), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
        // Nothing, or the start of a job without its end.
        EXPECT_EQ(run.out.find("PUSP0PG;"), std::string::npos);
        EXPECT_EQ(run.out.find("@PJL EOJ"), std::string::npos);
        if (std::string(c.what) != "raster cut short") {
            EXPECT_EQ(run.out, "");
        }
        EXPECT_TRUE(s.Clean());
    }
}

}  // namespace

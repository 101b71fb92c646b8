// Plotters shared through a real cupsd: queues made from the generated
// PPDs print the sample drawings with lp to a listener playing the plotter,
// and what arrives is read back with plotview's reader and compared with
// plothost's own plot of the same drawing.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "cups/cupsd_instance.h"
#include "picture/image_compare.h"
#include "plothost/plothost_run.h"
#include "reader/plot_reader.h"
#include "support/loopback_listener.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

const std::string kSamples = HPGL2_TEST_DATA_DIR;
constexpr double kPreviewDpi = 40;

struct Job {
    const char* queue;    // a PPD of the build, without ".ppd"
    const char* drawing;  // of the samples
    const char* paper;
    int dpi;
    bool grey;
};

// Every job on the vector queue unless named; paper, resolution and colour
// each take both values for both drawings.
const Job kJobs[] = {
    {"DesignJet_750C", "cadplan.emf", "A3", 300, false},
    {"DesignJet_750C", "cadplan.emf", "A0", 600, true},
    {"DesignJet_750C_Raster", "cadplan.emf", "A3", 600, false},
    {"DesignJet_750C", "tiger.pdf", "A3", 300, false},
    {"DesignJet_750C", "tiger.pdf", "A3", 600, true},
    {"DesignJet_750C", "tiger.pdf", "A0", 300, true},
};

plot::Image Crop(const plot::Image& image, const plot::InkBox& box) {
    plot::Image out(box.right - box.left + 1, box.bottom - box.top + 1);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.At(x, y) = image.At(box.left + x, box.top + y);
    return out;
}

double InkF1(const plot::ImageComparison& c) {
    return c.coverage + c.precision > 0 ? 2 * c.coverage * c.precision / (c.coverage + c.precision)
                                        : 0;
}

bool HasColour(const plot::Image& image) {
    for (uint32_t p : image.pixels) {
        const int r = plot::RedOf(p), g = plot::GreenOf(p), b = plot::BlueOf(p);
        if (std::max({r, g, b}) - std::min({r, g, b}) > 24) return true;
    }
    return false;
}

class CupsQueueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new CupsdInstance(std::string(HPGL2_BINARY_DIR) + "/cups-test");
        std::string error;
        if (!server->Start(&error)) {
            startError = error;
            return;
        }
        for (const char* queue : {"DesignJet_750C", "DesignJet_750C_Raster"}) {
            const CommandResult made =
                server->Run(std::string("lpadmin -p ") + queue + " -E -v socket://127.0.0.1:9 -P " +
                            HPGL2_PPD_DIR + "/" + queue + ".ppd");
            if (made.status != 0) startError += made.output;
        }
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(startError.empty()) << startError; }

    // Prints file on queue with options to a fresh listener; the bytes that
    // arrived.
    static std::string Print(const std::string& queue, const std::string& file,
                             const std::string& options, LoopbackListener& listener) {
        const CommandResult uri = server->Run("lpadmin -p " + queue + " -v " + listener.Uri());
        EXPECT_EQ(uri.status, 0) << uri.output;
        const CommandResult lp = server->Run("lp -d " + queue + " " + options + " " + file);
        EXPECT_EQ(lp.status, 0) << lp.output;
        return listener.Received();
    }

    static CupsdInstance* server;
    static std::string startError;
};

CupsdInstance* CupsQueueTest::server = nullptr;
std::string CupsQueueTest::startError;

// The reference: plothost's plot of the same drawing on the same plotter,
// paper, resolution and colour (a PDF's drawing from its metafile twin,
// fitted as CUPS fits the PDF).
plot::Image ReferencePlot(const Job& job, plot::PlotSummary* summary) {
    ScratchDir dir;
    const std::string section = job.queue == std::string("DesignJet_750C_Raster")
                                    ? "\"DesignJet 750C Raster\""
                                    : "\"DesignJet 750C\"";
    if (job.grey) {
        const PlothostRun set =
            RunPlothostIn(dir, "settings --driver " + section + " --set colour=grey");
        EXPECT_EQ(set.status, 0) << set.errors;
    }
    const bool pdf = fs::path(job.drawing).extension() == ".pdf";
    const std::string drawing = kSamples + "/" + (pdf ? "tiger.emf" : job.drawing);
    const PlothostRun run =
        RunPlothostIn(dir, "plot " + drawing + " --driver " + section + " --paper " + job.paper +
                               " --dpi " + std::to_string(job.dpi) + (pdf ? " --fit" : "") +
                               " -o " + dir.path() + "/ref.plt");
    EXPECT_EQ(run.status, 0) << run.errors;
    plot::RenderOptions options;
    options.dpi = kPreviewDpi;
    const plot::PlotRendering rendering =
        plot::RenderPlot(ReadWhole(dir.path() + "/ref.plt"), options);
    EXPECT_TRUE(rendering.ok) << rendering.error;
    *summary = rendering.summary;
    return plot::FirstPage(rendering);
}

TEST_F(CupsQueueTest, SamplesArriveWholeAndMatchPlothostsPlot) {
    for (const Job& job : kJobs) {
        const bool pdf = fs::path(job.drawing).extension() == ".pdf";
        SCOPED_TRACE(std::string(job.drawing) + " on " + job.queue + ", " + job.paper + ", " +
                     std::to_string(job.dpi) + " dpi, " + (job.grey ? "grey" : "colour"));
        LoopbackListener listener(LoopbackListener::Mode::ReadAll);
        const std::string bytes = Print(
            job.queue, kSamples + "/" + job.drawing,
            std::string("-o PageSize=") + job.paper + " -o Resolution=" + std::to_string(job.dpi) +
                "dpi -o ColorModel=" + (job.grey ? "Gray" : "RGB") + (pdf ? " -o fit-to-page" : ""),
            listener);
        plot::RenderOptions options;
        options.dpi = kPreviewDpi;
        const plot::PlotRendering got = plot::RenderPlot(bytes, options);
        ASSERT_TRUE(got.ok) << got.error << "\n" << server->ErrorLog().substr(0, 20000);
        EXPECT_FALSE(got.truncated);
        EXPECT_TRUE(listener.EndedInOrder());
        EXPECT_EQ(got.summary.pages, 1u);
        EXPECT_EQ(got.summary.resolution, job.dpi);

        plot::PlotSummary expected;
        const plot::Image reference = ReferencePlot(job, &expected);
        // The right paper: the plot size plothost gives it.
        EXPECT_NEAR(got.summary.pageWidthMm, expected.pageWidthMm, 0.5);
        EXPECT_NEAR(got.summary.pageHeightMm, expected.pageHeightMm, 0.5);
        const plot::Image page = plot::FirstPage(got);
        if (got.summary.pensUsed.empty()) {
            EXPECT_EQ(HasColour(page), !job.grey);
        } else {
            // The drawing's pens in the colour mode asked for (its picture
            // goes as an indexed grey raster, which has no palette of its
            // own inside a plot).
            bool colourPen = false;
            for (const plot::PenUse& pen : got.summary.pensUsed)
                colourPen = colourPen || HasColour(plot::Image(1, 1, pen.colour));
            EXPECT_EQ(colourPen, !job.grey);
        }

        // The drawing where it belongs: a metafile lies where plothost puts
        // it; a PDF is placed by CUPS, so its ink is compared box to box.
        plot::CompareOptions compare;
        compare.radius = 2;
        const plot::InkBox gotBox = plot::FindInkBox(page, compare.inkThreshold);
        const plot::InkBox refBox = plot::FindInkBox(reference, compare.inkThreshold);
        ASSERT_FALSE(gotBox.Empty());
        const plot::ImageComparison c =
            pdf ? plot::CompareImages(Crop(page, gotBox), Crop(reference, refBox), compare)
                : plot::CompareImages(page, reference, compare);
        ASSERT_TRUE(c.ok) << c.error;
        EXPECT_GE(InkF1(c), 0.97) << c.ToString();
    }
}

TEST_F(CupsQueueTest, CancelledJobNeverLooksWhole) {
    LoopbackListener listener(LoopbackListener::Mode::ReadAll);
    ASSERT_EQ(server->Run("lpadmin -p DesignJet_750C -v " + listener.Uri()).status, 0);
    const CommandResult lp = server->Run(
        "lp -d DesignJet_750C -o PageSize=A0 -o Resolution=600dpi "
        "-o fit-to-page " +
        kSamples + "/tiger.pdf");
    ASSERT_EQ(lp.status, 0) << lp.output;
    for (int waited = 0; waited < 30000 && listener.BytesSoFar() == 0; waited += 20) usleep(20000);
    ASSERT_GT(listener.BytesSoFar(), 0u) << server->ErrorLog().substr(0, 20000);
    const CommandResult cancel = server->Run("cancel -a DesignJet_750C");
    EXPECT_EQ(cancel.status, 0) << cancel.output;
    const std::string bytes = listener.Received();
    // The job stops where it was: no end of raster, page or job reaches
    // the plotter, so it cannot take what it got for a whole plot.
    plot::RenderOptions options;
    options.dpi = 10;
    // CUPS's socket backend ends the connection in order once the filter
    // has stopped: what tells the plotter is that the job has no end.
    EXPECT_EQ(bytes.rfind("\x1b%0BBP5,1", 0), 0u) << "not the start of a plot";
    EXPECT_EQ(bytes.find("PUSP0PG;"), std::string::npos) << bytes.size() << " bytes";
    EXPECT_EQ(bytes.find("@PJL EOJ"), std::string::npos);
    EXPECT_LT(bytes.size(), size_t{20} << 20) << "the whole page came";
    EXPECT_TRUE(server->WaitIdle("DesignJet_750C", 30000));
}

}  // namespace

// Ctrl-C and SIGTERM during "plothost plot", end to end: a large vector plot
// and a whole page rendered in the computer, signalled at many moments of
// the job. A plot is either complete, byte for byte as an uninterrupted one,
// with exit status 0, or it leaves no file at all and ends with 130 (143
// for SIGTERM); a network plotter's connection is reset.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "support/loopback_listener.h"
#include "plothost_run.h"
#include "support/emf_builder.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using Mode = LoopbackListener::Mode;

// Polylines of 100 points across the drawing: 4000 make about 2 MB of
// HP-GL/2, long enough to be signalled half way.
void WriteVectorDrawing(const std::string& path, int lines) {
    EmfBuilder emf;
    uint32_t x = 2463534242u;
    const auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return static_cast<LONG>(x % 1000);
    };
    for (int line = 0; line < lines; ++line) {
        std::vector<POINT> points(100);
        for (POINT& p : points) p = POINT{next(), next()};
        emf.Poly16(EMR_POLYLINE16, points);
    }
    ASSERT_TRUE(WriteBytes(path, emf.Bytes()));
}

struct Job {
    const char* name;
    std::vector<std::string> plot;  // the arguments before the destination
};

// A vector plot of `lines` polylines and a whole page in the computer.
std::vector<Job> Jobs(const ScratchDir& dir, int lines) {
    WriteVectorDrawing(dir.path() + "/lines.emf", lines);
    return {
        {"vector plot", {"plot", "lines.emf", "--driver", "1", "--paper", "a1", "--fit"}},
        {"whole page in the computer",
         {"plot", std::string(HPGL2_TEST_DATA_DIR) + "/cadplan.emf", "--driver",
          "DesignJet 750C Raster", "--paper", "a3", "--fit", "--dpi", "150"}},
    };
}

std::vector<std::string> With(std::vector<std::string> words,
                              const std::vector<std::string>& more) {
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

// The job's bytes, plotted without a signal into out.plt.
std::string Uninterrupted(const ScratchDir& dir, const Job& job) {
    std::string words;
    for (const std::string& w : job.plot) words += "'" + w + "' ";
    const PlothostRun whole = RunPlothostIn(dir, words + "-o out.plt");
    EXPECT_EQ(whole.status, 0) << job.name << ": " << whole.errors;
    const std::string bytes = ReadWhole(dir.path() + "/out.plt");
    std::filesystem::remove(dir.path() + "/out.plt");
    return bytes;
}

// Waits, polling, until the moment has come or plothost has ended.
void WaitFor(const BackgroundPlothost& run, const std::function<bool()>& moment) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!moment() && run.Running() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::microseconds(500));
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

uintmax_t SizeOf(const std::string& path) {
    std::error_code ignored;
    const uintmax_t size = fs::file_size(path, ignored);
    return ignored ? 0 : size;
}

TEST(InterruptedPlot, AFileIsWholeOrNotThereAtAnyMoment) {
    ScratchDir dir;
    const std::string out = dir.path() + "/out.plt";
    const std::string temporary = out + ".tmp";
    for (const Job& job : Jobs(dir, 4000)) {
        const std::string reference = Uninterrupted(dir, job);
        ASSERT_GT(reference.size(), 200000u) << job.name;

        const struct {
            const char* what;
            std::function<bool(const std::string& errors)> moment;
            int signal;
            bool complete = false;  // the job is complete at this moment
        } moments[] = {
            // For the whole page: before the render thread starts, the
            // window in which no progress dialog ran yet.
            {"as the temporary file appears", [&](auto&) { return fs::exists(temporary); }, SIGINT},
            {"with 128 KiB in the temporary file",
             [&](auto&) { return SizeOf(temporary) >= 128 * 1024; }, SIGINT},
            {"with half the job in the temporary file",
             [&](auto&) { return SizeOf(temporary) >= reference.size() / 2; }, SIGINT},
            {"SIGTERM with bytes in the temporary file",
             [&](auto&) { return SizeOf(temporary) > 0; }, SIGTERM},
            {"once the job is complete",
             [&](const std::string& errors) { return Contains(errors, " bytes written to "); },
             SIGINT, true},
        };
        int stopped = 0;
        for (const auto& m : moments) {
            SCOPED_TRACE(std::string(job.name) + ", " + m.what);
            BackgroundPlothost run(dir, With(job.plot, {"-o", "out.plt"}));
            ASSERT_TRUE(run.Started());
            WaitFor(run, [&] { return m.moment(run.Errors()); });
            run.Signal(m.signal);
            const int status = run.Wait();
            const std::string errors = run.Errors();
            EXPECT_FALSE(fs::exists(temporary)) << errors;
            if (status == 0) {
                // The job had been complete when the signal came.
                EXPECT_TRUE(ReadWhole(out) == reference) << errors;
                fs::remove(out);
                continue;
            }
            EXPECT_FALSE(m.complete) << "a signal after the job changed it: " << errors;
            ++stopped;
            const bool term = m.signal == SIGTERM;
            EXPECT_EQ(status, term ? 143 : 130) << errors;
            EXPECT_TRUE(Contains(errors, term ? "plothost: terminated (SIGTERM): the plot was "
                                                "stopped; no plot file was written\n"
                                              : "plothost: interrupted (Ctrl-C): the plot was "
                                                "stopped; no plot file was written\n"))
                << errors;
            EXPECT_FALSE(fs::exists(out)) << errors;
            EXPECT_FALSE(Contains(errors, "bytes written")) << errors;
        }
        // The moments before the end lie well before it.
        EXPECT_GE(stopped, 1) << job.name;
    }
}

// The plotter holds after some bytes of the job, so the job cannot complete
// before the signal. The connection is reset, unless the plotter's side had
// already acknowledged the whole job and its end (it fitted the socket
// buffers): then the plotter has it whole, and plothost says so. Never an
// orderly end of a partial job.
TEST(InterruptedPlot, ANetworkJobIsResetNotLeftLookingWhole) {
    ScratchDir dir;
    // 12000 lines make about 6 MB, more than the socket buffers hold: that
    // job is always cut off.
    for (const Job& job : Jobs(dir, 12000)) {
        const bool outgrowsBuffers = std::string(job.name) == "vector plot";
        const std::string reference = outgrowsBuffers ? "" : Uninterrupted(dir, job);
        for (size_t held : {size_t{0}, size_t{100000}}) {
            SCOPED_TRACE(std::string(job.name) + ", after " + std::to_string(held) + " bytes");
            LoopbackListener plotter(Mode::HoldAfter, held);
            BackgroundPlothost run(dir, With(job.plot, {"--to", plotter.Uri()}));
            ASSERT_TRUE(run.Started());
            ASSERT_TRUE(plotter.WaitUntilHolding()) << run.Errors();
            run.Signal(SIGINT);
            EXPECT_EQ(run.Wait(), 130) << run.Errors();
            const std::string errors = run.Errors();
            EXPECT_TRUE(Contains(errors, "plothost: interrupted (Ctrl-C): the plot was stopped; "))
                << errors;
            plotter.Stop();
            if (plotter.EndedInOrder()) {
                EXPECT_FALSE(outgrowsBuffers);
                EXPECT_TRUE(plotter.Received() == reference);
                EXPECT_TRUE(Contains(errors, "the whole job had already reached ")) << errors;
            } else if (held > 0) {
                EXPECT_TRUE(Contains(errors,
                                     "the connection to the plotter was reset, so it "
                                     "drops the job\n"))
                    << errors;
            }
        }
    }
}

}  // namespace

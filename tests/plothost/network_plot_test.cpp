// "plothost plot --to socket://..." end to end: the built host sends the job
// to a listener of the test process on the loopback interface.
#include <gtest/gtest.h>

#include <string>

#include "commands/plot_options.h"
#include "support/loopback_listener.h"
#include "plothost_run.h"

namespace {

using Mode = LoopbackListener::Mode;

const std::string kDrawing = std::string(HPGL2_TEST_DATA_DIR) + "/tiger.emf";

TEST(NetworkPlot, TheJobArrivesAsTheFileWouldHoldIt) {
    ScratchDir dir;
    LoopbackListener listener(Mode::ReadAll);
    const PlothostRun sent = RunPlothostIn(dir, "plot " + kDrawing + " --to " + listener.Uri());
    ASSERT_EQ(sent.status, 0) << sent.errors;
    const std::string received = listener.Received();
    const PlothostRun filed = RunPlothostIn(dir, "plot " + kDrawing + " -o tiger.plt");
    ASSERT_EQ(filed.status, 0) << filed.errors;
    EXPECT_TRUE(received == ReadWhole(dir.path() + "/tiger.plt"));
    EXPECT_NE(sent.errors.find("plothost: " + std::to_string(received.size()) +
                               " bytes written to " + listener.Uri() + "\n"),
              std::string::npos)
        << sent.errors;
}

TEST(NetworkPlot, ADroppedConnectionFailsThePlot) {
    ScratchDir dir;
    LoopbackListener listener(Mode::CloseAfter, 1000);
    const PlothostRun run =
        RunPlothostIn(dir, "plot " + kDrawing + " --to " + listener.Uri() + " --write-timeout 5");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("the job is incomplete"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("bytes written"), std::string::npos) << run.errors;
    EXPECT_EQ(listener.Received().size(), 1000u);
}

TEST(NetworkPlot, PlotterAddressMistakes) {
    ScratchDir dir;
    LoopbackListener refusing(Mode::ReadAll, 0, /*listenNow=*/false);
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"--to socket://host:70000", 2,
         "the port 70000 of \"socket://host:70000\" lies outside 1 to 65535"},
        {"--to plotter:9100", 2, "malformed plotter address \"plotter:9100\""},
        {"--to socket://a:b", 2, "the port \"b\" is not a number"},
        {"--to socket://nonexistent.invalid", 1, "cannot find the plotter nonexistent.invalid"},
        {"--to " + refusing.Uri() + " --retry-for 0", 1,
         "cannot connect to 127.0.0.1:" + std::to_string(refusing.Port()) + ": Connection refused"},
        {"--to socket://h -o a.plt", 2, "--to excludes -o, --output-name and --save-as"},
        {"--to socket://h --write-timeout 0", 2,
         "--write-timeout needs seconds from 0.001 to 86400, not \"0\""},
        {"--to socket://h --retry-for -1", 2, "--retry-for needs seconds from 0 to 86400"},
        {"--to socket://h --connect-timeout x", 2, "--connect-timeout needs seconds"},
    };
    for (const auto& c : cases) {
        const PlothostRun run = RunPlothostIn(dir, "plot " + kDrawing + " " + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.errors;
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << c.arguments << "\n"
                                                                 << run.errors;
    }
}

TEST(NetworkPlot, TimeoutsReachTheChannel) {
    PlotOptions options;
    std::string error;
    ASSERT_TRUE(ParsePlotOptions({"a.emf", "--to", "socket://[::1]:9101", "--connect-timeout",
                                  "2.5", "--write-timeout", "0.25", "--retry-for", "0"},
                                 &options, &error))
        << error;
    EXPECT_EQ(options.to, "socket://[::1]:9101");
    EXPECT_EQ(options.socket.connectTimeoutMs, 2500);
    EXPECT_EQ(options.socket.writeTimeoutMs, 250);
    EXPECT_EQ(options.socket.retryForMs, 0);
    const SocketOptions defaults;
    EXPECT_EQ(defaults.connectTimeoutMs, 10000);
    EXPECT_EQ(defaults.writeTimeoutMs, 30000);
    EXPECT_EQ(defaults.retryForMs, 120000);
    PlotOptions paper;
    ASSERT_TRUE(ParsePlotOptions(
        {"a.emf", "-o", "a", "--paper", "ISO A0", "--landscape", "--landscape"}, &paper, &error))
        << error;
    EXPECT_EQ(paper.paper, "ISO A0");
    EXPECT_EQ(paper.orientation, Orientation::Landscape);
}

TEST(NetworkPlot, HelpTellsEveryPlotOption) {
    ScratchDir dir;
    for (const char* help : {"--help", "plot --help", "papers -h"}) {
        const PlothostRun run = RunPlothostIn(dir, help);
        EXPECT_EQ(run.status, 0) << help;
        for (const char* option :
             {"papers [--driver PLOTTER]", "-o, --output FILE", "--to socket://HOST[:PORT]",
              "--connect-timeout SECONDS", "--write-timeout SECONDS", "--retry-for SECONDS",
              "--driver PLOTTER", "--paper PAPER", "--landscape", "--portrait", "--scale FACTOR",
              "--fit", "--dpi N", "--output-name NAME", "--save-as FILE", "--module PATH",
              "--app-dir DIR", "--data-dir DIR", "--help"})
            EXPECT_NE(run.out.find(option), std::string::npos) << help << ": " << option;
    }
}

}  // namespace

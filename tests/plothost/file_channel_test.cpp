// The plot file channel: the job lands whole under its name or not at all.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "output/file_channel.h"
#include "commands/plot_options.h"
#include "support/test_files.h"
#include "win32/kernel32/interrupt_requests.h"

namespace {

namespace fs = std::filesystem;

TEST(FileChannel, WritesToATemporaryFileAndRenamesItOnClose) {
    ScratchDir dir;
    const std::string target = dir.path() + "/job.plt";
    FileChannel channel;
    ASSERT_EQ(channel.Open(target.c_str()), 1) << channel.Error();
    channel.Write("PE", 2);
    channel.Write("<=", 2);
    channel.Write("ignored", 0);
    // While the job runs only the temporary file exists.
    EXPECT_TRUE(fs::exists(target + ".tmp"));
    EXPECT_FALSE(fs::exists(target));
    channel.Close();
    EXPECT_TRUE(channel.Completed());
    EXPECT_EQ(channel.Error(), "");
    EXPECT_EQ(channel.BytesWritten(), 4u);
    EXPECT_FALSE(fs::exists(target + ".tmp"));
    EXPECT_EQ(dir.Read("job.plt"), "PE<=");
    // Writes after the end go nowhere.
    channel.Write("more", 4);
    EXPECT_EQ(dir.Read("job.plt"), "PE<=");
}

TEST(FileChannel, LargeJobsAreWrittenWhole) {
    ScratchDir dir;
    const std::string target = dir.path() + "/big.plt";
    FileChannel channel;
    ASSERT_EQ(channel.Open(target.c_str()), 1);
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        const std::string chunk = "PE" + std::to_string(i) + ";";
        channel.Write(chunk.data(), static_cast<int>(chunk.size()));
        expected += chunk;
    }
    channel.Close();
    ASSERT_TRUE(channel.Completed());
    EXPECT_EQ(dir.Read("big.plt"), expected);
}

TEST(FileChannel, AbortAndDestructionLeaveNothingAndKeepAnOldFile) {
    ScratchDir dir;
    const std::string target = dir.Write("old.plt", "previous job");
    {
        FileChannel channel;
        ASSERT_EQ(channel.Open(target.c_str()), 1);
        channel.Write("half a job", 10);
        channel.Abort();
        channel.Close();  // an aborted job stays aborted
        EXPECT_FALSE(channel.Completed());
    }
    {
        FileChannel channel;
        ASSERT_EQ(channel.Open(target.c_str()), 1);
        channel.Write("half a job", 10);
    }  // destroyed without Close
    EXPECT_FALSE(fs::exists(target + ".tmp"));
    EXPECT_EQ(dir.Read("old.plt"), "previous job");
}

// Ctrl-C while the host holds the signals: the job lands whole only when
// the rename had been done before it; at any earlier moment the job is
// dropped, no temporary file stays and an old plot keeps its bytes.
TEST(FileChannel, ASignalDropsAJobThatWasNotCompleteYet) {
    enum Moment { BeforeOpen, AfterOpen, AfterTheFirstFlush, BeforeClose, AfterClose };
    const struct {
        const char* what;
        Moment moment;
    } cases[] = {
        {"before the channel opens", BeforeOpen},
        {"once it is open", AfterOpen},
        {"with bytes in the temporary file", AfterTheFirstFlush},
        {"just before Close", BeforeClose},
        {"after Close", AfterClose},
    };
    const std::string job(200000, 'x');  // past the channel's 64 KiB buffer
    for (const auto& c : cases) {
        ScratchDir dir;
        const std::string target = dir.Write("job.plt", "previous job");
        InterruptScope host;
        FileChannel channel;
        const auto signalAt = [&](Moment m) {
            if (m == c.moment) std::raise(SIGINT);
        };
        signalAt(BeforeOpen);
        channel.Open(target.c_str());
        signalAt(AfterOpen);
        for (size_t at = 0; at < job.size(); at += 1000) {
            channel.Write(job.data() + at, 1000);
            if (at == 100000) {
                if (c.moment == AfterTheFirstFlush) {
                    EXPECT_GT(fs::file_size(target + ".tmp"), 0u) << c.what;
                }
                signalAt(AfterTheFirstFlush);
            }
        }
        signalAt(BeforeClose);
        channel.Close();
        signalAt(AfterClose);
        EXPECT_FALSE(fs::exists(target + ".tmp")) << c.what;
        EXPECT_EQ(channel.Completed(), c.moment == AfterClose) << c.what;
        EXPECT_EQ(dir.Read("job.plt"), c.moment == AfterClose ? job : "previous job") << c.what;
        if (c.moment != AfterClose) {
            EXPECT_EQ(channel.DroppedNote(), "no plot file was written") << c.what;
        }
    }
}

TEST(FileChannel, FailuresAreReported) {
    ScratchDir dir;
    FileChannel missingFolder;
    const std::string target = dir.path() + "/no/such/folder/job.plt";
    EXPECT_EQ(missingFolder.Open(target.c_str()), 0);
    EXPECT_NE(missingFolder.Error().find("cannot create " + target + ".tmp"), std::string::npos)
        << missingFolder.Error();
    // A target that is a folder: the job is written, the rename fails, the
    // temporary file goes.
    fs::create_directory(dir.path() + "/folder.plt");
    FileChannel onFolder;
    const std::string folder = dir.path() + "/folder.plt";
    ASSERT_EQ(onFolder.Open(folder.c_str()), 1);
    onFolder.Write("x", 1);
    onFolder.Close();
    EXPECT_FALSE(onFolder.Completed());
    EXPECT_NE(onFolder.Error().find("cannot rename"), std::string::npos) << onFolder.Error();
    EXPECT_FALSE(fs::exists(folder + ".tmp"));
    FileChannel unnamed;
    EXPECT_EQ(unnamed.Open(""), 0);
    EXPECT_EQ(unnamed.Open(nullptr), 0);
}

TEST(FileChannel, CharacterDevicesAreWrittenDirectly) {
    FileChannel channel;
    ASSERT_EQ(channel.Open("/dev/null"), 1) << channel.Error();
    channel.Write("PE", 2);
    channel.Close();
    EXPECT_TRUE(channel.Completed());
    EXPECT_TRUE(fs::exists("/dev/null"));
    EXPECT_FALSE(fs::exists("/dev/null.tmp"));
}

// Standard output led to a file by the shell is a path under /dev that
// ends in a regular file: the plot is appended to it in place, never given
// ".plt" and never renamed over the link.
TEST(FileChannel, StandardOutputLedToAFileIsWrittenInPlace) {
    ScratchDir dir;
    const std::string log = dir.path() + "/out.plt";
    const std::string command = std::string(HPGL2_PLOTHOST_PATH) + " --data-dir " + dir.path() +
                                " plot " + HPGL2_SOURCE_DIR +
                                "/samples/cadplan.emf -o /dev/stdout > " + log + " 2> " +
                                dir.path() + "/errors.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_FALSE(fs::exists("/dev/stdout.plt"));
    EXPECT_FALSE(fs::exists("/dev/stdout.tmp"));
    EXPECT_TRUE(fs::is_symlink("/dev/stdout"));
    std::ifstream in(log, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_NE(bytes.find("\x1b%0BBP5,1"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "@PJL EOJ ");
}

TEST(PlotOptions, ArgumentsAndTheirMistakes) {
    struct Case {
        std::vector<std::string> args;
        const char* error;  // nullptr: accepted
    } cases[] = {
        {{"a.emf", "-o", "a.plt"}, nullptr},
        {{"a.emf", "--save-as", "x.plt"}, nullptr},
        {{"a.emf", "--output-name", "FILE:"}, nullptr},
        {{"a.emf", "-o", "a.plt", "--scale", "0.5", "--driver", "2", "--dpi", "600"}, nullptr},
        {{"a.emf"}, "plot needs -o FILE, --to socket://HOST[:PORT] or --save-as FILE"},
        {{"-o", "a.plt"}, "plot needs a metafile to plot"},
        {{"a.emf", "b.emf", "-o", "a.plt"}, "plot takes one metafile, not also \"b.emf\""},
        {{"a.emf", "-o"}, "-o needs a value"},
        {{"a.emf", "-o", "a.plt", "--fit", "--scale", "2"}, "--fit and --scale exclude each other"},
        {{"a.emf", "-o", "a.plt", "--scale", "0"}, "--scale needs a positive number, not \"0\""},
        {{"a.emf", "-o", "a.plt", "--scale", "2x"}, "--scale needs a positive number, not \"2x\""},
        {{"a.emf", "-o", "a.plt", "--dpi", "49"},
         "--dpi needs a resolution from 50 to 4800, not \"49\""},
        {{"a.emf", "-o", "a.plt", "--dpi", "4801"},
         "--dpi needs a resolution from 50 to 4800, not \"4801\""},
        {{"a.emf", "-o", "a.plt", "--save-as", "b.plt"}, "-o excludes --output-name and --save-as"},
        {{"a.emf", "-o", "a.plt", "--colour"}, "unknown plot option --colour"},
    };
    for (const Case& c : cases) {
        PlotOptions options;
        std::string error;
        const bool ok = ParsePlotOptions(c.args, &options, &error);
        EXPECT_EQ(ok, c.error == nullptr) << c.args[0] << " " << error;
        if (c.error) {
            EXPECT_EQ(error, c.error);
        }
    }
    PlotOptions options;
    std::string error;
    ASSERT_TRUE(ParsePlotOptions({"a.emf", "--save-as", "x.plt", "--fit"}, &options, &error));
    EXPECT_EQ(options.outputName, "FILE:");
    EXPECT_EQ(options.scale, ScaleChoice::Fit);
    PlotOptions withDpi;
    ASSERT_TRUE(ParsePlotOptions({"a.emf", "-o", "a", "--dpi", "600"}, &withDpi, &error)) << error;
    EXPECT_EQ(withDpi.dpi, 600);
    EXPECT_EQ(withDpi.output, "a");
}

TEST(PlotOptions, PlotFilesEndInPlt) {
    EXPECT_EQ(WithPlotExtension("drawing"), "drawing.plt");
    EXPECT_EQ(WithPlotExtension("drawing.plt"), "drawing.plt");
    EXPECT_EQ(WithPlotExtension("DRAWING.PLT"), "DRAWING.PLT");
    EXPECT_EQ(WithPlotExtension("drawing.emf"), "drawing.emf.plt");
    EXPECT_EQ(WithPlotExtension("plt"), "plt.plt");
}

}  // namespace

// The host finds its module and the bundled configuration by itself, both
// where the build leaves it and where `cmake --install` puts it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

struct ShellRun {
    int status = -1;
    std::string output;  // standard output and error
};

// Runs a shell command without PXR_APP_DIR, so that the host decides.
ShellRun Shell(const ScratchDir& dir, const std::string& command) {
    const std::string log = dir.path() + "/log.txt";
    const int raw = std::system(("env -u PXR_APP_DIR " + command + " > " + log + " 2>&1").c_str());
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    return ShellRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Layouts, BuiltHostUsesTheConfigurationBesideIt) {
    ScratchDir dir;
    const fs::path bin = fs::path(HPGL2_PLOTHOST_PATH).parent_path();
    const ShellRun drivers =
        Shell(dir, std::string(HPGL2_PLOTHOST_PATH) + " --data-dir " + dir.path() + " drivers");
    ASSERT_EQ(drivers.status, 0) << drivers.output;
    EXPECT_TRUE(
        Contains(drivers.output, "4 plotters configured in " + (bin / "hpgl2.ini").string()))
        << drivers.output;
    const ShellRun plot =
        Shell(dir, std::string(HPGL2_PLOTHOST_PATH) + " --data-dir " + dir.path() + " plot " +
                       HPGL2_SOURCE_DIR + "/samples/cadplan.emf -o " + dir.path() + "/built.plt");
    ASSERT_EQ(plot.status, 0) << plot.output;
    EXPECT_GT(fs::file_size(dir.path() + "/built.plt"), 1000u);
}

TEST(Layouts, InstalledHostFindsLibAndShare) {
    ScratchDir dir;
    const std::string prefix = dir.path() + "/prefix";
    const ShellRun install = Shell(dir, std::string(HPGL2_CMAKE_COMMAND) + " --install " +
                                            HPGL2_BINARY_DIR + " --prefix " + prefix);
    ASSERT_EQ(install.status, 0) << install.output;
    for (const char* file : {"bin/plothost", "bin/plotview", "lib/HPGL2.pxr", "lib/libPXRDriver.so",
                             "lib/libpxrwin32.so", "share/hpgl2/hpgl2.ini", "share/hpgl2/paper.ini",
                             "share/hpgl2/samples/cadplan.emf", "share/man/man1/plothost.1",
                             "share/man/man1/plotview.1"})
        EXPECT_TRUE(fs::exists(prefix + "/" + file)) << file;

    const std::string host = prefix + "/bin/plothost --data-dir " + dir.path() + "/data";
    const ShellRun drivers = Shell(dir, host + " drivers");
    ASSERT_EQ(drivers.status, 0) << drivers.output;
    EXPECT_TRUE(Contains(drivers.output, "4 plotters configured in")) << drivers.output;
    EXPECT_TRUE(Contains(drivers.output, "share/hpgl2/hpgl2.ini")) << drivers.output;
    const ShellRun plot =
        Shell(dir, host + " plot " + prefix + "/share/hpgl2/samples/cadplan.emf -o " + dir.path() +
                       "/installed.plt");
    ASSERT_EQ(plot.status, 0) << plot.output;
    EXPECT_GT(fs::file_size(dir.path() + "/installed.plt"), 1000u);
}

}  // namespace

#include "windows/wine_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
    return out;
}

}  // namespace

std::string WineEnvironment() {
    return "WINEPREFIX=" + WinePrefix() + " WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ";
}

std::string WindowsBinDir() {
    return HPGL2_WINDOWS_BUILD_DIR "/bin";
}

std::string WinePrefix() {
    return HPGL2_WINDOWS_BUILD_DIR "/wine-prefix";
}

HostRun RunHost(Host host, const ScratchDir& dir, const std::string& appDir,
                const std::string& arguments, const std::string& environment) {
    const bool windows = host == Host::Windows;
    const std::string program =
        windows ? std::string(HPGL2_WINE) + " " + WindowsBinDir() + "/plothost.exe"
                : std::string(HPGL2_PLOTHOST_PATH);
    const std::string tag = windows ? "windows" : "linux";
    const std::string command =
        "cd " + dir.path() + " && env " + (windows ? WineEnvironment() : std::string()) +
        environment + " " + program + " --app-dir " + appDir + " --data-dir " + dir.path() +
        "/data-" + tag + " " + arguments + " > " + dir.path() + "/stdout-" + tag + ".txt 2> " +
        dir.path() + "/stderr-" + tag + ".txt < /dev/null";
    HostRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(dir.path() + "/stdout-" + tag + ".txt");
    run.errors = ReadText(dir.path() + "/stderr-" + tag + ".txt");
    return run;
}

void StopWineServer() {
    const std::string command =
        "env " + WineEnvironment() + HPGL2_WINESERVER + " -k > /dev/null 2>&1 < /dev/null";
    [[maybe_unused]] const int status = std::system(command.c_str());
}

namespace {

// One prefix for the whole suite, made before the first test: a new prefix
// takes Wine some seconds to set up, and two programs started at once into
// one that is not there yet (a host and the dialog probe) fail. Its server
// is stopped when the suite ends.
class WineSuite : public ::testing::Environment {
public:
    void SetUp() override {
        const std::string command = "env " + WineEnvironment() + HPGL2_WINE +
                                    " wineboot --init > /dev/null 2>&1 < /dev/null; env " +
                                    WineEnvironment() + HPGL2_WINESERVER +
                                    " -w > /dev/null 2>&1 < /dev/null";
        [[maybe_unused]] const int status = std::system(command.c_str());
    }
    void TearDown() override { StopWineServer(); }
};
const auto* const kWineSuite = ::testing::AddGlobalTestEnvironment(new WineSuite);

}  // namespace

// "plothost.exe configure" under Wine on a real X server: the module's
// settings dialog, its advanced options and custom paper dialogs are the
// system's windows, made from the module's own resources in the user's
// language. dialog_probe.exe plays the user; snapshots of every dialog are
// kept in the Windows build's test-artifacts/ folder.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>
#include <sstream>
#include <thread>

#include "picture/plot_image.h"
#include "support/test_files.h"
#include "windows/wine_run.h"

namespace {

const std::string kConfig = HPGL2_SOURCE_DIR "/config";

// What dialog_probe.exe printed of each dialog it waited for: the caption
// and the controls' texts by id.
struct ShownDialog {
    std::string caption;
    std::map<int, std::string> controls;
};

struct Probe {
    int status = -1;
    std::vector<ShownDialog> shown;
    std::string out;
};

// dialog_probe.exe with its steps, on the dialog in front.
Probe RunProbe(const ScratchDir& dir, const std::string& steps) {
    const std::string command = "cd " + dir.path() + " && env " + WineEnvironment() + HPGL2_WINE +
                                " " + WindowsBinDir() + "/dialog_probe.exe " + steps +
                                " > probe.txt 2> probe-errors.txt < /dev/null";
    Probe probe;
    const int raw = std::system(command.c_str());
    probe.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(dir.path() + "/probe.txt", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        probe.out += line + "\n";
        if (line.rfind("== ", 0) == 0) {
            probe.shown.push_back({line.substr(3), {}});
        } else if (!probe.shown.empty()) {
            const size_t tab = line.find('\t');
            const size_t second = line.find('\t', tab == std::string::npos ? tab : tab + 1);
            if (second != std::string::npos)
                probe.shown.back().controls[std::atoi(line.c_str())] = line.substr(second + 1);
        }
    }
    return probe;
}

// The probe's 32-bit top-down BMP as a PNG of the artefacts; false when it
// is no picture or a picture of one colour (nothing painted).
bool KeepSnapshot(const std::string& bmp, const std::string& png) {
    std::ifstream in(bmp, std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54) return false;
    int32_t width, height;
    std::memcpy(&width, &b[18], 4);
    std::memcpy(&height, &b[22], 4);
    height = -height;
    if (width <= 0 || height <= 0 || b.size() < 54 + size_t(width) * size_t(height) * 4)
        return false;
    plot::Image image(width, height);
    std::set<uint32_t> colours;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        uint32_t pixel;
        std::memcpy(&pixel, &b[54 + 4 * i], 4);
        image.pixels[i] = pixel & 0xFFFFFF;
        if (colours.size() < 3) colours.insert(pixel & 0xFFFFFF);
    }
    std::filesystem::create_directories(std::filesystem::path(png).parent_path());
    std::string error;
    return plot::SavePng(image, png, &error) && colours.size() >= 3;
}

// The dialog's message for a refused value, as the Linux build's scripted
// run of the same dialog reports it (after "plothost: memory=abc: ", which
// names the refused field on the command line).
std::string LinuxMessage(const ScratchDir& dir, const std::string& locale) {
    const HostRun run =
        RunHost(Host::Linux, dir, kConfig, "settings --set transaction=auto --set memory=abc",
                "LC_ALL=" + locale);
    const std::string first = run.errors.substr(0, run.errors.find('\n'));
    const std::string prefix = "plothost: memory=abc: ";
    return first.rfind(prefix, 0) == 0 ? first.substr(prefix.size()) : first;
}

// Dialog and control ids of the module's resource script.
constexpr int kAdvance = 1019, kCustomized = 1004, kAuto = 1012, kMemory = 1013;
constexpr int kUncompressed = 1021, kPaperWidth = 3008, kOk = 1;
constexpr int kMessageText = 0xFFFF;  // the static text of a message box

TEST(WindowsDialogs, ShownInEveryLanguageAndRefuseAsOnLinux) {
    const std::string artifacts = HPGL2_TEST_ARTIFACT_DIR;
    std::set<std::string> captions;
    for (const char* locale : {"C.UTF-8", "zh_CN.UTF-8", "zh_TW.UTF-8", "ja_JP.UTF-8"}) {
        SCOPED_TRACE(locale);
        const std::string tag = std::string(locale).substr(0, std::string(locale).find('.'));
        ScratchDir dir;
        const std::string expectedMessage = LinuxMessage(dir, locale);
        // The host runs on while the probe works its dialogs.
        const std::string start = "cd " + dir.path() + " && (env " + WineEnvironment() +
                                  "LC_ALL=" + locale + " " + HPGL2_WINE + " " + WindowsBinDir() +
                                  "/plothost.exe --app-dir " + kConfig + " --data-dir " +
                                  dir.path() +
                                  "/data configure --driver 1 > host.txt 2>&1 "
                                  "< /dev/null; echo $? > host-status.txt) &";
        ASSERT_EQ(std::system(start.c_str()), 0);

        // The user's round: the settings dialog, its advanced options and
        // custom paper dialogs, each closed again, then a memory size the
        // dialog refuses with the module's own message box, and Cancel.
        const std::string steps = "wait 60000 snapshot settings.bmp open " +
                                  std::to_string(kAdvance) + " snapshot advanced.bmp close open " +
                                  std::to_string(kCustomized) + " snapshot paper.bmp close click " +
                                  std::to_string(kAuto) + " settext " + std::to_string(kMemory) +
                                  " abc open " + std::to_string(kOk) +
                                  " snapshot refused.bmp close wait 10000 close";
        Probe probe = RunProbe(dir, steps);
        EXPECT_EQ(probe.status, 0) << probe.out;
        ASSERT_EQ(probe.shown.size(), 5u) << probe.out;
        EXPECT_TRUE(probe.shown[0].controls.count(kAdvance) &&
                    probe.shown[0].controls.count(kCustomized));
        EXPECT_TRUE(probe.shown[1].controls.count(kUncompressed)) << "advanced options";
        EXPECT_TRUE(probe.shown[2].controls.count(kPaperWidth)) << "custom paper";
        const auto message = probe.shown[3].controls.find(kMessageText);
        ASSERT_NE(message, probe.shown[3].controls.end()) << "no message box";
        EXPECT_EQ(message->second, expectedMessage);
        // The settings dialog stays open on the refused value.
        EXPECT_TRUE(probe.shown[4].controls.count(kMemory));
        captions.insert(probe.shown[0].caption);
        for (const char* name : {"settings", "advanced", "paper", "refused"})
            EXPECT_TRUE(KeepSnapshot(dir.path() + "/" + name + ".bmp",
                                     artifacts + "/" + name + "-" + tag + ".png"))
                << name;

        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(dir.path() + "/host-status.txt") &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::ifstream status(dir.path() + "/host-status.txt");
        int code = -1;
        status >> code;
        EXPECT_EQ(code, 0) << "plothost.exe configure did not end with the dialog";
    }
    EXPECT_EQ(captions.size(), 4u) << "the four languages show four captions";
}

}  // namespace

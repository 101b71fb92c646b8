// The Windows build under Wine against the Linux build: the same commands
// print the same, vector plots are the same bytes (or, with text, whose
// glyphs come from GDI there, the same ink), a page rendered in the
// computer by Wine's GDI has the ink of the Linux page, and bad input fails
// the same way on both.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "picture/image_compare.h"
#include "reader/plot_reader.h"
#include "support/test_files.h"
#include "windows/wine_run.h"

namespace {

const std::string kConfig = HPGL2_SOURCE_DIR "/config";
const std::string kData = HPGL2_TEST_DATA_DIR;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// The metafile with each extended pen (EMR_EXTCREATEPEN) made a plain pen
// of the same style, width and colour (EMR_CREATEPEN). 64-bit Wine reads the
// extended pen's record through the 64-bit EMREXTCREATEPEN, four bytes off,
// and drops every such pen: its GDI is compared with ours on pens it reads.
std::string WithPlainPens(const std::string& emf) {
    const auto u32 = [](const std::string& b, size_t at) {
        uint32_t v;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    const auto put = [](std::string* b, uint32_t v) { b->append(reinterpret_cast<char*>(&v), 4); };
    std::string out;
    for (size_t at = 0; at + 8 <= emf.size();) {
        const uint32_t type = u32(emf, at), size = u32(emf, at + 4);
        if (size < 8 || at + size > emf.size()) break;
        if (type == 95 && size >= 52) {  // EMR_EXTCREATEPEN
            const uint32_t style = u32(emf, at + 28) & 0x0F;
            put(&out, 38);  // EMR_CREATEPEN
            put(&out, 28);
            put(&out, u32(emf, at + 8));                      // ihPen
            put(&out, style == 7 || style == 8 ? 0 : style);  // user styles as solid
            put(&out, u32(emf, at + 32));                     // the width
            put(&out, 0);
            put(&out, u32(emf, at + 40));  // the colour
        } else {
            out.append(emf, at, size);
        }
        at += size;
    }
    const uint32_t total = static_cast<uint32_t>(out.size());
    std::memcpy(out.data() + 48, &total, 4);  // ENHMETAHEADER.nBytes
    return out;
}

// Ink F1 of two plots rendered alike: the harmonic mean of the share of
// one's ink the other has within two pixels, both ways.
double InkF1(const std::string& plotA, const std::string& plotB, int dpi) {
    plot::RenderOptions options;
    options.dpi = dpi;
    const plot::Image a = plot::FirstPage(plot::RenderPlotFile(plotA, options));
    const plot::Image b = plot::FirstPage(plot::RenderPlotFile(plotB, options));
    const plot::ImageComparison c = plot::CompareImages(a, b);
    EXPECT_TRUE(c.ok) << c.error;
    if (c.coverage + c.precision <= 0) return 0;
    return 2 * c.coverage * c.precision / (c.coverage + c.precision);
}

TEST(WindowsHost, ReportsAsLinux) {
    const std::string commands[] = {"drivers", "caps", "caps 2", "papers", "papers --driver 3"};
    for (const std::string& command : commands) {
        ScratchDir dir;
        const HostRun linux = RunHost(Host::Linux, dir, kConfig, command);
        const HostRun windows = RunHost(Host::Windows, dir, kConfig, command);
        EXPECT_EQ(linux.status, 0) << command << ": " << linux.errors;
        EXPECT_EQ(windows.status, linux.status) << command << ": " << windows.errors;
        EXPECT_EQ(windows.out, linux.out) << command;
        EXPECT_FALSE(linux.out.empty()) << command;
    }
}

// Every sample drawing plotted in vector mode on the first plotter.
TEST(WindowsHost, VectorPlotsAsLinux) {
    struct Case {
        const char* drawing;
        const char* options;
        bool hasText;  // glyph outlines: FreeType on Linux, GDI on Windows
    } const cases[] = {
        {"tiger.emf", "", false},
        {"tiger.emf", "--paper A3 --landscape --dpi 600", false},
        {"cadplan.emf", "", true},
        {"text_latin_cjk.emf", "", true},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const std::string drawing = kData + "/" + c.drawing;
        const std::string common = std::string(" ") + c.options;
        const HostRun linux =
            RunHost(Host::Linux, dir, kConfig, "plot " + drawing + " -o linux.plt" + common);
        const HostRun windows =
            RunHost(Host::Windows, dir, kConfig, "plot " + drawing + " -o windows.plt" + common);
        SCOPED_TRACE(std::string(c.drawing) + common);
        ASSERT_EQ(linux.status, 0) << linux.errors;
        ASSERT_EQ(windows.status, 0) << windows.errors;
        const std::string linuxPlot = dir.path() + "/linux.plt";
        const std::string windowsPlot = dir.path() + "/windows.plt";
        if (!c.hasText) {
            EXPECT_TRUE(Bytes(windowsPlot) == Bytes(linuxPlot))
                << Bytes(windowsPlot).size() << " bytes on Windows, " << Bytes(linuxPlot).size()
                << " on Linux";
        } else {
            EXPECT_GE(InkF1(windowsPlot, linuxPlot, 100), 0.99);
        }
    }
}

// Text that needs shaping (text_scripts.emf: Arabic with a number inside
// the right-to-left line, Hebrew, Devanagari, Thai, a line of both
// directions), ordered and shaped by Uniscribe on Windows, against
// LibreOffice's own picture of the drawing and against the Linux plot.
// Some faces differ (Wine, as Windows, does not take Noto Sans Arabic for
// ANSI text), so the bounds are lower than the Linux build's 0.99; the
// characters drawn one by one in logical order (words of Arabic and Hebrew
// mirrored, Arabic letters unjoined, Devanagari vowel signs after their
// consonants) gave 0.90 and 0.87.
TEST(WindowsHost, ScriptTextShapedAsOnLinux) {
    ScratchDir dir;
    const std::string command = "plot " + kData + "/text_scripts.emf -o ";
    const HostRun linux = RunHost(Host::Linux, dir, kConfig, command + "linux.plt");
    const HostRun windows = RunHost(Host::Windows, dir, kConfig, command + "windows.plt");
    ASSERT_EQ(linux.status, 0) << linux.errors;
    ASSERT_EQ(windows.status, 0) << windows.errors;
    EXPECT_EQ(windows.errors.find("skipped"), std::string::npos) << windows.errors;
    const plot::PlotRendering rendering = plot::RenderPlotFile(dir.path() + "/windows.plt", 2);
    ASSERT_TRUE(rendering.ok) << rendering.error;
    // The picture is 160 x 100 mm in 605 x 378 pixels; the plot's page is
    // the printable area of A4, 200 x 263 mm, from the same corner.
    plot::CompareOptions options;
    options.placement = {0, 0, 756, 994};
    const plot::ImageComparison c = plot::ComparePlotToReference(
        plot::FirstPage(rendering), kData + "/text_scripts.png", options);
    ASSERT_TRUE(c.ok) << c.error;
    EXPECT_GE(2 * c.coverage * c.precision / (c.coverage + c.precision), 0.95) << c.ToString();
    EXPECT_GE(InkF1(dir.path() + "/windows.plt", dir.path() + "/linux.plt", 100), 0.97);
}

// "Transaction in computer": Wine's GDI renders the page (PlayEnhMetaFile
// into memory DCs), Linux's raster GDI renders it there.
TEST(WindowsHost, WholePageRenderedByWinesGdi) {
    ScratchDir dir;
    std::ofstream(dir.path() + "/tiger.emf", std::ios::binary)
        << WithPlainPens(Bytes(kData + "/tiger.emf"));
    const std::string args = "plot tiger.emf --driver \"DesignJet 750C Raster\" ";
    const HostRun linux = RunHost(Host::Linux, dir, kConfig, args + "-o linux.plt");
    const HostRun windows = RunHost(Host::Windows, dir, kConfig, args + "-o windows.plt");
    ASSERT_EQ(linux.status, 0) << linux.errors;
    ASSERT_EQ(windows.status, 0) << windows.errors;
    EXPECT_GE(InkF1(dir.path() + "/windows.plt", dir.path() + "/linux.plt", 100), 0.99);
}

// What must fail fails alike: the same messages, the same exit status, no
// plot left behind.
TEST(WindowsHost, BadInputFailsAsOnLinux) {
    const std::string good = Bytes(kConfig + "/hpgl2.ini");
    std::string broken = good;
    // A settings record whose bytes do not add up to its checksum.
    broken.replace(broken.find("COLOR=1"), 7, "COLOR=1\nALLSETTING=00112233");
    // A drawing that fails half way: past the middle, a record selects an
    // object that was never made, so half the drawing has reached the
    // driver when the player stops.
    std::string failing = Bytes(kData + "/tiger.emf");
    bool corrupted = false;
    for (size_t at = 0; at + 12 <= failing.size();) {
        uint32_t type, size, index;
        std::memcpy(&type, &failing[at], 4);
        std::memcpy(&size, &failing[at + 4], 4);
        std::memcpy(&index, &failing[at + 8], 4);
        if (size < 8) break;
        if (at > failing.size() / 2 && type == 37 /* EMR_SELECTOBJECT */ && index < 0x80000000u) {
            const uint32_t missing = 0x7FFF;
            std::memcpy(&failing[at + 8], &missing, 4);
            corrupted = true;
            break;
        }
        at += size;
    }
    ASSERT_TRUE(corrupted);
    struct Case {
        const char* what;
        std::string ini;  // "" leaves no hpgl2.ini
        bool failingDrawing;
    } const cases[] = {
        {"no hpgl2.ini", "", false},
        {"a broken settings record", broken, false},
        {"a metafile that fails half way", good, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::filesystem::create_directories(dir.path() + "/app");
        if (!c.ini.empty()) {
            std::ofstream(dir.path() + "/app/hpgl2.ini", std::ios::binary) << c.ini;
            std::filesystem::copy_file(kConfig + "/paper.ini", dir.path() + "/app/paper.ini");
        }
        std::ofstream(dir.path() + "/drawing.emf", std::ios::binary)
            << (c.failingDrawing ? failing : Bytes(kData + "/tiger.emf"));
        const std::string app = dir.path() + "/app";
        const HostRun linux = RunHost(Host::Linux, dir, app, "plot drawing.emf -o linux.plt");
        const HostRun windows = RunHost(Host::Windows, dir, app, "plot drawing.emf -o windows.plt");
        EXPECT_EQ(windows.status, linux.status);
        std::string windowsErrors = windows.errors;
        for (size_t at; (at = windowsErrors.find("windows.plt")) != std::string::npos;)
            windowsErrors.replace(at, 11, "linux.plt");
        EXPECT_EQ(windowsErrors, linux.errors);
        if (c.failingDrawing || c.ini.empty()) {
            EXPECT_NE(linux.status, 0);
            EXPECT_FALSE(Exists(dir.path() + "/linux.plt"));
            EXPECT_FALSE(Exists(dir.path() + "/windows.plt"));
            EXPECT_FALSE(Exists(dir.path() + "/windows.plt.tmp"));
        }
    }
}

}  // namespace

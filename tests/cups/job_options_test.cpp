// The PPDs as made from hpgl2.ini, installed by "cmake --install" and
// checked by cupstestppd, and a job's options read against them into the
// settings the driver's dialogs and page set-up take.
#include <filesystem>
#include <gtest/gtest.h>

#include "filter/job_request.h"
#include "plothost/plothost_run.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

const std::string kPpd = std::string(HPGL2_PPD_DIR) + "/DesignJet_750C.ppd";

TEST(Ppds, InstalledOnePerPlotterAndCupstestppdPasses) {
    ScratchDir dir;
    const std::string prefix = dir.path() + "/usr";
    const std::string install = std::string(HPGL2_CMAKE_COMMAND) + " --install " +
                                HPGL2_BINARY_DIR + " --prefix " + prefix + " > " + dir.path() +
                                "/install.txt 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << ReadWhole(dir.path() + "/install.txt");
    for (const char* file :
         {"lib/cups/filter/emftohpgl2", "lib/cups/filter/rastertohpgl2",
          "share/cups/mime/hpgl2.types", "lib/HPGL2.pxr", "share/hpgl2/hpgl2.ini"})
        EXPECT_TRUE(fs::exists(prefix + "/" + file)) << file;
    int ppds = 0;
    for (const auto& entry : fs::directory_iterator(prefix + "/share/ppd/hpgl2")) {
        ++ppds;
        // -R: the filters the PPD names are looked for under the prefix.
        const std::string check = "cupstestppd -R " + dir.path() + " " + entry.path().string() +
                                  " > " + dir.path() + "/check.txt 2>&1";
        EXPECT_EQ(std::system(check.c_str()), 0) << ReadWhole(dir.path() + "/check.txt");
    }
    EXPECT_EQ(ppds, 4);  // the plotters of config/hpgl2.ini
}

struct OptionsCase {
    const char* options;
    const char* paper;
    int dpi;
    const char* field;  // a dialog field and the value it gets
    const char* value;
};

TEST(JobOptions, ReachTheSettingsAsTheDialogsTakeThem) {
    PpdFile ppd;
    std::string error;
    ASSERT_TRUE(ReadPpd(kPpd, &ppd, &error)) << error;
    const OptionsCase cases[] = {
        {"", "A4", 300, "transaction", "0"},  // the plotter's own settings
        {"PageSize=A0 Resolution=600dpi", "A0", 600, "colour", "1"},
        {"media=iso_a3_297x420mm", "A3", 300, "colour", "1"},
        {"media=A1,Roll", "A1", 300, "colour", "1"},
        {"PageRegion=Letter printer-resolution=150x150dpi", "Letter", 150, "colour", "1"},
        {"ColorModel=Gray", "A4", 300, "colour", "2"},
        {"print-color-mode=bi-level", "A4", 300, "colour", "0"},
        {"HPGL2Transaction=Computer", "A4", 300, "transaction", "1"},
        {"HPGL2Compression=BestFit HPGL2Trim=Model3", "A4", 300, "compression", "4"},
        {"HPGL2Trim=model3", "A4", 300, "trim", "3"},
        {"HPGL2InkedArea=True", "A4", 300, "inkedarea", "1"},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(c.options);
        JobRequest request;
        ASSERT_TRUE(BuildJobRequest(ppd, c.options, &request, &error)) << error;
        EXPECT_EQ(request.plotter, "DesignJet 750C");
        EXPECT_EQ(request.paper, c.paper);
        EXPECT_EQ(request.dpi, c.dpi);
        EXPECT_EQ(request.Field(c.field), c.value);
    }
    JobRequest landscape;
    ASSERT_TRUE(BuildJobRequest(ppd, "orientation-requested=4 scaling=50", &landscape, &error));
    EXPECT_EQ(landscape.orientation, Orientation::Landscape);
    EXPECT_EQ(landscape.scale, ScaleChoice::Fixed);
    EXPECT_DOUBLE_EQ(landscape.fixedScale, 0.5);

    // A value the queue does not offer names the option and what it offers.
    const std::pair<const char*, const char*> refused[] = {
        {"PageSize=A9", "PageSize=A9: this queue offers A4, A3"},
        {"media=tabloidish", "media=tabloidish: this plotter has no such paper"},
        {"Resolution=333dpi", "Resolution=333dpi: this queue offers 96dpi"},
        {"ColorModel=CMYK", "ColorModel=CMYK: this queue offers RGB, Gray, BlackWhite"},
        {"HPGL2DataMode=Planar", "HPGL2DataMode=Planar"},
        {"orientation-requested=7", "orientation-requested=7"},
        {"scaling=0", "scaling=0"},
    };
    for (const auto& [options, message] : refused) {
        JobRequest request;
        EXPECT_FALSE(BuildJobRequest(ppd, options, &request, &error)) << options;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
    PpdFile foreign;
    ASSERT_TRUE(ParsePpd("*OpenUI *PageSize: PickOne\n*PageSize A4: \"\"\n*CloseUI: *PageSize\n",
                         &foreign, &error));
    JobRequest request;
    EXPECT_FALSE(BuildJobRequest(foreign, "", &request, &error));
    EXPECT_NE(error.find("names no plotter"), std::string::npos) << error;
}

}  // namespace

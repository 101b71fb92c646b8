// "plothost settings", "configure" and "papers add|change|delete" end to
// end, and the per-user settings store they keep.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "commands/command_line.h"
#include "commands/driver_dialog_ids.h"
#include "host/settings_store.h"
#include "plothost_run.h"
#include "support/test_files.h"
#include "ui/module_resources.h"
#include "ui/module_strings.h"
#include "ui/resources/resource_ids.h"

namespace {

// plothost without a display, in the given locale ("LANG=C").
PlothostRun Plothost(const ScratchDir& dir, const std::string& arguments,
                     const std::string& environment = "LC_ALL=C.UTF-8") {
    return RunPlothostIn(dir, arguments, "-u DISPLAY -u WAYLAND_DISPLAY " + environment);
}

bool HasSettingsFile(const ScratchDir& dir) {
    struct stat st;
    return stat((dir.path() + "/data/plothost-settings.ini").c_str(), &st) == 0;
}

// Chinese characters of three bytes each, and texts of 499 bytes and more.
std::string Chinese(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\xE4\xB8\xAD";  // 中
    return text;
}
const std::string kFits = Chinese(166) + "A";  // 499 bytes

TEST(SettingsCommand, ShowsTheValuesChosenByNumberNameOrTheTextShown) {
    struct Case {
        std::string arguments;
        std::vector<std::string> shown;
        std::string environment = "LC_ALL=C.UTF-8";
    };
    const Case cases[] = {
        {"--driver 1",
         {"  resolution   300 dpi\n", "  paper        ISO A4 (9)\n", "  orientation  portrait\n",
          "  transaction  0 (Transaction in plot)\n", "  memory       512KB\n",
          "  trim         7 (Model 7)\n", "  controlcode  \"\"\n"}},
        {"--set paper=66 --set resolution=custom --set 'transaction=Transaction in computer' "
         "--set colour=0 --set datamode='plane by plane' --set shade=1 --set headmask=7",
         {"  paper        ISO A2 (66)\n", "  resolution   1000 dpi\n",
          "  transaction  1 (Transaction in computer)\n", "  colour       0 (Black and white)\n",
          "  datamode     2 (plane by plane)\n", "  shade        1 (Gray)\n",
          "  headmask     7\n"}},
        // Several fields of one call all stick, in any order.
        {"--set resolution=800 --set paper='ISO A3' --set colour=grey",
         {"  resolution   800 dpi\n", "  paper        ISO A3 (8)\n", "  colour       2 (Gray)\n"}},
        {"--set colour=grey --set paper='ISO A3' --set resolution=800",
         {"  resolution   800 dpi\n", "  paper        ISO A3 (8)\n", "  colour       2 (Gray)\n"}},
        {"--set paper='ISO A3' --set resolution=800 --set colour=grey",
         {"  resolution   800 dpi\n", "  paper        ISO A3 (8)\n", "  colour       2 (Gray)\n"}},
        // Choices ignore letter case; papers are found as plot finds them.
        {"--set orientation=LANDSCAPE --set paper=a3",
         {"  paper        ISO A3 (8)\n", "  orientation  landscape\n"}},
        // A PJL text of up to 499 bytes is taken.
        {"--set pjlcontrol=1 --set 'controlcode=" + kFits + "'",
         {"  controlcode  \"" + kFits + "\"\n"}},
        {"--set pjlcontrol=1 --set 'controlcode=" + std::string(499, 'A') + "'",
         {"  controlcode  \"" + std::string(499, 'A') + "\"\n"}},
        // The custom resolution is chosen in every language.
        {"--set resolution=custom", {"  resolution   1000 dpi\n"}, "LC_ALL=ja_JP.UTF-8"},
        // カスタム, as the Japanese dialog names it
        {"--set resolution=\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0",
         {"  resolution   1000 dpi\n"},
         "LC_ALL=ja_JP.UTF-8"},
        {"--set resolution=\xE8\x87\xAA\xE8\xA8\x82",
         {"  resolution   1000 dpi\n"},
         "LC_ALL=zh_TW.UTF-8"},
        {"--set resolution=800", {"  resolution   800 dpi\n"}, "LC_ALL=zh_CN.UTF-8"},
        {"--set resolution=600dpi", {"  resolution   600 dpi\n"}, "LC_ALL=zh_CN.UTF-8"},
        {"", {"(\xE5\xBD\xA9\xE8\x89\xB2)"}, "LC_ALL=zh_TW.UTF-8"},  // colour: 彩色
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ScratchDir dir;
        const PlothostRun run = Plothost(dir, "settings " + c.arguments, c.environment);
        ASSERT_EQ(run.status, 0) << run.errors;
        for (const std::string& line : c.shown) EXPECT_TRUE(Contains(run.out, line)) << run.out;
    }
}

TEST(SettingsCommand, ChangedSettingsAreKeptAndUsedOnLaterRuns) {
    ScratchDir dir;
    PlothostRun run =
        Plothost(dir,
                 "settings --set resolution=600 --set colour=grey "
                 "--set transaction=auto --set memory=64k --set orientation=landscape "
                 "--set paper='ISO A3' --set trim='model 2' --set pjlcontrol=1 "
                 "--set 'controlcode=@PJL\\n'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Contains(run.out, "  colour       2 (Gray)\n"));
    EXPECT_TRUE(Contains(run.out, "  memory       64KB\n"));
    EXPECT_TRUE(Contains(run.out, "  controlcode  \"@PJL\\n\"\n"));
    EXPECT_TRUE(Contains(ReadWhole(dir.path() + "/data/plothost-settings.ini"),
                         "[HP DesignJet 750C Plus]\nDevMode="));

    run = Plothost(dir, "drivers");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Contains(run.out, "600 dpi, ISO A3 landscape")) << run.out;
    run = Plothost(dir, "settings");
    EXPECT_TRUE(Contains(run.out, "  trim         2 (Model 2)\n"));
    EXPECT_TRUE(Contains(run.out, "  pjlcontrol   1\n"));
    EXPECT_TRUE(Contains(run.out, "  orientation  landscape\n"));
    // Another plotter keeps its own settings.
    run = Plothost(dir, "settings --driver 3");
    EXPECT_TRUE(Contains(run.out, "  resolution   300 dpi\n"));
}

// A refused value prints the dialog's message, named by its field whichever
// step of the dialog found it, and nothing is stored.
TEST(SettingsCommand, RefusedValuesAreToldWithTheirFieldAndChangeNothing) {
    const std::string tooLong = ": Please enter no more than 499 characters.\n";
    struct Case {
        std::string arguments;
        int status;
        std::string message;
        std::string environment = "LC_ALL=C.UTF-8";
    };
    const Case cases[] = {
        {"--set resolution=5001", 1, "Resolution only can be set between 10~5000"},
        {"--set resolution=9", 1, "plothost: resolution=9: Resolution only can be set between "},
        {"--set resolution=abc", 1, "Please enter a positive integer."},
        {"--set transaction=auto --set memory=0KB", 1,
         "plothost: memory=0KB: Please enter a positive integer or end with KB,MB!\n"},
        {"--set transaction=auto --set 'memory=5 MB'", 1,
         "Please enter a positive integer or end with KB,MB!"},
        {"--set transaction=auto --set memory=", 1, "Memory size can not be zero!"},
        {"--set transaction=auto --set memory=123456789012345678901", 1,
         "Memory size can not too large"},
        {"--set memory=10M", 1, "automatic transaction mode"},
        {"--set headmask=-1", 1, "Please enter a positive integer."},
        {"--set headmask=abc", 1, "plothost: headmask=abc: Please enter a positive integer.\n"},
        {"--set headmask=x --set controlcode=y", 1,
         "plothost: headmask=x: Please enter a positive integer.\n"},
        {"--set paper=Nope", 1, "paper=Nope: no paper named \"Nope\""},
        {"--set paper=A9", 1, "plothost: paper=A9: no paper named \"A9\""},
        {"--set compression=9", 1,
         "plothost: compression=9: not one of the choices shown: 0 \"Uncompressed\", "
         "1 \"RL compressed\", 2 \"TIF compressed\", 3 \"Random compressed\", 4 \"Best fit\"\n"},
        {"--set colour=purple", 1,
         "colour=purple: not one of the choices shown: 0 \"Black and white\", 1 \"Color\", "
         "2 \"Gray\"\n"},
        {"--set trim=9", 1, "trim=9: not one of the choices shown: 0 \"No Clip\", 1 \"Model 1\""},
        {"--set orientation=sideways", 2, "give portrait or landscape"},
        {"--set speed=9", 2, "give FIELD=VALUE"},
        {"--set resolution", 2, "give FIELD=VALUE"},
        {"--set", 2, "--set needs a value"},
        {"--driver 99", 1, "no plotter 99"},
        // A PJL text that does not fit is refused whole.
        {"--set pjlcontrol=1 --set 'controlcode=" + std::string(600, 'A') + "'", 1, tooLong},
        {"--set pjlcontrol=1 --set 'controlcode=" + std::string(500, 'A') + "'", 1,
         // A long value is shortened in the message.
         "plothost: controlcode=" + std::string(32, 'A') + "..." + tooLong},
        {"--set pjlcontrol=1 --set 'controlcode=" + Chinese(200) + "'", 1, tooLong},
        {"--set pjlcontrol=1 --set 'controlcode=" + kFits + Chinese(1) + "'", 1, tooLong},
        // Messages come in the user's language: 解像度は 10~5000
        {"--set resolution=1", 1, "\xE8\xA7\xA3\xE5\x83\x8F\xE5\xBA\xA6\xE3\x81\xAF 10~5000",
         "LANG=ja_JP.UTF-8 LC_ALL="},
        // The framework's own messages too: 请输入一个正整数
        {"--set headmask=x", 1,
         "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE4\xB8\x80\xE4\xB8\xAA"
         "\xE6\xAD\xA3\xE6\x95\xB4\xE6\x95\xB0",
         "LC_ALL=zh_CN.UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.substr(0, 60));
        ScratchDir dir;
        const PlothostRun run = Plothost(dir, "settings " + c.arguments, c.environment);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(Contains(run.errors, c.message)) << run.errors;
        EXPECT_FALSE(Contains(run.errors, "caps")) << run.errors;
        EXPECT_FALSE(HasSettingsFile(dir));
    }
}

TEST(SettingsCommand, APaperGoneFromTheListIsToldWhenTheSettingsChange) {
    ScratchDir dir;
    PlothostRun run = Plothost(dir, "settings --set orientation=landscape");
    ASSERT_EQ(run.status, 0) << run.errors;
    run = Plothost(dir, "papers delete 'ISO A4'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(
        Contains(run.errors,
                 "plothost: warning: the settings of HP DesignJet 750C Plus use the deleted "
                 "paper \"ISO A4\" (9)"))
        << run.errors;
    // Every plotter of the list is told, not only the one named.
    EXPECT_TRUE(Contains(run.errors, "the settings of Oce TDS600 use the deleted paper"))
        << run.errors;
    run = Plothost(dir, "settings");
    EXPECT_TRUE(Contains(run.out, "(the stored paper, number 9, is not in the paper list"))
        << run.out;
    run = Plothost(dir, "settings --set colour=grey");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors,
              "plothost: the paper of the settings, number 9, is not in the paper list: the "
              "settings now use \"ISO A3\" (8)\n");
    // The sheet is not turned with it.
    EXPECT_TRUE(Contains(run.out, "  orientation  landscape\n")) << run.out;
    // Once switched, later changes say nothing more.
    run = Plothost(dir, "settings --set colour=colour");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
}

TEST(ConfigureCommand, WithoutADisplaySuggestsACommandThatWorksWhenPasted) {
    ScratchDir dir;
    const PlothostRun run = Plothost(dir, "configure --driver 2");
    EXPECT_EQ(run.status, 1);
    // The line that runs the settings command, as printed.
    const std::string start = "\n  plothost ";
    const size_t at = run.errors.find(start);
    ASSERT_NE(at, std::string::npos) << run.errors;
    const size_t end = run.errors.find('\n', at + 1);
    const std::string line = run.errors.substr(at + start.size(), end - at - start.size());
    EXPECT_TRUE(
        Contains(line, "settings --driver 'HP DesignJet 750C Plus (rendered in the computer)'"))
        << line;
    const std::string command = std::string("cd ") + dir.path() +
                                " && env -u DISPLAY -u WAYLAND_DISPLAY " + HPGL2_PLOTHOST_PATH +
                                " " + line + " > " + dir.path() + "/pasted.txt 2>&1";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << ReadWhole(dir.path() + "/pasted.txt");
    EXPECT_TRUE(Contains(ReadWhole(dir.path() + "/pasted.txt"),
                         "HP DesignJet 750C Plus (rendered in the computer)\n  resolution"));
}

TEST(ConfigureCommand, ShellWordsReadBackAsGiven) {
    const std::pair<const char*, const char*> cases[] = {
        {"HP", "HP"},
        {"--data-dir=/tmp/a_b.c", "--data-dir=/tmp/a_b.c"},
        {"Oce TDS600", "'Oce TDS600'"},
        {"it's (new)", "'it'\\''s (new)'"},
        {"$HOME `x` \\ \"", "'$HOME `x` \\ \"'"},
        {"", "''"},
    };
    ScratchDir dir;
    for (const auto& [word, quoted] : cases) {
        SCOPED_TRACE(word);
        EXPECT_EQ(ShellWord(word), quoted);
        const std::string command =
            "printf %s " + ShellWord(word) + " > " + dir.path() + "/word.txt";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(ReadWhole(dir.path() + "/word.txt"), word);
    }
}

// A paper is found by its name in any letter case, with or without the
// prefix the dialog gave it.
TEST(PapersCommand, AddChangeAndDeleteGoThroughTheCustomPaperDialog) {
    ScratchDir dir;
    PlothostRun run = Plothost(dir, "papers add --name Poster --width 500 --height 700");
    ASSERT_EQ(run.status, 0) << run.errors;
    // Sizes unlike the current paper's make the dialog mark the name as custom.
    EXPECT_TRUE(Contains(run.out, "added   660 \"Custom Poster\" 500.0 x 700.0 mm printable"))
        << run.out;
    EXPECT_TRUE(Contains(ReadWhole(dir.path() + "/data/paper.ini"),
                         "660, 5100, 7340, 170, 170, 50, 50, Custom Poster\n"));

    run = Plothost(dir, "papers change 'custom POSTER' --height 710");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Contains(run.out, "changed 660 \"Custom Poster\" 500.0 x 710.0 mm")) << run.out;
    run = Plothost(dir, "papers change poster --width 400");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Contains(run.out, "changed 660 \"Custom Poster\" 400.0 x 710.0 mm")) << run.out;
    const std::string papers = ReadWhole(dir.path() + "/data/paper.ini");
    for (const char* name : {"Poster", "Custom Poster", "POSTER"}) {
        SCOPED_TRACE(name);
        run =
            Plothost(dir, std::string("papers add --name '") + name + "' --width 500 --height 800");
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Contains(run.errors, "plothost: the paper list has \"Custom Poster\" (660)"))
            << run.errors;
        EXPECT_EQ(ReadWhole(dir.path() + "/data/paper.ini"), papers);
    }

    run = Plothost(dir, "papers delete Poster");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Contains(run.out, "deleted 660 \"Custom Poster\"")) << run.out;
    EXPECT_FALSE(Contains(ReadWhole(dir.path() + "/data/paper.ini"), "Poster"));
    // The settings were not touched by any of it.
    EXPECT_FALSE(HasSettingsFile(dir));
}

TEST(PapersCommand, LinesThatAreNoPaperStayAndAreToldOnce) {
    ScratchDir dir;
    Plothost(dir, "drivers");  // the data folder gets its paper list
    const std::string extra =
        "; my own papers\n"
        "700, 6100, wide, 50, 50, 50, 50, Roll 610 (width to be measured)\n";
    {
        std::ofstream out(dir.path() + "/data/paper.ini", std::ios::app);
        out << extra;
    }
    const PlothostRun run = Plothost(dir, "papers add --name Poster --width 500 --height 700");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, dir.path() +
                              "/data/paper.ini:23: skipped a paper: the length is not a whole "
                              "number\n");
    EXPECT_TRUE(Contains(ReadWhole(dir.path() + "/data/paper.ini"),
                         extra + "660, 5100, 7340, 170, 170, 50, 50, Custom Poster\n"));
}

TEST(PapersCommand, RefusedEditsPrintTheDialogsMessage) {
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"papers add --name P --width 0 --height 10", 1,
         "Please enter an positive integer between 1~32767"},
        {"papers add --name P --width 10 --height wide", 1, "Please enter a number."},
        {"papers add --name '   ' --width 10 --height 10", 1, "Paper name can not be null"},
        {"papers add --name 'ISO A4' --width 10 --height 10", 1, "papers change"},
        {"papers add --name P --width 10", 2, "needs --name, --width and --height"},
        {"papers delete 'ISO A9'", 1,
         "Specified paper is not existing\xEF\xBC\x8C"
         "can not be deleted"},
        {"papers change 'ISO A9' --width 10", 1, "no paper \"ISO A9\""},
        {"papers delete", 2, "needs the paper's name"},
        {"papers delete 'ISO A4' --width 3", 2, "unexpected argument --width"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ScratchDir dir;
        Plothost(dir, "drivers");  // the data folder gets its paper list
        const std::string papers = ReadWhole(dir.path() + "/data/paper.ini");
        const PlothostRun run = Plothost(dir, c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(Contains(run.errors, c.message)) << run.errors;
        EXPECT_EQ(ReadWhole(dir.path() + "/data/paper.ini"), papers);
    }
}

TEST(PapersCommand, UnwritablePaperFileGivesTheDialogsMessageAndLosesNothing) {
    ScratchDir dir;
    Plothost(dir, "drivers");
    const std::string papers = ReadWhole(dir.path() + "/data/paper.ini");
    ASSERT_FALSE(papers.empty());
    // Where the list's temporary file goes, a folder: the write fails.
    ASSERT_EQ(mkdir((dir.path() + "/data/paper.ini.tmp").c_str(), 0700), 0);
    for (const char* edit :
         {"papers add --name Poster --width 500 --height 700", "papers delete 'ISO A3'"}) {
        const PlothostRun run = Plothost(dir, edit);
        EXPECT_EQ(run.status, 1) << edit;
        EXPECT_TRUE(Contains(run.errors, "Fail to Modify paper config information")) << run.errors;
    }
    EXPECT_EQ(ReadWhole(dir.path() + "/data/paper.ini"), papers);
}

TEST(SettingsStore, RoundTripsAndSkipsWhatIsNotARecord) {
    StoredSettings settings;
    settings["Plotter A"] = std::vector<BYTE>(sizeof(DEVMODEA), 0xA5);
    settings["B"] = std::vector<BYTE>(sizeof(DEVMODEA) + 3, 0x01);
    std::vector<std::string> problems;
    EXPECT_EQ(ParseStoredSettings(FormatStoredSettings(settings), &problems), settings);
    EXPECT_TRUE(problems.empty());

    const std::string hex = std::string(sizeof(DEVMODEA) * 2, 'f');
    const std::string damaged = "[Short]\nDevMode=0102\n[Odd]\nDevMode=" + hex + "A\n" +
                                "[NotHex]\nDevMode=" + std::string(hex.size(), 'G') +
                                "\nloose line\n[\n[Good]\nOther=1\nDevMode=" + hex + "\n";
    const StoredSettings parsed = ParseStoredSettings(damaged, &problems);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed.at("Good"), std::vector<BYTE>(sizeof(DEVMODEA), 0xFF));
    EXPECT_EQ(problems.size(), 6u);
}

TEST(SettingsStore, ARecordTheDriverRefusesIsReportedAndIgnored) {
    ScratchDir dir;
    ASSERT_EQ(mkdir((dir.path() + "/data").c_str(), 0700), 0);
    StoredSettings settings;
    settings["HP DesignJet 750C Plus"] = std::vector<BYTE>(sizeof(DEVMODEA), 0);  // no private part
    ASSERT_TRUE(SaveStoredSettings(dir.path() + "/data/plothost-settings.ini", settings));
    const PlothostRun run = Plothost(dir, "drivers");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(Contains(run.errors,
                         "the driver refuses the stored settings of \"HP DesignJet 750C Plus\""))
        << run.errors;
    EXPECT_TRUE(Contains(run.out, "300 dpi"));
}

TEST(DriverDialogIds, TheHostUsesTheIdsOfTheTemplates) {
    namespace dd = driver_dialog;
    EXPECT_EQ(dd::kSettings, IDD_HPGL2_CUSTOM);
    EXPECT_EQ(dd::kAdvanced, IDD_HP_ADVANCE);
    EXPECT_EQ(dd::kCustomPaper, IDD_CUSTOM_PAPER);
    EXPECT_EQ(dd::kResolutionList, IDC_RESOLUTION);
    EXPECT_EQ(dd::kResolutionEdit, IDC_CUSTOM_RESOLUTION);
    EXPECT_EQ(dd::kPaperList, IDC_PAPER);
    EXPECT_EQ(dd::kCustomizedButton, IDC_CUSTOMIZED);
    EXPECT_EQ(dd::kTransactionRadios[0], IDC_TRANSACTION_PLOT);
    EXPECT_EQ(dd::kTransactionRadios[2], IDC_TRANSACTION_AUTO);
    EXPECT_EQ(dd::kMemoryCombo, IDC_MEMORY);
    EXPECT_EQ(dd::kColourRadios[0], IDC_COLOR_BW);
    EXPECT_EQ(dd::kColourRadios[2], IDC_COLOR_GRAY);
    EXPECT_EQ(dd::kAdvanceButton, IDC_ADVANCE);
    EXPECT_EQ(dd::kCompressionRadios[4], IDC_BEST_FIT);
    EXPECT_EQ(dd::kDataModeRadios[3], IDC_DIRECT_BY_RGB);
    EXPECT_EQ(dd::kShadeList, IDC_SHADE_MODE);
    EXPECT_EQ(dd::kTrimList, IDC_TRIM_MODE);
    EXPECT_EQ(dd::kInkedAreaCheck, IDC_INKED_AREA);
    EXPECT_EQ(dd::kHeadMaskEdit, IDC_CONTROL_CODE);
    EXPECT_EQ(dd::kControlCodeEdit, IDC_PJL_TEXT);
    EXPECT_EQ(dd::kPjlControlCheck, IDC_PJL_CONTROL);
    EXPECT_EQ(dd::kPaperNameCombo, IDC_PAPER_NAME);
    EXPECT_EQ(dd::kWidthEdit, IDC_EDIT_WIDTH);
    EXPECT_EQ(dd::kHeightEdit, IDC_EDIT_HEIGHT);
    EXPECT_EQ(dd::kDeleteButton, IDC_DELETE);
    const ModuleResourceScope resources;
    for (LANGID language : {MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT),
                            MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
                            MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL),
                            MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)}) {
        SetResourceLanguage(language);
        EXPECT_EQ(LoadModuleString(IDS_CUSTOM_PREFIX).str(), dd::kCustomPaperPrefix);
    }
    SetResourceLanguage(0);
}

}  // namespace

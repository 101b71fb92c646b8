// "plothost settings", "configure" and "papers add|change|delete" end to
// end, and the per-user settings store they keep.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

#include "commands/command_line.h"
#include "commands/driver_dialog_ids.h"
#include "host/settings_store.h"
#include "plothost_run.h"
#include "support/test_files.h"
#include "ui/module_resources.h"
#include "ui/module_strings.h"
#include "ui/resources/resource_ids.h"

namespace {

using HostRun = PlothostRun;

// plothost without a display, in the given locale ("LANG=C").
HostRun Plothost(const ScratchDir& dir, const std::string& arguments,
                 const std::string& environment = "LC_ALL=C.UTF-8") {
    return RunPlothostIn(dir, arguments, "-u DISPLAY -u WAYLAND_DISPLAY " + environment);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(SettingsCommand, ShowsWhatTheDialogsShow) {
    ScratchDir dir;
    const HostRun run = Plothost(dir, "settings --driver 1");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "  resolution   300 dpi\n"));
    EXPECT_TRUE(Has(run.out, "  paper        ISO A4 (9)\n"));
    EXPECT_TRUE(Has(run.out, "  orientation  portrait\n"));
    EXPECT_TRUE(Has(run.out, "  transaction  0 (Transaction in plot)\n"));
    EXPECT_TRUE(Has(run.out, "  memory       512KB\n"));
    EXPECT_TRUE(Has(run.out, "  trim         7 (Model 7)\n"));
    EXPECT_TRUE(Has(run.out, "  controlcode  \"\"\n"));
}

TEST(SettingsCommand, ChangedSettingsAreKeptAndUsedOnLaterRuns) {
    ScratchDir dir;
    HostRun run = Plothost(dir,
                           "settings --set resolution=600 --set colour=grey --set transaction=auto "
                           "--set memory=64k --set orientation=landscape --set paper='ISO A3' "
                           "--set trim='model 2' --set pjlcontrol=1 --set 'controlcode=@PJL\\n'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "  colour       2 (Gray)\n"));
    EXPECT_TRUE(Has(run.out, "  memory       64KB\n"));
    EXPECT_TRUE(Has(run.out, "  controlcode  \"@PJL\\n\"\n"));
    EXPECT_TRUE(Has(ReadWhole(dir.path() + "/data/plothost-settings.ini"),
                    "[HP DesignJet 750C Plus]\nDevMode="));

    run = Plothost(dir, "drivers");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "600 dpi, ISO A3 landscape")) << run.out;
    run = Plothost(dir, "settings");
    EXPECT_TRUE(Has(run.out, "  trim         2 (Model 2)\n"));
    EXPECT_TRUE(Has(run.out, "  pjlcontrol   1\n"));
    EXPECT_TRUE(Has(run.out, "  orientation  landscape\n"));
    // Another plotter keeps its own settings.
    run = Plothost(dir, "settings --driver 3");
    EXPECT_TRUE(Has(run.out, "  resolution   300 dpi\n"));
}

TEST(SettingsCommand, ChoicesByNumberOrByTheTextShown) {
    ScratchDir dir;
    const HostRun run = Plothost(dir,
                                 "settings --set paper=66 --set resolution=custom --set "
                                 "'transaction=Transaction in computer' --set colour=0 "
                                 "--set datamode='plane by plane' --set shade=1 --set headmask=7");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "  paper        ISO A2 (66)\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "  resolution   1000 dpi\n"));
    EXPECT_TRUE(Has(run.out, "  transaction  1 (Transaction in computer)\n"));
    EXPECT_TRUE(Has(run.out, "  colour       0 (Black and white)\n"));
    EXPECT_TRUE(Has(run.out, "  datamode     2 (plane by plane)\n"));
    EXPECT_TRUE(Has(run.out, "  shade        1 (Gray)\n"));
    EXPECT_TRUE(Has(run.out, "  headmask     7\n"));
}

TEST(SettingsCommand, RejectedValuesPrintTheDialogsMessageAndChangeNothing) {
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"--set resolution=5001", 1, "Resolution only can be set between 10~5000"},
        {"--set resolution=9", 1, "Resolution only can be set between 10~5000"},
        {"--set resolution=abc", 1, "Please enter a positive integer."},
        {"--set transaction=auto --set memory=0KB", 1,
         "Please enter a positive integer or end with KB,MB!"},
        {"--set transaction=auto --set 'memory=5 MB'", 1,
         "Please enter a positive integer or end with KB,MB!"},
        {"--set transaction=auto --set memory=", 1, "Memory size can not be zero!"},
        {"--set transaction=auto --set memory=123456789012345678901", 1,
         "Memory size can not too large"},
        {"--set memory=10M", 1, "automatic transaction mode"},
        {"--set headmask=-1", 1, "Please enter a positive integer."},
        {"--set paper=Nope", 1, "paper=Nope: no paper named \"Nope\""},
        {"--set compression=9", 1, "not one of the choices"},
        {"--set colour=purple", 1, "not one of the choices"},
        {"--set orientation=sideways", 2, "give portrait or landscape"},
        {"--set speed=9", 2, "give FIELD=VALUE"},
        {"--set resolution", 2, "give FIELD=VALUE"},
        {"--set", 2, "--set needs a value"},
        {"--driver 99", 1, "no plotter 99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ScratchDir dir;
        const HostRun run = Plothost(dir, std::string("settings ") + c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(Has(run.errors, c.message)) << run.errors;
        struct stat st;
        EXPECT_NE(stat((dir.path() + "/data/plothost-settings.ini").c_str(), &st), 0);
    }
}

TEST(SettingsCommand, MessagesComeInTheUsersLanguage) {
    ScratchDir dir;
    HostRun run = Plothost(dir, "settings --set resolution=1", "LANG=ja_JP.UTF-8 LC_ALL=");
    EXPECT_EQ(run.status, 1);
    // 解像度は 10~5000 の範囲で設定してください
    EXPECT_TRUE(Has(run.errors, "\xE8\xA7\xA3\xE5\x83\x8F\xE5\xBA\xA6\xE3\x81\xAF 10~5000"))
        << run.errors;
    // The framework's own messages follow the language too: 请输入一个正整数。
    run = Plothost(dir, "settings --set headmask=x", "LC_ALL=zh_CN.UTF-8");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.errors,
                    "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE4\xB8\x80\xE4\xB8\xAA"
                    "\xE6\xAD\xA3\xE6\x95\xB4\xE6\x95\xB0"))
        << run.errors;
    run = Plothost(dir, "settings", "LC_ALL=zh_TW.UTF-8");
    EXPECT_TRUE(Has(run.out, "(\xE5\xBD\xA9\xE8\x89\xB2)")) << run.out;  // colour: 彩色
}

TEST(SettingsCommand, SeveralFieldsOfOneCallAllStickInAnyOrder) {
    for (const char* arguments : {"--set resolution=800 --set paper='ISO A3' --set colour=grey",
                                  "--set colour=grey --set paper='ISO A3' --set resolution=800",
                                  "--set paper='ISO A3' --set resolution=800 --set colour=grey"}) {
        SCOPED_TRACE(arguments);
        ScratchDir dir;
        const HostRun run = Plothost(dir, std::string("settings ") + arguments);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_TRUE(Has(run.out, "  resolution   800 dpi\n")) << run.out;
        EXPECT_TRUE(Has(run.out, "  paper        ISO A3 (8)\n"));
        EXPECT_TRUE(Has(run.out, "  colour       2 (Gray)\n"));
    }
}

TEST(SettingsCommand, ChoicesIgnoreLetterCaseAndPapersAreFoundAsPlotFindsThem) {
    ScratchDir dir;
    HostRun run = Plothost(dir, "settings --set orientation=LANDSCAPE --set paper=a3");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "  paper        ISO A3 (8)\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "  orientation  landscape\n"));
    run = Plothost(dir, "settings --set paper=A9");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.errors, "plothost: paper=A9: no paper named \"A9\"")) << run.errors;
    EXPECT_TRUE(Has(run.errors, "(see 'plothost papers')"));
    EXPECT_FALSE(Has(run.errors, "caps"));
}

TEST(SettingsCommand, ARefusedValueNamesItsField) {
    struct Case {
        const char* arguments;
        const char* message;
    };
    const Case cases[] = {
        {"--set headmask=abc", "plothost: headmask=abc: Please enter a positive integer.\n"},
        {"--set resolution=9", "plothost: resolution=9: Resolution only can be set between "},
        {"--set transaction=auto --set memory=0KB",
         "plothost: memory=0KB: Please enter a positive integer or end with KB,MB!\n"},
        // A refused value of one field is told with that field, whichever
        // step of the dialog found it.
        {"--set headmask=x --set controlcode=y",
         "plothost: headmask=x: Please enter a positive integer.\n"},
        {"--set compression=9",
         "plothost: compression=9: not one of the choices shown: 0 \"Uncompressed\", "
         "1 \"RL compressed\", 2 \"TIF compressed\", 3 \"Random compressed\", "
         "4 \"Best fit\"\n"},
        {"--set colour=purple",
         "colour=purple: not one of the choices shown: 0 \"Black and white\", 1 \"Color\", "
         "2 \"Gray\"\n"},
        {"--set trim=9", "trim=9: not one of the choices shown: 0 \"No Clip\", 1 \"Model 1\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ScratchDir dir;
        const HostRun run = Plothost(dir, std::string("settings ") + c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Has(run.errors, c.message)) << run.errors;
    }
}

TEST(SettingsCommand, APjlTextThatDoesNotFitIsRefusedWhole) {
    const std::string kChinese = "\xE4\xB8\xAD";  // 中, three bytes
    std::string chinese200, fits;
    for (int i = 0; i < 200; ++i) chinese200 += kChinese;
    for (int i = 0; i < 166; ++i) fits += kChinese;
    fits += "A";  // 499 bytes
    struct Case {
        std::string text;
        bool fitting;
    };
    const Case cases[] = {
        {std::string(600, 'A'), false},
        {std::string(500, 'A'), false},
        {chinese200, false},
        {fits + kChinese, false},
        {fits, true},
        {std::string(499, 'A'), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        ScratchDir dir;
        const HostRun run =
            Plothost(dir, "settings --set pjlcontrol=1 --set 'controlcode=" + c.text + "'");
        if (c.fitting) {
            ASSERT_EQ(run.status, 0) << run.errors;
            EXPECT_TRUE(Has(run.out, "  controlcode  \"" + c.text + "\"\n"));
            continue;
        }
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Has(run.errors, ": Please enter no more than 499 characters.\n")) << run.errors;
        EXPECT_TRUE(Has(run.errors, "plothost: controlcode=")) << run.errors;
        struct stat st;
        EXPECT_NE(stat((dir.path() + "/data/plothost-settings.ini").c_str(), &st), 0);
    }
}

TEST(SettingsCommand, APaperGoneFromTheListIsToldWhenTheSettingsChange) {
    ScratchDir dir;
    HostRun run = Plothost(dir, "settings --set orientation=landscape");
    ASSERT_EQ(run.status, 0) << run.errors;
    run = Plothost(dir, "papers delete 'ISO A4'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.errors,
                    "plothost: warning: the settings of HP DesignJet 750C Plus use the deleted "
                    "paper \"ISO A4\" (9)"))
        << run.errors;
    // Every plotter of the list is told, not only the one named.
    EXPECT_TRUE(Has(run.errors, "the settings of Oce TDS600 use the deleted paper")) << run.errors;
    run = Plothost(dir, "settings");
    EXPECT_TRUE(Has(run.out, "(the stored paper, number 9, is not in the paper list")) << run.out;
    run = Plothost(dir, "settings --set colour=grey");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors,
              "plothost: the paper of the settings, number 9, is not in the paper list: the "
              "settings now use \"ISO A3\" (8)\n");
    // The sheet is not turned with it.
    EXPECT_TRUE(Has(run.out, "  orientation  landscape\n")) << run.out;
    // Once switched, later changes say nothing more.
    run = Plothost(dir, "settings --set colour=colour");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
}

TEST(SettingsCommand, CustomResolutionIsChosenInEveryLanguage) {
    struct Case {
        const char* locale;
        const char* value;
        const char* shown;
    };
    const Case cases[] = {
        {"LC_ALL=ja_JP.UTF-8", "custom", "  resolution   1000 dpi\n"},
        {"LC_ALL=ja_JP.UTF-8", "\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0",
         "  resolution   1000 dpi\n"},  // カスタム, as the Japanese dialog names it
        {"LC_ALL=zh_TW.UTF-8", "\xE8\x87\xAA\xE8\xA8\x82", "  resolution   1000 dpi\n"},
        {"LC_ALL=zh_CN.UTF-8", "800", "  resolution   800 dpi\n"},
        {"LC_ALL=zh_CN.UTF-8", "600dpi", "  resolution   600 dpi\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ScratchDir dir;
        const HostRun run =
            Plothost(dir, std::string("settings --set resolution=") + c.value, c.locale);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_TRUE(Has(run.out, c.shown)) << run.out;
    }
}

TEST(ConfigureCommand, WithoutADisplaySuggestsACommandThatWorksWhenPasted) {
    ScratchDir dir;
    const HostRun run = Plothost(dir, "configure --driver 2");
    EXPECT_EQ(run.status, 1);
    // The line that runs the settings command, as printed.
    const std::string start = "\n  plothost ";
    const size_t at = run.errors.find(start);
    ASSERT_NE(at, std::string::npos) << run.errors;
    const size_t end = run.errors.find('\n', at + 1);
    const std::string line = run.errors.substr(at + start.size(), end - at - start.size());
    EXPECT_TRUE(Has(line, "settings --driver 'HP DesignJet 750C Plus (rendered in the computer)'"))
        << line;
    const std::string command = std::string("cd ") + dir.path() +
                                " && env -u DISPLAY -u WAYLAND_DISPLAY " + HPGL2_PLOTHOST_PATH +
                                " " + line + " > " + dir.path() + "/pasted.txt 2>&1";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << ReadWhole(dir.path() + "/pasted.txt");
    EXPECT_TRUE(Has(ReadWhole(dir.path() + "/pasted.txt"),
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

TEST(PapersCommand, AddChangeAndDeleteGoThroughTheCustomPaperDialog) {
    ScratchDir dir;
    HostRun run = Plothost(dir, "papers add --name Poster --width 500 --height 700");
    ASSERT_EQ(run.status, 0) << run.errors;
    // Sizes unlike the current paper's make the dialog mark the name as custom.
    EXPECT_TRUE(Has(run.out, "added   660 \"Custom Poster\" 500.0 x 700.0 mm printable"))
        << run.out;
    EXPECT_TRUE(Has(ReadWhole(dir.path() + "/data/paper.ini"),
                    "660, 5100, 7340, 170, 170, 50, 50, Custom Poster\n"));

    run = Plothost(dir, "papers change 'custom POSTER' --height 710");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "changed 660 \"Custom Poster\" 500.0 x 710.0 mm")) << run.out;

    run = Plothost(dir, "papers delete 'Custom Poster'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "deleted 660"));
    EXPECT_FALSE(Has(ReadWhole(dir.path() + "/data/paper.ini"), "Poster"));
    // The settings were not touched by any of it.
    struct stat st;
    EXPECT_NE(stat((dir.path() + "/data/plothost-settings.ini").c_str(), &st), 0);
}

TEST(PapersCommand, APaperIsFoundByTheNameItWasAddedWith) {
    ScratchDir dir;
    HostRun run = Plothost(dir, "papers add --name Banner --width 500 --height 700");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "added   660 \"Custom Banner\"")) << run.out;
    run = Plothost(dir, "papers change banner --width 400");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "changed 660 \"Custom Banner\" 400.0 x 700.0 mm")) << run.out;
    const std::string papers = ReadWhole(dir.path() + "/data/paper.ini");
    for (const char* name : {"Banner", "Custom Banner", "BANNER"}) {
        SCOPED_TRACE(name);
        run =
            Plothost(dir, std::string("papers add --name '") + name + "' --width 500 --height 800");
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Has(run.errors, "plothost: the paper list has \"Custom Banner\" (660)"))
            << run.errors;
        EXPECT_EQ(ReadWhole(dir.path() + "/data/paper.ini"), papers);
    }
    run = Plothost(dir, "papers delete Banner");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Has(run.out, "deleted 660 \"Custom Banner\"")) << run.out;
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
    const HostRun run = Plothost(dir, "papers add --name Poster --width 500 --height 700");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string told = dir.path() + "/data/paper.ini:" + std::to_string(23) +
                             ": skipped a paper: the length is not a whole number\n";
    EXPECT_EQ(run.errors, told);
    EXPECT_TRUE(Has(ReadWhole(dir.path() + "/data/paper.ini"),
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
        const HostRun first = Plothost(dir, "drivers");  // the data folder gets its paper list
        const std::string papers = ReadWhole(dir.path() + "/data/paper.ini");
        const HostRun run = Plothost(dir, c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(Has(run.errors, c.message)) << run.errors;
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
    HostRun run = Plothost(dir, "papers add --name Poster --width 500 --height 700");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.errors, "Fail to Modify paper config information")) << run.errors;
    run = Plothost(dir, "papers delete 'ISO A3'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.errors, "Fail to Modify paper config information")) << run.errors;
    EXPECT_EQ(ReadWhole(dir.path() + "/data/paper.ini"), papers);
}

TEST(SettingsStore, RoundTripsAndSkipsWhatIsNotARecord) {
    StoredSettings settings;
    settings["Plotter A"] = std::vector<BYTE>(sizeof(DEVMODEA), 0xA5);
    settings["B"] = std::vector<BYTE>(sizeof(DEVMODEA) + 3, 0x01);
    const std::string text = FormatStoredSettings(settings);
    std::vector<std::string> problems;
    EXPECT_EQ(ParseStoredSettings(text, &problems), settings);
    EXPECT_TRUE(problems.empty());

    const std::string damaged =
        "[Short]\nDevMode=0102\n"
        "[Odd]\nDevMode=" +
        std::string(sizeof(DEVMODEA) * 2 + 1, 'A') +
        "\n"
        "[NotHex]\nDevMode=" +
        std::string(sizeof(DEVMODEA) * 2, 'G') +
        "\n"
        "loose line\n[\n[Good]\nOther=1\nDevMode=" +
        std::string(sizeof(DEVMODEA) * 2, 'f') + "\n";
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
    const HostRun run = Plothost(dir, "drivers");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(
        Has(run.errors, "the driver refuses the stored settings of \"HP DesignJet 750C Plus\""))
        << run.errors;
    EXPECT_TRUE(Has(run.out, "300 dpi"));
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

#include <cstring>
#include <functional>
#include <memory>

#include "dialog_harness.h"
#include "driver/hpgl2_driver.h"
#include "support/scratch_config.h"
#include "ui/hpgl2_custom_dlg.h"
#include "ui/resources/resource_ids.h"

namespace {

const char kPapers[] =
    "9, 2100, 2970, 170, 171, 50, 51, ISO A4\n"
    "8, 2970, 4200, 100, 101, 102, 103, ISO A3\n";

class SettingsDialog : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeDriver("HP DesignJet", kPapers);
    }
    void MakeDriver(const std::string& name, const std::string& papers) {
        config.Write("hpgl2.ini", "[P]\nName=" + name + "\nPaperFile=paper.ini\n");
        config.Write("paper.ini", papers);
        driver = std::make_unique<HPGL2Driver>(nullptr, config.Ini().c_str(), "P");
        FillDefaultDevMode(&driver->m_devmode);
    }
    HPGL2DevMode& Record() { return driver->m_devmode; }
    INT_PTR Run() {
        CDlgHpgl2Custom dialog(nullptr);
        dialog.m_pDriver = driver.get();
        dialog.m_pDevMode = &driver->m_devmode;
        return dialog.DoModal();
    }

    ScratchConfig config;
    std::unique_ptr<HPGL2Driver> driver;
};

TEST_F(SettingsDialog, ShowsTheStoredSettings) {
    Record().nMarginTop = 1;  // the paper's margins are shown, not the record's
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.m_strCaption, "KEST HP Plotter Driver");
        EXPECT_EQ(
            ItemsOf(d, IDC_RESOLUTION),
            (std::vector<std::string>{"Custom", "96  dpi", "150  dpi", "300  dpi", "400  dpi",
                                      "600  dpi", "720  dpi", "1200 dpi", "1016 dpi", "2400 dpi"}));
        EXPECT_EQ(TextOf(d, IDC_RESOLUTION), "300  dpi");
        EXPECT_FALSE(d.Control(IDC_CUSTOM_RESOLUTION)->m_bEnabled);
        EXPECT_EQ(ItemsOf(d, IDC_MEMORY), (std::vector<std::string>{"128KB", "512KB", "1MB", "5M",
                                                                    "10M", "30M", "50M", "70M"}));
        EXPECT_EQ(TextOf(d, IDC_MEMORY), "512KB");
        EXPECT_FALSE(d.Control(IDC_MEMORY)->m_bVisible);
        EXPECT_EQ(d.Control(IDC_TRANSACTION_PLOT)->m_nCheck, BST_CHECKED);
        EXPECT_EQ(d.Control(IDC_COLOR_COLOR)->m_nCheck, BST_CHECKED);
        EXPECT_EQ(d.Control(IDC_COLOR_BW)->m_nCheck, BST_UNCHECKED);
        EXPECT_EQ(ItemsOf(d, IDC_PAPER), (std::vector<std::string>{"ISO A4", "ISO A3"}));
        EXPECT_EQ(TextOf(d, IDC_PAPER), "ISO A4");
        EXPECT_EQ(TextOf(d, IDC_MARGIN_TOP), "170");
        EXPECT_EQ(TextOf(d, IDC_MARGIN_BOTTOM), "171");
        EXPECT_EQ(TextOf(d, IDC_MARGIN_LEFT), "50");
        EXPECT_EQ(TextOf(d, IDC_MARGIN_RIGHT), "51");
        d.UserChoose(IDC_PAPER, 1);
        EXPECT_EQ(TextOf(d, IDC_MARGIN_TOP), "100");
        EXPECT_EQ(TextOf(d, IDC_MARGIN_RIGHT), "103");
    });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(SettingsDialog, StoredResolutionSelectsItsEntry) {
    struct Case {
        SHORT stored;
        const char* entry;
        const char* shown;
        bool editEnabled;
    };
    const Case cases[] = {
        {1000, "Custom", "1000", true}, {600, "600  dpi", "600", false},
        {500, "Custom", "500", true},   {2400, "2400 dpi", "2400", false},
        {0, "300  dpi", "300", false},  // a value below 1 plots at 300
        {-7, "300  dpi", "300", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Record().dm.dmPrintQuality = c.stored;
        Then([&](DialogWindow& d) {
            EXPECT_EQ(TextOf(d, IDC_RESOLUTION), c.entry);
            EXPECT_EQ(TextOf(d, IDC_CUSTOM_RESOLUTION), c.shown);
            EXPECT_EQ(d.Control(IDC_CUSTOM_RESOLUTION)->m_bEnabled, c.editEnabled);
        });
        Run();
    }
}

TEST_F(SettingsDialog, CustomResolutionIsNamedInTheDialogsLanguageAndStillTyped) {
    struct Case {
        LANGID language;
        const char* custom;
    };
    const Case cases[] = {
        {MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), "Custom"},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
         "\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89"},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), "\xE8\x87\xAA\xE8\xA8\x82"},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
         "\xE3\x82\xAB\xE3\x82\xB9\xE3\x82\xBF\xE3\x83\xA0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.custom);
        SetResourceLanguage(c.language);
        Record().dm.dmPrintQuality = 500;
        Then([&](DialogWindow& d) {
            EXPECT_EQ(ItemsOf(d, IDC_RESOLUTION).front(), c.custom);
            EXPECT_EQ(TextOf(d, IDC_RESOLUTION), c.custom);
            EXPECT_EQ(ItemsOf(d, IDC_RESOLUTION)[5], "600  dpi");
            d.UserChoose(IDC_RESOLUTION, 5);
            EXPECT_FALSE(d.Control(IDC_CUSTOM_RESOLUTION)->m_bEnabled);
            d.UserChoose(IDC_RESOLUTION, 0);
            EXPECT_EQ(TextOf(d, IDC_CUSTOM_RESOLUTION), "1000");
            EXPECT_TRUE(d.UserType(IDC_CUSTOM_RESOLUTION, "800"));
            d.UserClick(IDOK);
        });
        EXPECT_EQ(Run(), IDOK);
        EXPECT_EQ(Record().dm.dmPrintQuality, 800);
        EXPECT_EQ(Record().dm.dmYResolution, 800);
    }
}

TEST_F(SettingsDialog, ResolutionIsKeptBetween10And5000) {
    struct Case {
        const char* typed;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {"5000", nullptr},
        {"10", nullptr},
        {"5001", "Resolution only can be set between 10~5000"},
        {"9", "Resolution only can be set between 10~5000"},
        {"", "Please enter a positive integer."},
        {"99999999999", "Please enter a positive integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FillDefaultDevMode(&Record());
        presenter.messages.clear();
        int focus = 0;
        Then([&](DialogWindow& d) {
            d.UserChoose(IDC_RESOLUTION, 0);
            EXPECT_TRUE(d.Control(IDC_CUSTOM_RESOLUTION)->m_bEnabled);
            EXPECT_EQ(TextOf(d, IDC_CUSTOM_RESOLUTION), "1000");
            EXPECT_FALSE(d.UserType(IDC_CUSTOM_RESOLUTION, "12a"));  // digits only
            d.UserType(IDC_CUSTOM_RESOLUTION, c.typed);
            d.UserClick(IDOK);
            focus = d.m_nFocusId;
        });
        const INT_PTR result = Run();
        if (!c.message) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(Record().dm.dmPrintQuality, std::atoi(c.typed));
            EXPECT_EQ(Record().dm.dmYResolution, std::atoi(c.typed));
        } else {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(presenter.messages, std::vector<std::string>{c.message});
            EXPECT_EQ(focus, IDC_CUSTOM_RESOLUTION);
            EXPECT_EQ(Record().dm.dmPrintQuality, 300);
        }
    }
}

TEST_F(SettingsDialog, TableResolutionReplacesTheTypedOne) {
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_RESOLUTION, 0);
        d.UserType(IDC_CUSTOM_RESOLUTION, "9");  // refused if it were read
        d.UserChoose(IDC_RESOLUTION, 8);
        EXPECT_EQ(TextOf(d, IDC_CUSTOM_RESOLUTION), "1016");
        EXPECT_FALSE(d.Control(IDC_CUSTOM_RESOLUTION)->m_bEnabled);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record().dm.dmPrintQuality, 1016);
}

// A choice that other controls depend on updates those and nothing else:
// values typed or picked but not yet confirmed stay as the user left them.
TEST_F(SettingsDialog, ChangingPaperOrResolutionKeepsEverythingElseTheUserEntered) {
    struct Case {
        const char* what;
        std::function<void(DialogWindow&)> change;
        const char* resolution;  // shown after the change
        const char* marginTop;
        SHORT paper;  // stored by OK
    };
    const Case cases[] = {
        {"another paper", [](DialogWindow& d) { d.UserChoose(IDC_PAPER, 1); }, "800", "100", 8},
        {"the custom paper dialog",
         [](DialogWindow& d) {
             d.UserChoose(IDC_PAPER, 1);
             d.UserClick(IDC_CUSTOMIZED);
         },
         "800", "100", 8},
        {"a listed resolution", [](DialogWindow& d) { d.UserChoose(IDC_RESOLUTION, 5); }, "600",
         "170", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillDefaultDevMode(&Record());
        Then([&](DialogWindow& d) {
            d.UserChoose(IDC_RESOLUTION, 0);
            d.UserType(IDC_CUSTOM_RESOLUTION, "800");
            d.UserClick(IDC_COLOR_GRAY);
            d.UserClick(IDC_TRANSACTION_AUTO);
            d.UserType(IDC_MEMORY, "64k");
            c.change(d);
            EXPECT_EQ(TextOf(d, IDC_CUSTOM_RESOLUTION), c.resolution);
            EXPECT_EQ(TextOf(d, IDC_MARGIN_TOP), c.marginTop);
            EXPECT_EQ(d.Control(IDC_COLOR_GRAY)->m_nCheck, BST_CHECKED);
            EXPECT_EQ(TextOf(d, IDC_MEMORY), "64k");
            d.UserClick(IDOK);
        });
        Then([](DialogWindow& d) { d.UserClick(IDCANCEL); });  // the custom paper dialog
        EXPECT_EQ(Run(), IDOK);
        presenter.dialogScripts.clear();
        EXPECT_EQ(Record().dm.dmPrintQuality, std::atoi(c.resolution));
        EXPECT_EQ(Record().nColorMode, 2);
        EXPECT_EQ(Record().nMemorySize, 65536);
        EXPECT_EQ(Record().dm.dmPaperSize, c.paper);
    }
}

TEST_F(SettingsDialog, StoredMemorySizeOutsideTheTableIsAddedAsAnEntry) {
    struct Case {
        LONG stored;
        const char* shown;
        size_t entries;
    };
    const Case cases[] = {
        {10485760, "10M", 8}, {3072, "3KB", 9}, {1000, "1000", 9},
        {0, "1MB", 8},        {-1, "-1", 9},    {-1024, "-1KB", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Record().nMemorySize = c.stored;
        Then([&](DialogWindow& d) {
            EXPECT_EQ(TextOf(d, IDC_MEMORY), c.shown);
            EXPECT_EQ(ItemsOf(d, IDC_MEMORY).size(), c.entries);
            d.UserClick(IDOK);
        });
        EXPECT_EQ(Run(), IDOK);
        // Outside the automatic mode the size is stored as it stood.
        EXPECT_EQ(Record().nMemorySize, c.stored);
    }
}

TEST_F(SettingsDialog, MemoryTextIsCheckedInTheAutomaticModeOnly) {
    struct Case {
        const char* typed;
        LONG bytes;           // stored when accepted
        const char* message;  // null: accepted
    };
    const char kMalformed[] = "Please enter a positive integer or end with KB,MB!";
    const Case cases[] = {
        {"64k", 65536, nullptr},
        {"64KB", 65536, nullptr},
        {"2Mb", 2097152, nullptr},
        {"3m", 3145728, nullptr},
        {" 4096 ", 4096, nullptr},
        {"2047M", 2146435072, nullptr},
        {"K5", 0, kMalformed},
        {"5 MB", 0, kMalformed},
        {"0KB", 0, kMalformed},
        {"0", 0, kMalformed},
        {"5GB", 0, kMalformed},
        {"1K2", 0, kMalformed},
        {"12.5M", 0, kMalformed},
        {"", 0, "Memory size can not be zero!"},
        {"   ", 0, "Memory size can not be zero!"},
        {"1234567890123456789", 0, nullptr},  // 19 characters: checked as a number
        {"12345678901234567890", 0, "Memory size can not too large"},
        {"2048M", 0, "Memory size can not too large"},  // beyond the record's field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FillDefaultDevMode(&Record());
        Record().nTransaction = kTransactionAuto;
        presenter.messages.clear();
        int focus = 0;
        Then([&](DialogWindow& d) {
            EXPECT_TRUE(d.Control(IDC_MEMORY)->m_bVisible);
            EXPECT_EQ(d.Control(IDC_TRANSACTION_AUTO)->m_nCheck, BST_CHECKED);
            d.UserType(IDC_MEMORY, c.typed);
            d.UserClick(IDOK);
            focus = d.m_nFocusId;
        });
        const INT_PTR result = Run();
        if (std::string(c.typed) == "1234567890123456789") {
            EXPECT_EQ(presenter.messages,
                      std::vector<std::string>{"Memory size can not too large"});
            continue;
        }
        if (!c.message) {
            EXPECT_EQ(result, IDOK);
            EXPECT_TRUE(presenter.messages.empty());
            EXPECT_EQ(Record().nMemorySize, c.bytes);
        } else {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(presenter.messages, std::vector<std::string>{c.message});
            EXPECT_EQ(focus, IDC_MEMORY);
            EXPECT_EQ(Record().nMemorySize, 524288);
        }
    }
}

TEST_F(SettingsDialog, TransactionModeHidesTheMemoryComboAndSkipsItsChecks) {
    Record().nTransaction = kTransactionAuto;
    Then([](DialogWindow& d) {
        d.UserType(IDC_MEMORY, "lots");
        d.UserClick(IDC_TRANSACTION_COMPUTER);
        EXPECT_FALSE(d.Control(IDC_MEMORY)->m_bVisible);
        EXPECT_EQ(d.Control(IDC_TRANSACTION_AUTO)->m_nCheck, BST_UNCHECKED);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_TRUE(presenter.messages.empty());
    EXPECT_EQ(Record().nTransaction, kTransactionInComputer);
    EXPECT_EQ(Record().nMemorySize, 524288);

    Then([](DialogWindow& d) {
        d.UserClick(IDC_TRANSACTION_AUTO);
        EXPECT_TRUE(d.Control(IDC_MEMORY)->m_bVisible);
        d.UserChoose(IDC_MEMORY, 5);
        d.UserClick(IDC_TRANSACTION_PLOT);
        EXPECT_FALSE(d.Control(IDC_MEMORY)->m_bVisible);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record().nTransaction, kTransactionInPlot);
    EXPECT_EQ(Record().nMemorySize, 31457280);  // the chosen entry, stored unchecked
}

TEST_F(SettingsDialog, OkWritesEveryValueAndRefreshesThePaperGeometry) {
    Record().dm.dmOrientation = DMORIENT_LANDSCAPE;
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER, 1);
        d.UserChoose(IDC_RESOLUTION, 5);
        d.UserClick(IDC_COLOR_GRAY);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    const HPGL2DevMode& r = Record();
    EXPECT_EQ(r.dm.dmPaperSize, 8);
    EXPECT_EQ(r.dm.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(r.dm.dmPrintQuality, 600);
    EXPECT_EQ(r.nColorMode, 2);
    EXPECT_EQ(r.nTransaction, 0);
    EXPECT_EQ(r.nClipMode, 7);
    // The refresh turned A3 for landscape: width and length swap, margins turn.
    EXPECT_EQ(r.nPaperWidth, 4200);
    EXPECT_EQ(r.nPaperLength, 2970);
    EXPECT_EQ(r.nMarginLeft, 100);  // the paper's top margin
    EXPECT_EQ(r.nPaperCode, 8);
    EXPECT_EQ(r.dmSaved.dmPaperSize, 8);
}

TEST_F(SettingsDialog, CancelLeavesTheRecordUntouched) {
    const HPGL2DevMode before = Record();
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER, 1);
        d.UserClick(IDC_COLOR_BW);
        d.UserClick(IDC_TRANSACTION_AUTO);
        d.UserClick(IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(std::memcmp(&before, &Record(), sizeof before), 0);
}

TEST_F(SettingsDialog, ValuesOutsideEveryTableShowNoChoiceAndStayAsStored) {
    Record().nColorMode = 7;
    Record().nCompression = 9;
    Record().nDataMode = -4;
    Record().nClipMode = 12;
    Record().bRenderMode = 200;
    Record().nTransaction = 5;
    Record().dm.dmPaperSize = 4242;
    Then([](DialogWindow& d) {
        for (int id : {IDC_COLOR_BW, IDC_COLOR_COLOR, IDC_COLOR_GRAY})
            EXPECT_EQ(d.Control(id)->m_nCheck, BST_UNCHECKED);
        EXPECT_EQ(d.Control(IDC_TRANSACTION_PLOT)->m_nCheck, BST_CHECKED);
        EXPECT_EQ(TextOf(d, IDC_PAPER), "ISO A4");  // an unknown paper shows the first
        d.UserClick(IDC_ADVANCE);
        d.UserClick(IDOK);
    });
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.Control(IDC_TRIM_MODE)->m_nCurSel, CB_ERR);
        EXPECT_EQ(d.Control(IDC_SHADE_MODE)->m_nCurSel, CB_ERR);
        for (int id = IDC_UNCOMPRESSED; id <= IDC_DIRECT_BY_RGB; ++id)
            EXPECT_EQ(d.Control(id)->m_nCheck, BST_UNCHECKED);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    const HPGL2DevMode& r = Record();
    EXPECT_EQ(r.nColorMode, 7);
    EXPECT_EQ(r.nCompression, 9);
    EXPECT_EQ(r.nDataMode, -4);
    EXPECT_EQ(r.nClipMode, 12);
    EXPECT_EQ(r.bRenderMode, 200);
    EXPECT_EQ(r.nTransaction, 0);  // the radio shown is the one stored
    EXPECT_EQ(r.dm.dmPaperSize, 9);
}

// Without its paper in the list the first paper is shown and taken, but the
// orientation is no property of the paper: it stays as stored.
TEST_F(SettingsDialog, APaperGoneFromTheListKeepsTheOrientation) {
    for (SHORT orientation : {DMORIENT_LANDSCAPE, DMORIENT_PORTRAIT}) {
        SCOPED_TRACE(orientation);
        Record().dm.dmPaperSize = 4242;
        Record().dm.dmOrientation = orientation;
        Then([](DialogWindow& d) {
            EXPECT_EQ(TextOf(d, IDC_PAPER), "ISO A4");
            d.UserClick(IDOK);
        });
        EXPECT_EQ(Run(), IDOK);
        EXPECT_EQ(Record().dm.dmPaperSize, 9);
        EXPECT_EQ(Record().dm.dmOrientation, orientation);
    }
}

TEST_F(SettingsDialog, EmptyPaperListKeepsTheRecordsPaper) {
    MakeDriver("HP DesignJet", "");
    Record().dm.dmPaperSize = 8;
    Record().nMarginTop = 123;
    Then([](DialogWindow& d) {
        EXPECT_TRUE(ItemsOf(d, IDC_PAPER).empty());
        EXPECT_EQ(TextOf(d, IDC_MARGIN_TOP), "123");
        d.UserClick(IDC_COLOR_BW);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record().dm.dmPaperSize, 8);
    EXPECT_EQ(Record().nMarginTop, 123);
    EXPECT_EQ(Record().nColorMode, 0);
}

TEST_F(SettingsDialog, CustomizedButtonAddsAPaperAndSelectsIt) {
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER, 1);
        d.UserClick(IDC_CUSTOMIZED);
        EXPECT_EQ(ItemsOf(d, IDC_PAPER),
                  (std::vector<std::string>{"ISO A4", "ISO A3", "Custom Plan"}));
        EXPECT_EQ(TextOf(d, IDC_PAPER), "Custom Plan");
        EXPECT_EQ(TextOf(d, IDC_MARGIN_LEFT), "102");
        d.UserClick(IDOK);
    });
    Then([](DialogWindow& d) {
        EXPECT_EQ(TextOf(d, IDC_PAPER_NAME), "ISO A3");  // opened on the chosen paper
        d.UserType(IDC_PAPER_NAME, "Plan");
        d.UserType(IDC_EDIT_WIDTH, "500");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(presenter.dialogsShown, (std::vector<int>{IDD_HPGL2_CUSTOM, IDD_CUSTOM_PAPER}));
    EXPECT_EQ(Record().dm.dmPaperSize, 650);
    EXPECT_EQ(Record().nPaperWidth, 5000 + 102 + 103);
}

TEST_F(SettingsDialog, PaperDeletedInTheCustomPaperDialogLeavesTheListEvenOnClose) {
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER, 1);
        d.UserClick(IDC_CUSTOMIZED);
        EXPECT_EQ(ItemsOf(d, IDC_PAPER), std::vector<std::string>{"ISO A4"});
        EXPECT_EQ(TextOf(d, IDC_PAPER), "ISO A4");
        d.UserClick(IDOK);
    });
    Then([](DialogWindow& d) {
        d.UserClick(IDC_DELETE);  // ISO A3, the paper it opened on
        EXPECT_FALSE(d.Control(IDCANCEL)->m_bEnabled);
        d.UserClose();
    });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record().dm.dmPaperSize, 9);
}

TEST_F(SettingsDialog, CancelledCustomPaperDialogKeepsTheChosenPaper) {
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER, 1);
        d.UserClick(IDC_CUSTOMIZED);
        EXPECT_EQ(TextOf(d, IDC_PAPER), "ISO A3");
        d.UserClick(IDOK);
    });
    Then([](DialogWindow& d) { d.UserClick(IDCANCEL); });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record().dm.dmPaperSize, 8);
}

TEST_F(SettingsDialog, AdvanceButtonTakesValuesBackOnOkOnly) {
    Then([](DialogWindow& d) {
        d.UserClick(IDC_ADVANCE);
        d.UserClick(IDC_ADVANCE);
        d.UserClick(IDOK);
    });
    Then([](DialogWindow& d) {
        d.UserClick(IDC_BEST_FIT);
        d.UserChoose(IDC_TRIM_MODE, 0);
        d.UserClick(IDCANCEL);
    });
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.Control(IDC_RANDOM_COMPRESSED)->m_nCheck, BST_CHECKED);  // Cancel kept 3
        d.UserClick(IDC_TIF_COMPRESSED);
        d.UserChoose(IDC_SHADE_MODE, 1);
        d.UserClick(IDC_INKED_AREA);
        d.UserType(IDC_CONTROL_CODE, "4294967295");
        d.UserClick(IDC_PJL_CONTROL);
        d.UserType(IDC_PJL_TEXT, "@PJL SET RET=ON\r\n");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    const HPGL2DevMode& r = Record();
    EXPECT_EQ(r.nCompression, 2);
    EXPECT_EQ(r.nDataMode, 3);
    EXPECT_EQ(r.nClipMode, 7);
    EXPECT_EQ(r.bRenderMode, 1);
    EXPECT_EQ(r.bInkedArea, 1);
    EXPECT_EQ(r.bPjlControl, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(r.nHeadMask), 4294967295u);
    EXPECT_STREQ(r.szControlCode, "@PJL SET RET=ON\r\n");
}

TEST_F(SettingsDialog, CaptionNamesOceAndCanonPlotters) {
    struct Case {
        const char* name;
        LANGID language;
        const char* caption;
    };
    const Case cases[] = {
        {"Oce TDS600", MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), "KEST Oce Plotter Driver"},
        {"my canon ipf", MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), "KEST Canon Plotter Driver"},
        {"HP DesignJet", MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), "KEST HP Plotter Driver"},
        {"OCE 9400", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
         "KEST \xE5\xA5\xA5\xE8\xA5\xBF\xE6\x89\x93\xE5\x8D\xB0\xE9\xA9\xB1\xE5\x8A\xA8"},
        {"Canon", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
         "KEST \xE4\xBD\xB3\xE8\x83\xBD\xE6\x89\x93\xE5\x8D\xB0\xE9\xA9\xB1\xE5\x8A\xA8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeDriver(c.name, kPapers);
        SetResourceLanguage(c.language);
        std::string caption;
        Then([&](DialogWindow& d) { caption = d.m_strCaption; });
        Run();
        EXPECT_EQ(caption, c.caption);
    }
}

TEST_F(SettingsDialog, ConfigureShowsTheDialogOverTheHostsWindowAndAlwaysSucceeds) {
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.Owner(), GetDesktopWindow());
        d.UserClick(IDC_COLOR_BW);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(driver->Configure(GetDesktopWindow()), 1);
    EXPECT_EQ(Record().nColorMode, 0);
    // Without a presenter the dialog is cancelled and nothing changes.
    SetUiPresenter(nullptr);
    EXPECT_EQ(driver->Configure(nullptr), 1);
    EXPECT_EQ(Record().nColorMode, 0);
    EXPECT_EQ(presenter.dialogsShown, std::vector<int>{IDD_HPGL2_CUSTOM});
}

}  // namespace

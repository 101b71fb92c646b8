#include <sys/stat.h>

#include "dialog_harness.h"
#include "ui/custom_paper_dlg.h"
#include "ui/resources/resource_ids.h"

namespace {

const char kThreePapers[] =
    "9, 2100, 2970, 170, 170, 50, 50, ISO A4\n"
    "8, 2970, 4200, 170, 170, 50, 50, ISO A3\n"
    "650, 6000, 9000, 100, 100, 100, 100, Custom Banner\n";

// Margins are not edited in this dialog: the message says what can be done.
const char kMarginMessage[] =
    "The margins of this paper are above 200 mm, and margins cannot be changed here. Choose "
    "another paper, delete this one, or correct its margins (0~200 mm) in the paper list file.";
const char kSizeMessage[] = "Please enter an positive integer between 1~32767";

class CustomPaperDialog : public DialogTest {
protected:
    INT_PTR Run(int nPaperID = 9) {
        CCustomPaperSizeDlg dialog(paperFile.c_str(), nullptr);
        dialog.m_nPaperID = nPaperID;
        const INT_PTR result = dialog.DoModal();
        chosenPaper = dialog.m_nPaperID;
        return result;
    }
    std::string paperFile;
    int chosenPaper = -1;
};

TEST_F(CustomPaperDialog, OpensOnTheCurrentPaperWithItsSizesInMillimetres) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.Template().strCaption, "Customized Paper");
        EXPECT_EQ(ItemsOf(d, IDC_PAPER_NAME),
                  (std::vector<std::string>{"ISO A4", "ISO A3", "Custom Banner"}));
        EXPECT_EQ(TextOf(d, IDC_PAPER_NAME), "ISO A3");
        EXPECT_EQ(TextOf(d, IDC_EDIT_LEFT), "5");
        EXPECT_EQ(TextOf(d, IDC_EDIT_RIGHT), "5");
        EXPECT_EQ(TextOf(d, IDC_EDIT_TOP), "17");
        EXPECT_EQ(TextOf(d, IDC_EDIT_BOTTOM), "17");
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "287");   // (2970 - 50 - 50) / 10
        EXPECT_EQ(TextOf(d, IDC_EDIT_HEIGHT), "386");  // (4200 - 170 - 170) / 10
        // Margins are shown, not edited.
        EXPECT_FALSE(d.UserType(IDC_EDIT_LEFT, "7"));
        EXPECT_FALSE(d.UserSpin(IDC_SPIN_TOP, 1));
        d.UserChoose(IDC_PAPER_NAME, 2);
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "580");
        EXPECT_EQ(TextOf(d, IDC_EDIT_TOP), "10");
    });
    EXPECT_EQ(Run(8), IDCANCEL);
    EXPECT_EQ(presenter.dialogsShown, std::vector<int>{IDD_CUSTOM_PAPER});
}

TEST_F(CustomPaperDialog, UnknownCurrentPaperSelectsTheFirst) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) { EXPECT_EQ(TextOf(d, IDC_PAPER_NAME), "ISO A4"); });
    Run(-1);
}

TEST_F(CustomPaperDialog, OkWithoutChangeWritesNothingAndChoosesThePaper) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) { d.UserClick(IDOK); });
    EXPECT_EQ(Run(8), IDOK);
    EXPECT_EQ(chosenPaper, 8);
    EXPECT_EQ(PaperText(), kThreePapers);  // not even rewritten in the file's own form
    EXPECT_TRUE(presenter.messages.empty());
}

TEST_F(CustomPaperDialog, ChangeBelowATwentiethOfAMillimetreIsNoChange) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserType(IDC_EDIT_WIDTH, "200.04");  // shown 200
        d.UserType(IDC_EDIT_HEIGHT, "263.04");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    EXPECT_EQ(chosenPaper, 9);
    EXPECT_EQ(PaperText(), kThreePapers);
}

TEST_F(CustomPaperDialog, ChangedListedPaperBecomesANewPrefixedPaper) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserType(IDC_EDIT_WIDTH, "210.05");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    // 650 is taken: the new paper gets 651. Width 2100.5 + 50 + 50 + 0.5 -> 2201.
    EXPECT_EQ(chosenPaper, 651);
    const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
    ASSERT_EQ(papers.size(), 4u);
    EXPECT_STREQ(papers[0].szPaperName, "ISO A4");
    EXPECT_EQ(papers[0].nPaperWidth, 2100);
    EXPECT_STREQ(papers[3].szPaperName, "Custom ISO A4");
    EXPECT_EQ(papers[3].nPaperID, 651);
    EXPECT_EQ(papers[3].nPaperWidth, 2201);
    EXPECT_EQ(papers[3].nPaperLength, 2970);
    EXPECT_EQ(papers[3].nTopMargin, 170);
    EXPECT_EQ(papers[3].nLeftMargin, 50);
}

TEST_F(CustomPaperDialog, PrefixedPaperIsChangedInPlace) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER_NAME, 2);
        d.UserSpin(IDC_SPIN_HEIGHT, 1);  // 880 -> 881
        EXPECT_EQ(TextOf(d, IDC_EDIT_HEIGHT), "881");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    EXPECT_EQ(chosenPaper, 650);
    const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
    ASSERT_EQ(papers.size(), 3u);
    EXPECT_EQ(papers[2].nPaperLength, 9010);
    EXPECT_STREQ(papers[2].szPaperName, "Custom Banner");
}

TEST_F(CustomPaperDialog, TypedNameFindsItsPaperIgnoringLetterCase) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserType(IDC_PAPER_NAME, "  iso a3 ");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    // The sizes shown are A4's, so A3 takes them: it is changed in place.
    EXPECT_EQ(chosenPaper, 8);
    const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
    ASSERT_EQ(papers.size(), 3u);
    EXPECT_EQ(papers[1].nPaperWidth, 2100);
    EXPECT_EQ(papers[1].nPaperLength, 2970);
    EXPECT_STREQ(papers[1].szPaperName, "ISO A3");
}

TEST_F(CustomPaperDialog, PrefixTestRespectsLetterCase) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserType(IDC_PAPER_NAME, "custom BANNER");
        d.UserType(IDC_EDIT_WIDTH, "100");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
    ASSERT_EQ(papers.size(), 4u);
    EXPECT_STREQ(papers[3].szPaperName, "Custom custom BANNER");
    EXPECT_EQ(chosenPaper, 651);
}

TEST_F(CustomPaperDialog, NewPaperTakesTheSmallestFreeNumberFrom650) {
    paperFile = Papers(
        "653, 1000, 1000, 0, 0, 0, 0, Custom C\n"
        "650, 1000, 1000, 0, 0, 0, 0, Custom A\n"
        "651, 1000, 1000, 0, 0, 0, 0, Custom B\n");
    Then([](DialogWindow& d) {
        d.UserType(IDC_PAPER_NAME, "Poster");
        d.UserType(IDC_EDIT_WIDTH, "500");
        d.UserType(IDC_EDIT_HEIGHT, "700");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(650), IDOK);
    EXPECT_EQ(chosenPaper, 652);
    const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
    ASSERT_EQ(papers.size(), 4u);
    EXPECT_EQ(papers[3].nPaperID, 652);
    EXPECT_STREQ(papers[3].szPaperName, "Custom Poster");
    EXPECT_EQ(papers[3].nPaperWidth, 5000);
    EXPECT_EQ(papers[3].nPaperLength, 7000);
}

TEST_F(CustomPaperDialog, MarginsAbove200MillimetresAreRefusedInOrder) {
    struct Case {
        const char* line;
        int focus;  // -1: accepted
    };
    const Case cases[] = {
        {"9, 6000, 6000, 2000, 2000, 2000, 2000, Edge", -1},  // exactly 200 mm passes
        {"9, 6000, 6000, 2001, 2001, 2001, 2001, Edge", IDC_EDIT_TOP},
        {"9, 6000, 6000, 2000, 2001, 2001, 2001, Edge", IDC_EDIT_BOTTOM},
        {"9, 6000, 6000, 2000, 2000, 2001, 2001, Edge", IDC_EDIT_LEFT},
        {"9, 6000, 6000, 2000, 2000, 2000, 2001, Edge", IDC_EDIT_RIGHT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        paperFile = Papers(std::string(c.line) + "\n");
        presenter.messages.clear();
        int focus = 0;
        bool ended = true;
        Then([&](DialogWindow& d) {
            d.UserClick(IDOK);
            focus = d.m_nFocusId;
            ended = d.m_bEnded;
        });
        Run(9);
        if (c.focus < 0) {
            EXPECT_TRUE(ended);
            EXPECT_TRUE(presenter.messages.empty());
        } else {
            EXPECT_FALSE(ended);
            EXPECT_EQ(presenter.messages, std::vector<std::string>{kMarginMessage});
            EXPECT_EQ(focus, c.focus);
        }
    }
}

TEST_F(CustomPaperDialog, PrintableSizesOutside1To32767AreRefused) {
    struct Case {
        int edit;
        const char* text;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {IDC_EDIT_WIDTH, "32767", nullptr},
        {IDC_EDIT_WIDTH, "32767.1", kSizeMessage},
        {IDC_EDIT_WIDTH, "0", kSizeMessage},
        {IDC_EDIT_WIDTH, "-3", kSizeMessage},
        {IDC_EDIT_WIDTH, "abc", "Please enter a number."},
        {IDC_EDIT_WIDTH, "12,5", "Please enter a number."},
        {IDC_EDIT_WIDTH, "", "Please enter a number."},
        {IDC_EDIT_HEIGHT, "32767", nullptr},
        {IDC_EDIT_HEIGHT, "0.0", kSizeMessage},
        {IDC_EDIT_HEIGHT, "1e9", kSizeMessage},
        {IDC_EDIT_HEIGHT, "nan", "Please enter a number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.edit));
        paperFile = Papers(kThreePapers);
        presenter.messages.clear();
        int focus = 0;
        bool ended = false;
        int selStart = 1, selEnd = 1;
        Then([&](DialogWindow& d) {
            d.UserChoose(IDC_PAPER_NAME, 2);  // changes go in place, no new paper
            d.UserType(c.edit, c.text);
            d.UserClick(IDOK);
            focus = d.m_nFocusId;
            ended = d.m_bEnded;
            selStart = d.Control(c.edit)->m_nSelStart;
            selEnd = d.Control(c.edit)->m_nSelEnd;
        });
        Run(9);
        if (!c.message) {
            EXPECT_TRUE(ended);
            EXPECT_TRUE(presenter.messages.empty());
            continue;
        }
        EXPECT_FALSE(ended);
        EXPECT_EQ(presenter.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(focus, c.edit);
        EXPECT_EQ(selStart, 0);  // the whole text selected
        EXPECT_EQ(selEnd, -1);
        EXPECT_EQ(PaperText(), kThreePapers);
    }
}

TEST_F(CustomPaperDialog, NamesOf50BytesPassAndLongerOrBlankAreRefused) {
    struct Case {
        std::string name;
        const char* message;
    };
    const Case cases[] = {
        {std::string(50, 'n'), nullptr},
        {std::string(51, 'n'), "Paper name can not be too long"},
        {"   " + std::string(50, 'n') + "  ", nullptr},  // blanks do not count
        {"    ", "Paper name can not be null"},
        {"", "Paper name can not be null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paperFile = Papers(kThreePapers);
        presenter.messages.clear();
        int focus = 0;
        Then([&](DialogWindow& d) {
            d.UserType(IDC_PAPER_NAME, c.name);
            d.UserClick(IDOK);
            focus = d.m_nFocusId;
        });
        const INT_PTR result = Run(9);
        if (!c.message) {
            EXPECT_EQ(result, IDOK);
            const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
            ASSERT_EQ(papers.size(), 4u);
            EXPECT_EQ(std::string(papers[3].szPaperName), std::string(50, 'n'));
        } else {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(presenter.messages, std::vector<std::string>{c.message});
            EXPECT_EQ(focus, IDC_PAPER_NAME);
        }
    }
}

TEST_F(CustomPaperDialog, SpinsStopAtTheirRange) {
    paperFile = Papers("9, 327680, 30, 5, 5, 5, 5, Wide\n");  // printable 32767 x 2
    Then([](DialogWindow& d) {
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "32767");
        d.UserSpin(IDC_SPIN_WIDTH, 1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "32767");
        d.UserSpin(IDC_SPIN_HEIGHT, -1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_HEIGHT), "1");
        d.UserSpin(IDC_SPIN_HEIGHT, -1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_HEIGHT), "1");
        d.UserType(IDC_EDIT_HEIGHT, "1.26");
        d.UserSpin(IDC_SPIN_HEIGHT, 1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_HEIGHT), "2.3");
        // A step of a value the exchange refuses shows the message and moves nothing.
        d.UserType(IDC_EDIT_WIDTH, "wide");
        d.UserSpin(IDC_SPIN_WIDTH, -1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "wide");
    });
    Run(9);
    EXPECT_EQ(presenter.messages, std::vector<std::string>{"Please enter a number."});
}

TEST_F(CustomPaperDialog, DeleteSelectsTheNeighbourAndDisablesCancel) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER_NAME, 2);
        d.UserClick(IDC_DELETE);  // the last entry: the new last one is selected
        EXPECT_EQ(ItemsOf(d, IDC_PAPER_NAME), (std::vector<std::string>{"ISO A4", "ISO A3"}));
        EXPECT_EQ(d.Control(IDC_PAPER_NAME)->m_nCurSel, 1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "287");
        EXPECT_FALSE(d.Control(IDCANCEL)->m_bEnabled);
        d.UserChoose(IDC_PAPER_NAME, 0);
        d.UserClick(IDC_DELETE);  // the first: the next one moves into its place
        EXPECT_EQ(d.Control(IDC_PAPER_NAME)->m_nCurSel, 0);
        EXPECT_EQ(TextOf(d, IDC_PAPER_NAME), "ISO A3");
        d.UserClick(IDC_DELETE);  // the only one: no selection remains
        EXPECT_TRUE(ItemsOf(d, IDC_PAPER_NAME).empty());
        EXPECT_EQ(d.Control(IDC_PAPER_NAME)->m_nCurSel, CB_ERR);
        EXPECT_EQ(TextOf(d, IDC_PAPER_NAME), "");
    });
    Run(9);
    EXPECT_TRUE(presenter.messages.empty());
    EXPECT_TRUE(HT_ReadPaperFile(paperFile.c_str(), nullptr).empty());
}

TEST_F(CustomPaperDialog, DeletingAnUnknownNameSaysSo) {
    paperFile = Papers(kThreePapers);
    Then([](DialogWindow& d) {
        d.UserType(IDC_PAPER_NAME, "ISO A9");
        d.UserClick(IDC_DELETE);
        EXPECT_FALSE(d.Control(IDCANCEL)->m_bEnabled);
    });
    Run(9);
    EXPECT_EQ(presenter.messages,
              std::vector<std::string>{"Specified paper is not existing\xEF\xBC\x8C"
                                       "can not be deleted"});
    EXPECT_EQ(PaperText(), kThreePapers);
}

// A directory where the framework puts its temporary file makes every write fail.
void BlockWrites(const std::string& paperFile) {
    ASSERT_EQ(mkdir((paperFile + ".tmp").c_str(), 0700), 0);
}

TEST_F(CustomPaperDialog, FailedWriteOfANewPaperKeepsTheFileAndCancels) {
    paperFile = Papers(kThreePapers);
    BlockWrites(paperFile);
    Then([](DialogWindow& d) {
        d.UserType(IDC_PAPER_NAME, "Poster");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDCANCEL);
    EXPECT_EQ(chosenPaper, 9);  // the unwritten paper is not offered to the caller
    EXPECT_EQ(presenter.messages,
              std::vector<std::string>{"Fail to Modify paper config information"});
    EXPECT_EQ(PaperText(), kThreePapers);
}

TEST_F(CustomPaperDialog, FailedWriteOfAChangeOrDeleteKeepsTheFile) {
    paperFile = Papers(kThreePapers);
    BlockWrites(paperFile);
    Then([](DialogWindow& d) {
        d.UserChoose(IDC_PAPER_NAME, 2);
        d.UserType(IDC_EDIT_WIDTH, "100");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    EXPECT_EQ(chosenPaper, 650);
    Then([](DialogWindow& d) { d.UserClick(IDC_DELETE); });
    EXPECT_EQ(Run(9), IDCANCEL);
    EXPECT_EQ(presenter.messages,
              std::vector<std::string>(2, "Fail to Modify paper config information"));
    EXPECT_EQ(PaperText(), kThreePapers);
}

TEST_F(CustomPaperDialog, ReadOnlyPaperFileIsShownButNotChanged) {
    paperFile = Papers(kThreePapers);
    ASSERT_EQ(chmod(paperFile.c_str(), 0444), 0);
    Then([](DialogWindow& d) {
        EXPECT_EQ(ItemsOf(d, IDC_PAPER_NAME).size(), 3u);
        d.UserType(IDC_PAPER_NAME, "Poster");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDCANCEL);
    EXPECT_EQ(presenter.messages,
              std::vector<std::string>{"Fail to Modify paper config information"});
    EXPECT_EQ(PaperText(), kThreePapers);
}

TEST_F(CustomPaperDialog, MissingOrEmptyPaperFileOpensEmptyAndCanAddAPaper) {
    paperFile = dir.path() + "/gone/paper.ini";  // its folder does not exist
    Then([](DialogWindow& d) {
        EXPECT_TRUE(ItemsOf(d, IDC_PAPER_NAME).empty());
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "1");
        d.UserType(IDC_PAPER_NAME, "Sheet");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDCANCEL);  // cannot be written there
    EXPECT_EQ(presenter.messages,
              std::vector<std::string>{"Fail to Modify paper config information"});

    paperFile = Papers("");
    Then([](DialogWindow& d) {
        d.UserType(IDC_PAPER_NAME, "Sheet");
        d.UserType(IDC_EDIT_WIDTH, "100");
        d.UserType(IDC_EDIT_HEIGHT, "50");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDOK);
    const auto papers = HT_ReadPaperFile(paperFile.c_str(), nullptr);
    ASSERT_EQ(papers.size(), 1u);
    EXPECT_EQ(papers[0].nPaperID, 650);
    // The first shown values were 0 and 1: typed sizes are a change.
    EXPECT_STREQ(papers[0].szPaperName, "Custom Sheet");
}

TEST_F(CustomPaperDialog, DamagedRecordsShowWithoutHarm) {
    // Margins wider than the sheet, and a number at the edge of 32 bits.
    paperFile = Papers(
        "9, 100, 100, 2147483647, 0, 900, 900, Broken\n"
        "8, 10, 10, 0, 0, 15, 0, Narrow\n");
    Then([](DialogWindow& d) {
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "-170");
        EXPECT_EQ(TextOf(d, IDC_EDIT_TOP), "214748364.7");
        EXPECT_EQ(TextOf(d, IDC_EDIT_HEIGHT), "-214748354.7");  // (100 - 2147483647) / 10
        d.UserChoose(IDC_PAPER_NAME, 1);
        EXPECT_EQ(TextOf(d, IDC_EDIT_WIDTH), "-0.5");
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(9), IDCANCEL);
    EXPECT_EQ(presenter.messages, std::vector<std::string>{kSizeMessage});
}

}  // namespace

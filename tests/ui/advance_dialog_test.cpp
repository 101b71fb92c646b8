#include "dialog_harness.h"
#include "ui/advance_dlg.h"
#include "ui/resources/resource_ids.h"

namespace {

class AdvanceDialog : public DialogTest {
protected:
    INT_PTR Run() {
        const INT_PTR result = dialog.DoModal();
        return result;
    }
    CHP_AdvanceDlg dialog{nullptr};
};

TEST_F(AdvanceDialog, ShowsTheStoredChoices) {
    dialog.m_nCompression = 4;
    dialog.m_nDataMode = 1;
    dialog.m_nClipMode = 7;
    dialog.m_nRenderMode = 1;
    dialog.m_bInkedArea = 1;
    dialog.m_nHeadMask = 12;
    dialog.m_strControlCode = "@PJL";
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.m_strCaption, "Advanced option");
        EXPECT_EQ(ItemsOf(d, IDC_TRIM_MODE),
                  (std::vector<std::string>{"No Clip", "Model 1", "Model 2", "Model 3", "Model 4",
                                            "Model 5", "Model 6", "Model 7"}));
        EXPECT_EQ(ItemsOf(d, IDC_SHADE_MODE), (std::vector<std::string>{"Color", "Gray"}));
        EXPECT_EQ(TextOf(d, IDC_TRIM_MODE), "Model 7");
        EXPECT_EQ(TextOf(d, IDC_SHADE_MODE), "Gray");
        EXPECT_EQ(d.Control(IDC_BEST_FIT)->m_nCheck, BST_CHECKED);
        EXPECT_EQ(d.Control(IDC_DITHER)->m_nCheck, BST_CHECKED);
        EXPECT_EQ(d.Control(IDC_INKED_AREA)->m_nCheck, BST_CHECKED);
        EXPECT_EQ(TextOf(d, IDC_CONTROL_CODE), "12");
        EXPECT_EQ(TextOf(d, IDC_PJL_TEXT), "@PJL");
        // Without PJL control the numeric code is edited, not the text.
        EXPECT_TRUE(d.Control(IDC_CONTROL_CODE)->m_bEnabled);
        EXPECT_FALSE(d.Control(IDC_PJL_TEXT)->m_bEnabled);
    });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(AdvanceDialog, PjlControlEnablesExactlyOneOfTheTwoEdits) {
    dialog.m_bPjlControl = 1;
    dialog.m_nHeadMask = 5;
    Then([](DialogWindow& d) {
        EXPECT_FALSE(d.Control(IDC_CONTROL_CODE)->m_bEnabled);
        EXPECT_TRUE(d.Control(IDC_PJL_TEXT)->m_bEnabled);
        EXPECT_FALSE(d.UserType(IDC_CONTROL_CODE, "9"));
        d.UserClick(IDC_PJL_CONTROL);
        EXPECT_TRUE(d.Control(IDC_CONTROL_CODE)->m_bEnabled);
        EXPECT_FALSE(d.Control(IDC_PJL_TEXT)->m_bEnabled);
        d.UserType(IDC_CONTROL_CODE, "9");
        d.UserClick(IDC_PJL_CONTROL);
        EXPECT_FALSE(d.Control(IDC_CONTROL_CODE)->m_bEnabled);
        d.UserClick(IDOK);
    });
    EXPECT_EQ(Run(), IDOK);
    // The disabled code is still exchanged and kept.
    EXPECT_EQ(dialog.m_nHeadMask, 9u);
    EXPECT_EQ(dialog.m_bPjlControl, 1);
}

TEST_F(AdvanceDialog, ControlCodeMustBeAnUnsignedNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", nullptr},
        {"4294967295", nullptr},
        {"4294967296", "Please enter a positive integer."},
        {"-1", "Please enter a positive integer."},
        {"0x10", "Please enter a positive integer."},
        {"", "Please enter a positive integer."},
    };
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(typed);
        presenter.messages.clear();
        int focus = 0;
        Then([&, t = typed](DialogWindow& d) {
            d.UserType(IDC_CONTROL_CODE, t);
            d.UserClick(IDOK);
            focus = d.m_nFocusId;
        });
        const INT_PTR result = Run();
        if (!message) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(std::to_string(dialog.m_nHeadMask), typed);
        } else {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(presenter.messages, std::vector<std::string>{message});
            EXPECT_EQ(focus, IDC_CONTROL_CODE);
        }
    }
}

// The record holds 499 bytes of text. A longer text stays in the edit as
// typed or pasted, so that OK refuses it with the dialog's message rather
// than keeping a piece of it (cut inside a character, at worst).
TEST_F(AdvanceDialog, PjlTextThatDoesNotFitTheRecordIsRefusedWhole) {
    const std::string kChinese = "\xE4\xB8\xAD";  // three bytes
    std::string fits;
    for (int i = 0; i < 166; ++i) fits += kChinese;
    fits += "A";
    const char kRefused[] = "Please enter no more than 499 characters.";
    const std::pair<std::string, bool> cases[] = {
        {std::string(499, 'x'), true},  {fits, true},
        {std::string(500, 'y'), false}, {std::string(501, 'y'), false},
        {fits + kChinese, false},
    };
    for (const auto& [typed, fitting] : cases) {
        SCOPED_TRACE(typed.size());
        dialog.m_bPjlControl = 1;
        dialog.m_strControlCode = "";
        presenter.messages.clear();
        bool ended = false;
        int focus = 0;
        Then([&, t = typed](DialogWindow& d) {
            d.UserType(IDC_PJL_TEXT, t);
            EXPECT_EQ(TextOf(d, IDC_PJL_TEXT), t);
            d.UserClick(IDOK);
            ended = d.m_bEnded;
            focus = d.m_nFocusId;
        });
        const INT_PTR result = Run();
        if (fitting) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dialog.m_strControlCode.str(), typed);
            EXPECT_TRUE(presenter.messages.empty());
            continue;
        }
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_FALSE(ended);
        EXPECT_EQ(focus, IDC_PJL_TEXT);
        EXPECT_EQ(presenter.messages, std::vector<std::string>{kRefused});
    }

    // A longer text from elsewhere is refused too.
    dialog.m_strControlCode = CString(std::string(500, 'z'));
    presenter.messages.clear();
    Then([](DialogWindow& d) { d.UserClick(IDOK); });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(presenter.messages, std::vector<std::string>{kRefused});
}

TEST_F(AdvanceDialog, CancelKeepsTheCallersValues) {
    dialog.m_nCompression = 2;
    Then([](DialogWindow& d) {
        d.UserClick(IDC_UNCOMPRESSED);
        d.UserClick(IDCANCEL);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(dialog.m_nCompression, 2);
}

}  // namespace

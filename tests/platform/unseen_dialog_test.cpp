#include <gtest/gtest.h>

#include <afxwin.h>

#include "ui/module_resources.h"

namespace {

// A dialog of the module's (the plot transaction's template) that ends
// itself from its timer after a number of ticks.
class TickingDialog : public CDialog {
public:
    TickingDialog(int nTicksToEnd, bool bKillInstead)
        : CDialog(104, nullptr), m_nTicksToEnd(nTicksToEnd), m_bKillInstead(bKillInstead) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_nTicksToEnd > 0) SetTimer(1, 10, nullptr);
        return TRUE;
    }
    void OnTimer(UINT_PTR id) {
        ++m_nTicks;
        if (m_nTicks < m_nTicksToEnd) return;
        if (m_bKillInstead)
            KillTimer(m_hWnd, id);
        else
            EndDialog(42);
    }
    int m_nTicksToEnd;
    bool m_bKillInstead;
    int m_nTicks = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TickingDialog, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

class UnseenDialogs : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)); }
    void TearDown() override {
        SetUiPresenter(nullptr);
        SetResourceLanguage(0);
    }
    ModuleResourceScope resources;
};

TEST_F(UnseenDialogs, DialogWithTimersRunsOnUntilItEnds) {
    struct Case {
        const char* what;
        bool presenter;    // a scripted presenter that ticks once and leaves
        int ticksToEnd;    // 0: no timer at all
        bool killInstead;  // the last tick kills the timer instead of ending
        INT_PTR result;
        int ticks;
    };
    const Case cases[] = {
        {"no presenter, ends on its third tick", false, 3, false, 42, 3},
        {"presenter leaves after one tick, the rest unseen", true, 3, false, 42, 3},
        {"no timers: cancelled at once, as before", false, 0, false, IDCANCEL, 0},
        {"presenter leaves a dialog without timers: cancelled", true, 0, false, IDCANCEL, 0},
        {"its only timer killed: it could never end, cancelled", false, 2, true, IDCANCEL, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPresenter presenter;
        presenter.dialogScripts.push_back([](DialogWindow& d) { d.TimerTick(1); });
        SetUiPresenter(c.presenter ? &presenter : nullptr);
        TickingDialog dialog(c.ticksToEnd, c.killInstead);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.m_nTicks, c.ticks);
        SetUiPresenter(nullptr);
    }
}

TEST_F(UnseenDialogs, HiddenDialogIsNotVisibleButRunsOn) {
    ScriptedPresenter presenter;
    bool visibleBefore = false, visibleAfter = true, shownWasVisible = false;
    presenter.dialogScripts.push_back([&](DialogWindow& d) {
        visibleBefore = IsWindowVisible(d.Handle());
        shownWasVisible = ShowWindow(d.Handle(), SW_HIDE);
        visibleAfter = IsWindowVisible(d.Handle());
    });
    SetUiPresenter(&presenter);
    TickingDialog dialog(2, false);
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(visibleBefore);
    EXPECT_TRUE(shownWasVisible);
    EXPECT_FALSE(visibleAfter);
}

TEST(ProgressLine, RowsRateAndTimeLeft) {
    struct Case {
        long long done, total;
        double rate;
        const char* line;
    };
    const Case cases[] = {
        {12000, 28087, 3000,
         "Plot transaction [############                  ]  42%  rows 12000 of 28087, 3000 "
         "rows/s, 0:05 left"},
        {0, 28087, 0,
         "Plot transaction [                              ]   0%  rows 0 of 28087, --- rows/s, "
         "--:-- left"},
        {28087, 28087, 1000,
         "Plot transaction [##############################] 100%  rows 28087 of 28087, 1000 "
         "rows/s, 0:00 left"},
        // A range below 1 counts as 1; rows beyond it are shown as all of it.
        {0, 0, 0,
         "Plot transaction [                              ]   0%  rows 0 of 1, --- rows/s, --:-- "
         "left"},
        {50, 10, 7,
         "Plot transaction [##############################] 100%  rows 10 of 10, 7 rows/s, 0:00 "
         "left"},
        {100, 60100, 100,
         "Plot transaction [                              ]   0%  rows 100 of 60100, 100 rows/s, "
         "10:00 left"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgressLine("Plot transaction", c.done, c.total, c.rate), c.line)
            << c.done << " of " << c.total;
}

}  // namespace

#include <csignal>

#include "dialog_harness.h"
#include "ui/resources/resource_ids.h"
#include "win32/kernel32/interrupt_requests.h"

namespace {

// A dialog on the "Plot transaction" template that moves its bar on every
// timer tick and ends when it is full, as a plot transaction does.
class Ticking : public CDialog {
public:
    Ticking() : CDialog(IDD_PRINT_PROGRESS) {}
    int ticks = 0;
    int interruptAt = -1;  // the tick at which Ctrl-C is pressed

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_bar.m_hWnd = ::GetDlgItem(m_hWnd, IDC_PROGRESS);
        m_bar.SetRange32(0, 4);
        SetTimer(1, 100, nullptr);
        return TRUE;
    }
    void OnTimer(UINT_PTR id) {
        if (id != 1) return;
        ++ticks;
        m_bar.SetPos(ticks);
        if (ticks == interruptAt) std::raise(SIGINT);
        if (ticks >= 4) EndDialog(IDOK);
    }
    DECLARE_MESSAGE_MAP()

private:
    CProgressCtrl m_bar;
};

BEGIN_MESSAGE_MAP(Ticking, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(DialogTest, TerminalRunsAProgressDialogOnItsTimersAndCtrlCCancels) {
    TerminalPresenter terminal;
    SetUiPresenter(&terminal);
    Ticking full;
    EXPECT_EQ(full.DoModal(), IDOK);
    EXPECT_EQ(full.ticks, 4);

    Ticking interrupted;
    interrupted.interruptAt = 2;
    EXPECT_EQ(interrupted.DoModal(), IDCANCEL);
    EXPECT_EQ(interrupted.ticks, 2);
    // Ctrl-C goes back to its own handling afterwards.
    EXPECT_EQ(std::signal(SIGINT, SIG_DFL), SIG_DFL);
}

// A host holds the signals for its whole job: a Ctrl-C noted before the
// progress dialog opened (the job's output already open) presses its Cancel
// at the first look, before any tick, and so for every dialog of the job.
TEST_F(DialogTest, ACtrlCTheHostNotedBeforeTheDialogOpenedCancelsIt) {
    TerminalPresenter terminal;
    SetUiPresenter(&terminal);
    {
        InterruptScope job;
        std::raise(SIGINT);
        for (int dialogOfTheJob = 0; dialogOfTheJob < 2; ++dialogOfTheJob) {
            Ticking progress;
            EXPECT_EQ(progress.DoModal(), IDCANCEL) << dialogOfTheJob;
            EXPECT_EQ(progress.ticks, 0) << dialogOfTheJob;
        }
    }
    // Once the job has let the signals go, nothing noted is left.
    Ticking after;
    EXPECT_EQ(after.DoModal(), IDOK);
    EXPECT_EQ(after.ticks, 4);
}

TEST_F(DialogTest, ScriptedPresenterTicksTimersAndReadsTheBar) {
    Ticking dialog;
    Then([](DialogWindow& d) {
        EXPECT_EQ(d.Template().strCaption, "Plot transaction");
        EXPECT_TRUE(d.TimerTick(1));
        EXPECT_FALSE(d.TimerTick(2));  // no such timer
        EXPECT_EQ(d.Control(IDC_PROGRESS)->m_nPos, 1);
        EXPECT_EQ(d.Control(IDC_PROGRESS)->m_nUpper, 4);
        d.UserClick(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.ticks, 1);
}

}  // namespace

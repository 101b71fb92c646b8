#include <gtest/gtest.h>

#include <afxwin.h>

#include <atomic>
#include <random>
#include <thread>

#include "render/progress_fixture.h"

namespace {

using ProgressStress = ProgressThreadTest;

struct RenderRun {
    CPrintPoolThread* progress = nullptr;
    int rows = 0;
    int rowsDone = 0;
    bool sawCancel = false;
};

// The render side as the driver's render thread has it: range, rows with a
// look at Cancel between them, then the finished bit as its last touch.
UINT SimulatedRenderer(LPVOID p) {
    auto* run = static_cast<RenderRun*>(p);
    run->progress->SetRange(run->rows);
    for (int row = 1; row <= run->rows; ++row) {
        if (run->progress->IsCanceled()) {
            run->sawCancel = true;
            break;
        }
        run->progress->SetPosition(row);
        run->rowsDone = row;
        if (row % 8 == 0) std::this_thread::yield();
    }
    run->progress->SetFinished();
    return 0;
}

TEST_F(ProgressStress, CancelAtRandomMomentsNeverRacesOrLeaks) {
    constexpr int kRuns = 300;
    std::mt19937 random(20261206);
    int cancelled = 0, clicked = 0;
    for (int i = 0; i < kRuns; ++i) {
        RenderRun run;
        run.rows = static_cast<int>(random() % 200);
        // The tick at which the user clicks Cancel; beyond the end: never.
        const int clickAt = static_cast<int>(random() % 40);
        bool clickedNow = false;
        presenter.dialogScripts.push_back([clickAt, &clickedNow](DialogWindow& d) {
            for (int tick = 0; !d.m_bEnded; ++tick) {
                if (tick == clickAt) clickedNow = d.UserClick(IDCANCEL);
                d.TimerTick(1);
                std::this_thread::yield();
            }
        });
        CWinThread* progress =
            AfxBeginThread(RUNTIME_CLASS(CountedPoolThread), THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
        ASSERT_NE(progress, nullptr);
        run.progress = static_cast<CPrintPoolThread*>(progress);
        ASSERT_NE(AfxBeginThread(SimulatedRenderer, &run), nullptr);
        AfxWaitForAllThreads();
        ASSERT_EQ(CountedPoolThread::s_nLive.load(), 0) << "run " << i;
        ASSERT_EQ(CountedPoolThread::s_nLastResult.load(), 0) << "run " << i;
        // Cancel is seen only when the user clicked it.
        if (run.sawCancel) {
            ASSERT_TRUE(clickedNow) << "run " << i;
        } else {
            ASSERT_EQ(run.rowsDone, run.rows) << "run " << i;
        }
        cancelled += run.sawCancel;
        clicked += clickedNow;
    }
    EXPECT_EQ(CountedPoolThread::s_nMade.load(), kRuns);
    EXPECT_EQ(CountedPoolThread::s_nDeleted.load(), kRuns);
    // The seed gives both kinds of run.
    EXPECT_GT(cancelled, 0);
    EXPECT_LT(cancelled, kRuns);
    EXPECT_GE(clicked, cancelled);
}

}  // namespace

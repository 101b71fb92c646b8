#include <gtest/gtest.h>

#include <afxwin.h>

#include <chrono>
#include <thread>

#include "render/progress_fixture.h"

namespace {

using ProgressDialog = ProgressThreadTest;

CWinThread* StartProgressThread() {
    return AfxBeginThread(RUNTIME_CLASS(CountedPoolThread), THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
}

TEST_F(ProgressDialog, TicksShowRangeAndPositionAndEndOnlyAfterFinished) {
    struct Step {
        int range, position;
        int shownUpper, shownPosition;
    };
    const Step steps[] = {
        {0, 0, 1, 0},  // no range yet: shown as 1
        {-5, 0, 1, 0}, {1, 1, 1, 1}, {28087, 12000, 28087, 12000}, {28087, 28087, 28087, 28087},
    };
    bool endedEarly = false, endedAtFinish = false;
    int template_ = 0;
    presenter.dialogScripts.push_back([&](DialogWindow& d) {
        template_ = d.TemplateId();
        CPrintPoolThread* owner = Owner();
        for (const Step& s : steps) {
            owner->SetRange(s.range);
            owner->SetPosition(s.position);
            EXPECT_TRUE(d.TimerTick(1));
            EXPECT_EQ(Bar(d).m_nLower, 0);
            EXPECT_EQ(Bar(d).m_nUpper, s.shownUpper) << "range " << s.range;
            EXPECT_EQ(Bar(d).m_nPos, s.shownPosition);
            endedEarly |= d.m_bEnded;
        }
        owner->SetFinished();
        EXPECT_EQ(owner->GetState(), CPrintPoolThread::kFinished);
        EXPECT_FALSE(d.m_bEnded);  // not before the next tick
        d.TimerTick(1);
        endedAtFinish = d.m_bEnded;
    });
    ASSERT_NE(StartProgressThread(), nullptr);
    AfxWaitForAllThreads();
    EXPECT_EQ(template_, 104);
    EXPECT_FALSE(endedEarly);
    EXPECT_TRUE(endedAtFinish);
    EXPECT_EQ(CountedPoolThread::s_nLastResult.load(), 0);
    EXPECT_EQ(CountedPoolThread::s_nMade.load(), 1);
}

TEST_F(ProgressDialog, CancelHidesAndRequestsWithoutEnding) {
    struct Case {
        const char* what;
        bool finishFirst;  // the renderer finished before the click
    };
    for (const Case c : {Case{"cancel while rendering", false},
                         Case{"cancel after finished, before the next tick", true}}) {
        SCOPED_TRACE(c.what);
        struct Seen {
            int canceledBefore = -1, canceledAfter = -1, state = -1, stateAfterTick = -1;
            bool visible = true, endedByClick = true, endedAtTick = true, endedAtLast = false;
        } seen;
        presenter.dialogScripts.push_back([&](DialogWindow& d) {
            CPrintPoolThread* owner = Owner();
            seen.canceledBefore = owner->IsCanceled();
            if (c.finishFirst) owner->SetFinished();
            EXPECT_TRUE(d.UserClick(IDCANCEL));
            seen.canceledAfter = owner->IsCanceled();
            seen.state = owner->GetState();
            seen.visible = IsWindowVisible(d.Handle());
            seen.endedByClick = d.m_bEnded;
            if (!c.finishFirst) {
                d.TimerTick(1);
                seen.endedAtTick = d.m_bEnded;
                owner->SetFinished();
            }
            seen.stateAfterTick = owner->GetState();
            d.TimerTick(1);
            seen.endedAtLast = d.m_bEnded;
        });
        ASSERT_NE(StartProgressThread(), nullptr);
        AfxWaitForAllThreads();
        EXPECT_EQ(seen.canceledBefore, 0);
        EXPECT_EQ(seen.canceledAfter, CPrintPoolThread::kCancelRequested);
        EXPECT_EQ(seen.state, c.finishFirst ? 3 : 2);
        EXPECT_EQ(seen.stateAfterTick, 3);
        EXPECT_FALSE(seen.visible);
        EXPECT_FALSE(seen.endedByClick);
        if (!c.finishFirst) {
            EXPECT_FALSE(seen.endedAtTick);
        }
        EXPECT_TRUE(seen.endedAtLast);
        EXPECT_EQ(CountedPoolThread::s_nLastResult.load(), 0);
    }
}

TEST_F(ProgressDialog, OtherTimersGoToTheDefaultHandling) {
    bool endedByOther = true, endedByPoll = false;
    int upperAfterOther = 0;
    presenter.dialogScripts.push_back([&](DialogWindow& d) {
        CPrintPoolThread* owner = Owner();
        ASSERT_EQ(SetTimer(d.Handle(), 7, 100, nullptr), 7u);
        owner->SetRange(500);
        owner->SetFinished();
        EXPECT_TRUE(d.TimerTick(7));
        endedByOther = d.m_bEnded;
        upperAfterOther = Bar(d).m_nUpper;
        d.TimerTick(1);
        endedByPoll = d.m_bEnded;
    });
    ASSERT_NE(StartProgressThread(), nullptr);
    AfxWaitForAllThreads();
    EXPECT_FALSE(endedByOther);
    EXPECT_EQ(upperAfterOther, 100);  // the template's bar, untouched
    EXPECT_TRUE(endedByPoll);
}

UINT RenderFiveRows(LPVOID p) {
    auto* progress = static_cast<CPrintPoolThread*>(p);
    progress->SetRange(5);
    for (int row = 1; row <= 5 && !progress->IsCanceled(); ++row) progress->SetPosition(row);
    progress->SetFinished();
    return 0;
}

TEST_F(ProgressDialog, WithoutPresenterRunsToItsEndOnItsTimers) {
    struct Case {
        const char* what;
        bool scripted;  // a presenter that leaves at once
    };
    for (const Case c : {Case{"no presenter", false}, Case{"presenter leaves at once", true}}) {
        SCOPED_TRACE(c.what);
        presenter.dialogScripts.clear();
        if (c.scripted) presenter.dialogScripts.push_back([](DialogWindow&) {});
        SetUiPresenter(c.scripted ? &presenter : nullptr);
        CWinThread* progress = StartProgressThread();
        ASSERT_NE(progress, nullptr);
        ASSERT_NE(AfxBeginThread(RenderFiveRows, static_cast<CPrintPoolThread*>(progress)),
                  nullptr);
        AfxWaitForAllThreads();
        // Ended by its own timer on the finished bit, not cancelled.
        EXPECT_EQ(CountedPoolThread::s_nLastResult.load(), 0);
    }
    EXPECT_EQ(CountedPoolThread::s_nMade.load(), 2);
}

TEST_F(ProgressDialog, DialogEndedAnotherWayStillWaitsForTheRenderer) {
    // A presenter that ends the dialog itself (as Cancel) before the renderer
    // has even begun: the thread object must outlive the renderer's calls.
    CEvent go(FALSE, TRUE);
    presenter.dialogScripts.push_back([&](DialogWindow& d) {
        EndDialog(d.Handle(), IDCANCEL);
        go.SetEvent();
    });
    struct Renderer {
        CPrintPoolThread* progress;
        CEvent* go;
        int canceled = -1;
        int liveWhenReporting = -1;
    };
    CWinThread* progress = StartProgressThread();
    ASSERT_NE(progress, nullptr);
    Renderer r{static_cast<CPrintPoolThread*>(progress), &go};
    ASSERT_NE(AfxBeginThread(
                  [](LPVOID p) -> UINT {
                      auto* r = static_cast<Renderer*>(p);
                      r->go->Lock();
                      // Time for a thread that did not wait to delete its
                      // object; then the renderer reports only to a live one.
                      std::this_thread::sleep_for(std::chrono::milliseconds(200));
                      r->liveWhenReporting = CountedPoolThread::s_nLive.load();
                      if (r->liveWhenReporting != 1) return 0;
                      r->progress->SetRange(3);
                      r->canceled = r->progress->IsCanceled();
                      r->progress->SetFinished();
                      return 0;
                  },
                  &r),
              nullptr);
    AfxWaitForAllThreads();
    ASSERT_EQ(r.liveWhenReporting, 1);
    EXPECT_EQ(r.canceled, 0);
    EXPECT_EQ(CountedPoolThread::s_nLastResult.load(), IDCANCEL);
}

}  // namespace

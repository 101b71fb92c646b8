#include <gtest/gtest.h>

#include <afxwin.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "render/progress_fixture.h"

namespace {

using TerminalProgress = ProgressThreadTest;

// Stands for whatever handling a host gave Ctrl-C before the presenter.
void NotedElsewhere(int) {}

// A progress thread held at its start, so that the renderer's first report
// is in place before the dialog's first tick.
CPrintPoolThread* StartHeld(int range, int position) {
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CountedPoolThread), THREAD_PRIORITY_NORMAL, 0,
                                        CREATE_SUSPENDED, nullptr);
    if (!thread) return nullptr;
    auto* progress = static_cast<CPrintPoolThread*>(thread);
    progress->SetRange(range);
    progress->SetPosition(position);
    thread->ResumeThread();
    return progress;
}

TEST_F(TerminalProgress, LogGetsTheRowsOfTheLastTick) {
    TerminalPresenter terminal;
    SetUiPresenter(&terminal);
    testing::internal::CaptureStderr();
    CPrintPoolThread* progress = StartHeld(28087, 12000);
    ASSERT_NE(progress, nullptr);
    progress->SetFinished();
    AfxWaitForAllThreads();
    // Standard error is no terminal here: a line a tenth, and the first tick
    // both shows the rows and ends the dialog; no rate is known after one.
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              ProgressLine("Plot transaction", 12000, 28087, 0) + "\n");
    EXPECT_EQ(CountedPoolThread::s_nLastResult.load(), 0);
}

TEST_F(TerminalProgress, CtrlCPressesCancelAndTheHandlerIsGivenBack) {
    TerminalPresenter terminal;
    SetUiPresenter(&terminal);
    // Until the presenter takes Ctrl-C, the signal must not end the test.
    void (*before)(int) = std::signal(SIGINT, NotedElsewhere);
    testing::internal::CaptureStderr();
    CPrintPoolThread* progress = StartHeld(100, 40);
    ASSERT_NE(progress, nullptr);
    // Pressed until the presenter has its handler in place and its next
    // tick has passed the press on to the dialog's Cancel.
    while (!progress->IsCanceled()) {
        std::raise(SIGINT);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    progress->SetFinished();
    AfxWaitForAllThreads();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountedPoolThread::s_nLastResult.load(), 0);
    EXPECT_EQ(std::signal(SIGINT, before), NotedElsewhere);
}

}  // namespace

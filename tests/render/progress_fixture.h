// What the progress thread's suites share: a progress thread class that
// counts its objects and keeps its dialog's result, a scripted presenter in
// English, and a wait for every thread at the end of each test.
#pragma once

#include <gtest/gtest.h>

#include <afxwin.h>

#include <atomic>

#include "render/print_pool_thread.h"
#include "win32/kernel32/thread_registry.h"

class CountedPoolThread : public CPrintPoolThread {
    DECLARE_DYNCREATE(CountedPoolThread)

public:
    CountedPoolThread();
    ~CountedPoolThread() override;

    static std::atomic<int> s_nLive;
    static std::atomic<int> s_nMade;
    static std::atomic<int> s_nDeleted;
    static std::atomic<INT_PTR> s_nLastResult;
};

class ProgressThreadTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The progress thread of the running script: the dialog's owner.
    static CPrintPoolThread* Owner() { return static_cast<CPrintPoolThread*>(AfxGetThread()); }
    static const ControlWindow& Bar(DialogWindow& d) { return *d.Control(1017); }

    ScriptedPresenter presenter;
};

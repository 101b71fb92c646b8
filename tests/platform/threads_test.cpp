#include <gtest/gtest.h>

#include <afxmt.h>
#include <afxwin.h>

#include <atomic>

#include "win32/kernel32/thread_registry.h"

namespace {

std::atomic<int> g_live{0};
std::atomic<int> g_initInstances{0};
std::atomic<int> g_exitInstances{0};

// A user-interface thread that counts its objects and ends from InitInstance.
class CountedThread : public CWinThread {
    DECLARE_DYNCREATE(CountedThread)

public:
    CountedThread() { g_live.fetch_add(1); }
    ~CountedThread() override { g_live.fetch_sub(1); }
    BOOL InitInstance() override {
        g_initInstances.fetch_add(1);
        AfxEndThread(7, TRUE);
    }
    int ExitInstance() override {
        g_exitInstances.fetch_add(1);
        return 0;
    }
};
IMPLEMENT_DYNCREATE(CountedThread, CWinThread)

// One whose InitInstance declines: the thread ends through ExitInstance.
class DecliningThread : public CountedThread {
    DECLARE_DYNCREATE(DecliningThread)

public:
    BOOL InitInstance() override {
        g_initInstances.fetch_add(1);
        return FALSE;
    }
};
IMPLEMENT_DYNCREATE(DecliningThread, CountedThread)

// One that is kept: its ending leaves the object to its creator.
class KeptThread : public CountedThread {
    DECLARE_DYNCREATE(KeptThread)

public:
    BOOL InitInstance() override {
        g_initInstances.fetch_add(1);
        AfxEndThread(3, FALSE);
    }
};
IMPLEMENT_DYNCREATE(KeptThread, CountedThread)

class Threads : public ::testing::Test {
protected:
    void SetUp() override {
        g_initInstances = 0;
        g_exitInstances = 0;
    }
    void TearDown() override {
        AfxWaitForAllThreads();
        AfxFailNextThreadStarts(0);
        EXPECT_EQ(g_live.load(), 0);
    }
};

struct WorkerArgs {
    int nIn = 0;
    int nOut = 0;
    bool bLocalDestroyed = false;
    bool bAfterEnd = false;
    CWinThread* pSeenThread = nullptr;
};

UINT Doubler(LPVOID p) {
    auto* args = static_cast<WorkerArgs*>(p);
    args->nOut = args->nIn * 2;
    args->pSeenThread = AfxGetThread();
    return 0;
}

void EndFromDeepInside(WorkerArgs* args) {
    struct Local {
        WorkerArgs* a;
        ~Local() { a->bLocalDestroyed = true; }
    } local{args};
    AfxEndThread(5);
}

UINT EndsEarly(LPVOID p) {
    auto* args = static_cast<WorkerArgs*>(p);
    EndFromDeepInside(args);
    args->bAfterEnd = true;
    return 1;
}

TEST_F(Threads, AfxEndThreadUnwindsTheStackAndNeverReturns) {
    WorkerArgs args;
    ASSERT_NE(AfxBeginThread(EndsEarly, &args), nullptr);
    AfxWaitForAllThreads();
    EXPECT_TRUE(args.bLocalDestroyed);
    EXPECT_FALSE(args.bAfterEnd);
}

TEST_F(Threads, RuntimeClassThreadsRunAndDeleteThemselves) {
    struct Case {
        const char* what;
        CRuntimeClass* pClass;
        int initInstances, exitInstances;
    };
    const Case cases[] = {
        {"InitInstance ends the thread", RUNTIME_CLASS(CountedThread), 1, 0},
        {"InitInstance declines: ExitInstance", RUNTIME_CLASS(DecliningThread), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_initInstances = 0, g_exitInstances = 0;
        CWinThread* thread = AfxBeginThread(c.pClass, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        AfxWaitForAllThreads();
        EXPECT_EQ(g_initInstances.load(), c.initInstances);
        EXPECT_EQ(g_exitInstances.load(), c.exitInstances);
        EXPECT_EQ(g_live.load(), 0);
    }
}

TEST_F(Threads, EndingWithoutDeleteKeepsTheObjectAndSignalsItsHandle) {
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(KeptThread));
    ASSERT_NE(thread, nullptr);
    // Not deleted: its handle stays open and is signalled when it ends.
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, INFINITE), WAIT_OBJECT_0);
    AfxWaitForAllThreads();
    EXPECT_EQ(g_live.load(), 1);
    EXPECT_NE(thread->m_nThreadID, 0u);
    delete thread;
}

TEST_F(Threads, WorkerRunsItsFunctionWithItsParameterOnceResumed) {
    WorkerArgs args;
    CWinThread* thread =
        AfxBeginThread(Doubler, &args, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    // Held at its start: what is written now is what it reads.
    args.nIn = 21;
    EXPECT_EQ(AfxRunningThreadCount(), 1);
    EXPECT_EQ(thread->ResumeThread(), 1u);
    AfxWaitForAllThreads();
    EXPECT_EQ(args.nOut, 42);
    EXPECT_NE(args.pSeenThread, nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);
    EXPECT_EQ(AfxRunningThreadCount(), 0);
}

TEST_F(Threads, ThreadsThatCannotStartReturnNullAndLeaveNothing) {
    AfxFailNextThreadStarts(2);
    WorkerArgs args;
    EXPECT_EQ(AfxBeginThread(Doubler, &args), nullptr);
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CountedThread)), nullptr);
    EXPECT_EQ(g_live.load(), 0);  // the object made for it is deleted
    EXPECT_EQ(AfxRunningThreadCount(), 0);
    EXPECT_EQ(g_initInstances.load(), 0);
    // Classes that are no thread, or cannot be made, start nothing.
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWnd)), nullptr);
    EXPECT_EQ(AfxBeginThread(static_cast<CRuntimeClass*>(nullptr)), nullptr);
    // The next start works again.
    ASSERT_NE(AfxBeginThread(RUNTIME_CLASS(CountedThread)), nullptr);
    AfxWaitForAllThreads();
    EXPECT_EQ(g_initInstances.load(), 1);
}

UINT WaitsForGo(LPVOID p) {
    auto* go = static_cast<CEvent*>(p);
    go->Lock();
    return 0;
}

TEST_F(Threads, AfxWaitForAllThreadsWaitsForEveryStartedThread) {
    CEvent go(FALSE, TRUE);
    for (int i = 0; i < 3; ++i) ASSERT_NE(AfxBeginThread(WaitsForGo, &go), nullptr);
    // Counted from the start, before any of them has run.
    EXPECT_EQ(AfxRunningThreadCount(), 3);
    go.SetEvent();
    AfxWaitForAllThreads();
    EXPECT_EQ(AfxRunningThreadCount(), 0);
}

TEST(RuntimeClasses, NamesBasesAndFactories) {
    EXPECT_STREQ(RUNTIME_CLASS(CountedThread)->m_lpszClassName, "CountedThread");
    EXPECT_TRUE(RUNTIME_CLASS(DecliningThread)->IsDerivedFrom(RUNTIME_CLASS(CWinThread)));
    EXPECT_TRUE(RUNTIME_CLASS(DecliningThread)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CWinThread)->IsDerivedFrom(RUNTIME_CLASS(CountedThread)));
    EXPECT_FALSE(RUNTIME_CLASS(CDialog)->IsDerivedFrom(RUNTIME_CLASS(CWinThread)));
    EXPECT_EQ(RUNTIME_CLASS(CWnd)->CreateObject(), nullptr);
    CObject* made = RUNTIME_CLASS(KeptThread)->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), RUNTIME_CLASS(KeptThread));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CWinThread)));
    delete made;
    EXPECT_EQ(g_live.load(), 0);
}

}  // namespace

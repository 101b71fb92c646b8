#include <gtest/gtest.h>

#include <afxmt.h>
#include <afxwin.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(Events, SignalStateAndResetModes) {
    struct Case {
        const char* what;
        BOOL bManualReset, bInitialState;
        bool setFirst;
        DWORD first, second;  // two waits of 0 ms
    };
    const Case cases[] = {
        {"auto-reset, set before the wait: one wait takes it", FALSE, FALSE, true, WAIT_OBJECT_0,
         WAIT_TIMEOUT},
        {"auto-reset, never set", FALSE, FALSE, false, WAIT_TIMEOUT, WAIT_TIMEOUT},
        {"auto-reset, signalled from the start", FALSE, TRUE, false, WAIT_OBJECT_0, WAIT_TIMEOUT},
        {"manual-reset stays signalled", TRUE, FALSE, true, WAIT_OBJECT_0, WAIT_OBJECT_0},
        {"manual-reset, signalled from the start", TRUE, TRUE, false, WAIT_OBJECT_0, WAIT_OBJECT_0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HANDLE event = CreateEventA(nullptr, c.bManualReset, c.bInitialState, nullptr);
        ASSERT_NE(event, nullptr);
        if (c.setFirst) {
            EXPECT_TRUE(SetEvent(event));
        }
        EXPECT_EQ(WaitForSingleObject(event, 0), c.first);
        EXPECT_EQ(WaitForSingleObject(event, 0), c.second);
        EXPECT_TRUE(ResetEvent(event));
        EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
        EXPECT_TRUE(CloseHandle(event));
    }
}

TEST(Events, TimeoutsAndDeadHandles) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 20), WAIT_TIMEOUT);
    ASSERT_TRUE(CloseHandle(event));
    // A closed handle is dead for good, not reused by the next event.
    HANDLE next = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_NE(next, event);
    SetLastError(0);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(event));
    EXPECT_FALSE(ResetEvent(event));
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForSingleObject(next, 0), WAIT_OBJECT_0);
    CloseHandle(next);
}

TEST(Events, NamedEventIsSharedUntilItsLastHandleCloses) {
    HANDLE a = CreateEventA(nullptr, TRUE, FALSE, "pxr-test-event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    // The second opening keeps the first one's manual reset, not its own.
    HANDLE b = CreateEventA(nullptr, FALSE, FALSE, "pxr-test-event");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    ASSERT_NE(a, b);
    SetEvent(a);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
    CloseHandle(a);
    CloseHandle(b);
    HANDLE fresh = CreateEventA(nullptr, FALSE, FALSE, "pxr-test-event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_TIMEOUT);
    CloseHandle(fresh);
}

TEST(Events, AutoResetReleasesOneWaiterPerSet) {
    CEvent event;  // auto-reset, not signalled, unnamed
    constexpr int kWaiters = 4;
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < kWaiters; ++i)
        waiters.emplace_back([&] {
            EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
            released.fetch_add(1);
        });
    for (int k = 1; k <= kWaiters; ++k) {
        ASSERT_TRUE(event.SetEvent());
        while (released.load() < k) std::this_thread::yield();
        // The waiter that took the signal reset the event: nothing is left
        // for another waiter (or for this one).
        EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT) << "after set " << k;
        EXPECT_EQ(released.load(), k);
    }
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released.load(), kWaiters);
}

TEST(Events, ManualResetReleasesEveryWaiter) {
    CEvent event(FALSE, TRUE);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            EXPECT_TRUE(event.Lock());
            released.fetch_add(1);
        });
    event.SetEvent();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released.load(), 3);
    EXPECT_TRUE(event.Lock(0));
}

TEST(CriticalSections, ExcludeOtherThreadsAndNest) {
    CCriticalSection section;
    long long counter = 0;  // plain: only the lock keeps it whole
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                CSingleLock lock(&section, TRUE);
                EXPECT_TRUE(lock.IsLocked());
                ++counter;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counter, 20000);

    // The owner enters twice and must leave twice before another gets in.
    section.Lock();
    section.Lock();
    section.Unlock();
    std::atomic<bool> entered{false};
    CEvent tried;
    std::thread other([&] {
        tried.SetEvent();
        CSingleLock lock(&section, TRUE);
        entered.store(true);
    });
    tried.Lock();
    EXPECT_FALSE(entered.load());
    section.Unlock();
    other.join();
    EXPECT_TRUE(entered.load());
}

UINT SetAndLeave(LPVOID p) {
    static_cast<CEvent*>(p)->SetEvent();
    return 0;
}

// The page callback's pattern: the waiter's event lives on its stack and is
// destroyed as soon as the wait returns, while the setter may still be
// inside SetEvent.
TEST(Events, EventDestroyedRightAfterTheWaitIsNoRace) {
    for (int i = 0; i < 300; ++i) {
        CEvent event(FALSE, FALSE, nullptr, nullptr);
        ASSERT_NE(AfxBeginThread(SetAndLeave, &event, THREAD_PRIORITY_NORMAL, 0, 0, nullptr),
                  nullptr);
        ASSERT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    }
    AfxWaitForAllThreads();
}

}  // namespace

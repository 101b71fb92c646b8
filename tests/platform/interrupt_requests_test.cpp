// SIGINT and SIGTERM as requests to stop: noted while a scope lives, handed
// back to their previous handling after it, left alone when ignored.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <thread>

#include "win32/kernel32/interrupt_requests.h"

namespace {

using Clock = std::chrono::steady_clock;

void (*Handling(int signal))(int) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1;
}

TEST(InterruptRequests, NotedWhileAScopeLivesAndForgottenAfter) {
    EXPECT_EQ(InterruptSignal(), 0);
    EXPECT_EQ(InterruptWakeDescriptor(), -1);
    {
        InterruptScope host;
        ASSERT_GE(InterruptWakeDescriptor(), 0);
        EXPECT_FALSE(Readable(InterruptWakeDescriptor()));
        EXPECT_FALSE(WaitForInterrupt(0));
        std::raise(SIGTERM);  // the process goes on
        EXPECT_EQ(InterruptSignal(), SIGTERM);
        std::raise(SIGINT);  // the first one is kept
        EXPECT_EQ(InterruptSignal(), SIGTERM);
        EXPECT_TRUE(Readable(InterruptWakeDescriptor()));
        {
            // A scope opened later sees what its host noted.
            InterruptScope dialog(kInterruptCtrlC);
            EXPECT_EQ(InterruptSignal(), SIGTERM);
        }
        EXPECT_NE(Handling(SIGINT), SIG_DFL) << "still taken after the inner scope";
        EXPECT_TRUE(WaitForInterrupt(60000));  // at once
    }
    EXPECT_EQ(InterruptSignal(), 0);
    EXPECT_EQ(Handling(SIGINT), SIG_DFL);
    EXPECT_EQ(Handling(SIGTERM), SIG_DFL);
    // A new scope starts with nothing noted and a quiet descriptor.
    InterruptScope again;
    EXPECT_EQ(InterruptSignal(), 0);
    EXPECT_FALSE(Readable(InterruptWakeDescriptor()));
}

TEST(InterruptRequests, TakesOnlyWhatItNamesAndLeavesAnIgnoredSignalIgnored) {
    std::signal(SIGINT, SIG_IGN);
    {
        InterruptScope terminate(kInterruptTerminate);
        EXPECT_EQ(Handling(SIGINT), SIG_IGN);
        InterruptScope both;
        // Ignored when the process came to it (a shell's background job):
        // Ctrl-C meant for the foreground is not this process's.
        EXPECT_EQ(Handling(SIGINT), SIG_IGN);
        std::raise(SIGINT);
        EXPECT_EQ(InterruptSignal(), 0);
        EXPECT_NE(Handling(SIGTERM), SIG_DFL);
    }
    EXPECT_EQ(Handling(SIGINT), SIG_IGN);
    EXPECT_EQ(Handling(SIGTERM), SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

TEST(InterruptRequests, AWaitWakesForASignalOnAnotherThread) {
    InterruptScope scope;
    const Clock::time_point start = Clock::now();
    std::thread presser([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::raise(SIGINT);  // delivered to this thread
    });
    EXPECT_TRUE(WaitForInterrupt(60000));
    presser.join();
    EXPECT_EQ(InterruptSignal(), SIGINT);
    // Far less than the wait's own limit: the signal, not a time-out, ended it.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
}

TEST(InterruptRequests, AKeptScopeHoldsTheSignalsUntilExit) {
    EXPECT_EXIT(
        {
            { InterruptScope(kInterruptCtrlC).KeepUntilExit(); }
            std::raise(SIGINT);
            std::exit(InterruptSignal() == SIGINT ? 7 : 8);
        },
        testing::ExitedWithCode(7), "");
    // Without it, the signal is the process's end again.
    EXPECT_EXIT(
        {
            { InterruptScope scope(kInterruptCtrlC); }
            std::raise(SIGINT);
            std::exit(0);
        },
        testing::KilledBySignal(SIGINT), "");
}

}  // namespace

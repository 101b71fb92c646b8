// This platform's own addition, not a Win32 name: SIGINT (Ctrl-C) and
// SIGTERM as requests to stop. While an InterruptScope lives, the process
// takes the signals it names: a signal then ends nothing by itself. Its
// handler only notes it (async-signal-safe: an atomic and a byte into a
// pipe), and the code that can stop cleanly asks InterruptSignal() at its
// own points and stops there, leaving nothing half done.
//
// The terminal presenter takes Ctrl-C while a progress dialog runs, as its
// Cancel button; a host takes both signals for a whole job, and a signal
// since then presses that Cancel as well. A signal that the process was
// started to ignore (a shell's background job) stays ignored.
#pragma once

#include "win32/types.h"

enum : unsigned {
    kInterruptCtrlC = 1,      // SIGINT
    kInterruptTerminate = 2,  // SIGTERM
};

class WIN32_API InterruptScope {
public:
    // The first scope to take a signal installs the handler; the last one
    // to let it go gives the signal back its previous handling. A signal
    // noted is forgotten when no scope lives any more.
    explicit InterruptScope(unsigned signals = kInterruptCtrlC | kInterruptTerminate);
    ~InterruptScope();
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

    // The signals stay taken, and are only noted, until the process exits:
    // once a host's work is settled, a late signal cannot end the process
    // half way through its tidy-up or change what it reports.
    void KeepUntilExit() { m_bKept = true; }

private:
    unsigned m_nSignals;
    bool m_bKept = false;
};

// The first signal noted since the signals were taken: SIGINT or SIGTERM;
// 0 when none came, or when no scope lives.
WIN32_API int InterruptSignal();

// A descriptor that turns readable once a signal is noted, for poll()
// beside the descriptor a wait is for; -1 when no scope lives. It stays
// readable: never read it.
WIN32_API int InterruptWakeDescriptor();

// Waits up to timeoutMs; true as soon as a signal is noted (at once when
// one already was). Without a scope it only sleeps.
WIN32_API bool WaitForInterrupt(int timeoutMs);

// Dialogs handed to the presenters on Linux: the scripted presenter runs the
// tests' scripts on them, the terminal presenter draws a progress dialog as
// a line and takes Ctrl-C for its Cancel button, and waits for the answer to
// its question as long as Ctrl-C does not cancel it.
#include "win32/user32/ui_presenter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

#include "win32/kernel32/interrupt_requests.h"
#include "user32/answer_line.h"
#include "win32/user32/dialog_window.h"

void ScriptedPresenter::RunDialog(DialogWindow& dialog) {
    std::function<void(DialogWindow&)> script;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        dialogsShown.push_back(dialog.TemplateId());
        if (dialogScripts.empty()) return;
        script = std::move(dialogScripts.front());
        dialogScripts.pop_front();
    }
    // Outside the lock: a script may open nested dialogs.
    script(dialog);
}

void TerminalPresenter::RunDialog(DialogWindow& dialog) {
    const ControlWindow* bar = nullptr;
    for (const auto& control : dialog.Controls())
        if (control->m_kind == ControlKind::Progress) bar = control.get();
    if (!bar) {
        std::fprintf(stderr, "%s: this terminal cannot show dialogs; closed as Cancel\n",
                     dialog.m_strCaption.c_str());
        return;
    }
    // A progress dialog runs on its timers; Ctrl-C is its Cancel button. A
    // host that holds the signals for a whole job may have noted one before
    // the dialog opened: that presses Cancel too, at the first look.
    InterruptScope interrupts(kInterruptCtrlC);
    bool cancelled = false;
    const bool live = isatty(STDERR_FILENO);
    using Clock = std::chrono::steady_clock;
    // The rate counts from the first rows seen, so a slow start of the
    // renderer does not lower it.
    Clock::time_point since{};
    long long rowsSince = -1;
    int shownPercent = -1;
    bool drawn = false;
    while (!dialog.m_bEnded) {
        // Between ticks, awake at once for a signal until it has pressed
        // Cancel; after that the dialog only waits for its end, unseen.
        if (cancelled)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        else
            WaitForInterrupt(100);
        if (!cancelled && InterruptSignal()) {
            dialog.UserClick(IDCANCEL);
            cancelled = true;
        }
        const std::vector<UINT_PTR> timers = dialog.m_timers;
        for (UINT_PTR id : timers) dialog.TimerTick(id);
        if (dialog.m_bHidden) continue;
        const long long total = static_cast<long long>(bar->m_nUpper) - bar->m_nLower;
        const long long done = static_cast<long long>(bar->m_nPos) - bar->m_nLower;
        const auto now = Clock::now();
        if (rowsSince < 0 && done > 0) since = now, rowsSince = done;
        const double seconds = std::chrono::duration<double>(now - since).count();
        const double rate =
            rowsSince >= 0 && seconds > 0.5 ? static_cast<double>(done - rowsSince) / seconds : 0;
        const int percent = static_cast<int>(std::clamp(done, 0LL, std::max(total, 1LL)) * 100 /
                                             std::max(total, 1LL));
        // On a terminal the line is redrawn in place; in a log, every tenth.
        if (live || percent / 10 != shownPercent / 10) {
            const std::string line = ProgressLine(dialog.m_strCaption, done, total, rate);
            std::fprintf(stderr, live ? "\r%s\x1b[K" : "%s\n", line.c_str());
            shownPercent = percent;
            drawn = true;
        }
    }
    if (live && drawn) std::fprintf(stderr, "\n");
}

bool WaitForAnswerLine() {
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {InterruptWakeDescriptor(), POLLIN, 0}};
    while (waits[1].fd >= 0) {
        if (InterruptSignal()) return false;
        if (poll(waits, 2, -1) <= 0) continue;
        if (waits[0].revents) return true;
        // Readable without a signal noted: a late byte of an earlier scope.
        if (!InterruptSignal()) waits[1].fd = -1;
    }
    return true;
}

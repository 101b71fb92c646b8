// Dialogs handed to the presenters on Linux: the scripted presenter runs the
// tests' scripts on them, the terminal presenter draws a progress dialog as
// a line and takes Ctrl-C for its Cancel button.
#include "win32/user32/ui_presenter.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unistd.h>

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

namespace {

// Ctrl-C presses Cancel of every progress dialog open at the time: each
// dialog compares the count with the one it began with.
std::atomic<unsigned> g_interrupts{0};
std::mutex g_signalLock;
int g_progressDialogs = 0;
void (*g_previousHandler)(int) = nullptr;

void OnInterrupt(int) {
    g_interrupts.fetch_add(1);
}

// The handler is the process's: taken by the first progress dialog,
// given back by the last, whatever threads they run on.
class InterruptAsCancel {
public:
    InterruptAsCancel() {
        std::lock_guard<std::mutex> lock(g_signalLock);
        if (g_progressDialogs++ == 0) g_previousHandler = std::signal(SIGINT, OnInterrupt);
        m_nSeen = g_interrupts.load();
    }
    ~InterruptAsCancel() {
        std::lock_guard<std::mutex> lock(g_signalLock);
        if (--g_progressDialogs == 0) std::signal(SIGINT, g_previousHandler);
    }
    bool Pressed() {
        const unsigned now = g_interrupts.load();
        const bool pressed = now != m_nSeen;
        m_nSeen = now;
        return pressed;
    }

private:
    unsigned m_nSeen;
};

}  // namespace

void TerminalPresenter::RunDialog(DialogWindow& dialog) {
    const ControlWindow* bar = nullptr;
    for (const auto& control : dialog.Controls())
        if (control->m_kind == ControlKind::Progress) bar = control.get();
    if (!bar) {
        std::fprintf(stderr, "%s: this terminal cannot show dialogs; closed as Cancel\n",
                     dialog.m_strCaption.c_str());
        return;
    }
    // A progress dialog runs on its timers; Ctrl-C is its Cancel button.
    InterruptAsCancel interrupt;
    const bool live = isatty(STDERR_FILENO);
    using Clock = std::chrono::steady_clock;
    // The rate counts from the first rows seen, so a slow start of the
    // renderer does not lower it.
    Clock::time_point since{};
    long long rowsSince = -1;
    int shownPercent = -1;
    bool drawn = false;
    while (!dialog.m_bEnded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (interrupt.Pressed()) dialog.UserClick(IDCANCEL);
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

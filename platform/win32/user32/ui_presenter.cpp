#include "win32/user32/ui_presenter.h"

#include "win32/user32/dialog_window.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {
std::atomic<UiPresenter*> g_presenter{nullptr};
}

UiPresenter::~UiPresenter() = default;

void UiPresenter::RunDialog(DialogWindow&) {}

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

std::string ProgressLine(const std::string& caption, long long done, long long total,
                         double rowsPerSecond) {
    const long long range = total < 1 ? 1 : total;
    const long long clamped = std::clamp(done, 0LL, range);
    const int percent = static_cast<int>(clamped * 100 / range);
    const int filled = percent * 30 / 100;
    char line[256];
    int n = std::snprintf(line, sizeof line, "%s [%.*s%*s] %3d%%  rows %lld of %lld",
                          caption.c_str(), filled, "##############################", 30 - filled,
                          "", percent, clamped, range);
    if (n < 0 || static_cast<size_t>(n) >= sizeof line) return std::string(line);
    if (rowsPerSecond > 0) {
        const long long left =
            static_cast<long long>(static_cast<double>(range - clamped) / rowsPerSecond + 0.5);
        std::snprintf(line + n, sizeof line - static_cast<size_t>(n),
                      ", %.0f rows/s, %lld:%02lld left", rowsPerSecond, left / 60, left % 60);
    } else {
        std::snprintf(line + n, sizeof line - static_cast<size_t>(n), ", --- rows/s, --:-- left");
    }
    return std::string(line);
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

void SetUiPresenter(UiPresenter* pPresenter) {
    g_presenter.store(pPresenter);
}
UiPresenter* GetUiPresenter() {
    return g_presenter.load();
}

int ScriptedPresenter::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                      UINT type) {
    std::lock_guard<std::mutex> lock(m_lock);
    messages.push_back(caption.empty() ? text : caption + ": " + text);
    messageTypes.push_back(type);
    if (messageAnswers.empty()) return IDCANCEL;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

bool ScriptedPresenter::ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) {
    std::lock_guard<std::mutex> lock(m_lock);
    saveRequests.push_back(request);
    if (saveAnswers.empty()) return false;
    const std::string answer = saveAnswers.front();
    saveAnswers.pop_front();
    if (answer.empty()) return false;
    *pPath = answer;
    return true;
}

int TerminalPresenter::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                      UINT type) {
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return (type & 0xF) == MB_OK ? IDOK : IDCANCEL;
}

bool TerminalPresenter::ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) {
    if (!strSaveAs.empty()) {
        *pPath = strSaveAs;
        return true;
    }
    if (!isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "Save plot as: no terminal to ask on, the plot is cancelled\n");
        return false;
    }
    std::fprintf(stderr, "Save plot as [%s] (empty line accepts, '-' cancels): ",
                 request.strInitialName.c_str());
    std::string line;
    if (!std::getline(std::cin, line) || line == "-") return false;
    *pPath = line.empty() ? request.strInitialName : line;
    return true;
}

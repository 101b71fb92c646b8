#include "win32/ui_presenter.h"

#include "win32/dialog_window.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {
std::atomic<UiPresenter*> g_presenter{nullptr};
}

UiPresenter::~UiPresenter() = default;

void UiPresenter::RunDialog(DialogWindow&) {}

void ScriptedPresenter::RunDialog(DialogWindow& dialog) {
    dialogsShown.push_back(dialog.TemplateId());
    if (dialogScripts.empty()) return;
    const auto script = std::move(dialogScripts.front());
    dialogScripts.pop_front();
    script(dialog);
}

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
    g_interrupted.store(true);
}

// The progress of a bar as a percentage of its range.
int Percent(const ControlWindow& bar) {
    const long long range = static_cast<long long>(bar.m_nUpper) - bar.m_nLower;
    if (range <= 0) return 0;
    const long long done = static_cast<long long>(bar.m_nPos) - bar.m_nLower;
    return static_cast<int>(std::clamp(done * 100 / range, 0LL, 100LL));
}

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
    g_interrupted.store(false);
    void (*previous)(int) = std::signal(SIGINT, OnInterrupt);
    const bool live = isatty(STDERR_FILENO);
    int shown = -1;
    while (!dialog.m_bEnded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (g_interrupted.exchange(false)) dialog.UserClick(IDCANCEL);
        const std::vector<UINT_PTR> timers = dialog.m_timers;
        for (UINT_PTR id : timers) dialog.TimerTick(id);
        const int percent = Percent(*bar);
        // On a terminal the bar is redrawn in place; in a log, every tenth.
        if (live ? percent != shown : percent / 10 != shown / 10) {
            const int filled = percent * 30 / 100;
            std::fprintf(stderr, "%s%s [%.*s%*s] %3d%%%s", live ? "\r" : "",
                         dialog.m_strCaption.c_str(), filled, "##############################",
                         30 - filled, "", percent, live ? "" : "\n");
            shown = percent;
        }
    }
    if (live) std::fprintf(stderr, "\n");
    std::signal(SIGINT, previous);
}

void SetUiPresenter(UiPresenter* pPresenter) {
    g_presenter.store(pPresenter);
}
UiPresenter* GetUiPresenter() {
    return g_presenter.load();
}

int ScriptedPresenter::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                      UINT) {
    messages.push_back(caption.empty() ? text : caption + ": " + text);
    if (messageAnswers.empty()) return IDCANCEL;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

bool ScriptedPresenter::ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) {
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

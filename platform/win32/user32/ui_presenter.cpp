#include "win32/user32/ui_presenter.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <unistd.h>

#include "user32/answer_line.h"

namespace {
std::atomic<UiPresenter*> g_presenter{nullptr};
}

UiPresenter::~UiPresenter() = default;

void UiPresenter::RunDialog(DialogWindow&) {}

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
    if (!WaitForAnswerLine()) {
        std::fprintf(stderr, "\n");
        return false;
    }
    std::string line;
    if (!std::getline(std::cin, line) || line == "-") return false;
    *pPath = line.empty() ? request.strInitialName : line;
    return true;
}

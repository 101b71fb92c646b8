#include "win32/ui_presenter.h"

#include "win32/dialog_window.h"

#include <atomic>
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

void TerminalPresenter::RunDialog(DialogWindow& dialog) {
    std::fprintf(stderr, "%s: this terminal cannot show dialogs; closed as Cancel\n",
                 dialog.m_strCaption.c_str());
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

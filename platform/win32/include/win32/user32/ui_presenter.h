// Every modal piece of user interface (message boxes, the save dialog, the
// driver's dialogs, the progress dialog) is shown by one presenter that the
// host process installs. Without one, a modal request is answered as if
// the user had cancelled it, so a process without a user never blocks.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "win32/types.h"
#include "win32/user32/message_box.h"

class DialogWindow;

struct SaveFileRequest {
    HWND hOwner;
    std::string strInitialName;
    std::string strDefaultExtension;
    std::string strFilter;  // MFC form: "text|pattern|text|pattern||"
    DWORD dwFlags;
};

class WIN32_API UiPresenter {
public:
    virtual int ShowMessageBox(HWND hOwner, const std::string& text, const std::string& caption,
                               UINT type) = 0;
    // True with the chosen full path, false when the user cancels.
    virtual bool ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) = 0;
    // Shows a modal dialog until it ends (DialogWindow::m_bEnded), passing the
    // user's actions to it. A presenter that cannot show dialogs returns at
    // once; so may one that stops showing it. CDialog::DoModal then runs the
    // dialog on unseen, on its timers, or ends a dialog without timers as
    // Cancel. Presenters are called from whatever thread shows a dialog.
    virtual void RunDialog(DialogWindow& dialog);
    virtual ~UiPresenter();
};

WIN32_API void SetUiPresenter(UiPresenter* pPresenter);
WIN32_API UiPresenter* GetUiPresenter();

// For tests: answers from a script and keeps what was shown. Safe to call
// from several threads; the tests read the lists when those threads ended.
class WIN32_API ScriptedPresenter : public UiPresenter {
public:
    int ShowMessageBox(HWND hOwner, const std::string& text, const std::string& caption,
                       UINT type) override;
    bool ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) override;
    // Runs the next dialog script on the dialog; without one the dialog is
    // closed (Cancel). Nested dialogs take the scripts that follow.
    void RunDialog(DialogWindow& dialog) override;

    // What the user does in each dialog, in the order the dialogs open.
    std::deque<std::function<void(DialogWindow&)>> dialogScripts;
    std::vector<int> dialogsShown;  // template ids
    // Answers, used in order; an empty script cancels.
    std::deque<int> messageAnswers;
    std::deque<std::string> saveAnswers;  // "" cancels
    // What was shown, and the type (buttons and icon) of each message box.
    std::vector<std::string> messages;
    std::vector<UINT> messageTypes;
    std::vector<SaveFileRequest> saveRequests;

private:
    std::mutex m_lock;
};

// For a terminal: message boxes print to stderr; the save dialog asks on the
// terminal when there is one, or takes a fixed answer.
class WIN32_API TerminalPresenter : public UiPresenter {
public:
    int ShowMessageBox(HWND hOwner, const std::string& text, const std::string& caption,
                       UINT type) override;
    bool ShowSaveDialog(const SaveFileRequest& request, std::string* pPath) override;
    // A dialog with a progress bar (the plot transaction) runs on its
    // timers with the bar drawn on stderr (ProgressLine) and Ctrl-C as
    // Cancel (win32/kernel32/interrupt_requests.h: also a signal noted before the
    // dialog opened, while the host held the signals); while hidden it runs
    // on undrawn. Any other dialog cannot be shown on a terminal and is left
    // to CDialog (unseen on its timers, or Cancel). The save dialog's
    // question is cancelled by a signal the host holds.
    void RunDialog(DialogWindow& dialog) override;

    std::string strSaveAs;  // when set, the save dialog answers with it
};

// The terminal's progress line: the bar, the rows done of the page's rows
// (a range below 1 counts as 1), the rate, and the time left at that rate
// as minutes and seconds; "---" while no rate is known yet.
WIN32_API std::string ProgressLine(const std::string& caption, long long done, long long total,
                                   double rowsPerSecond);

// Dialogs and presenters on Windows: a dialog is the system's window, run
// by the system's modal loop (CDialog::DoModal), so no dialog is ever
// handed to a presenter; presenters there answer message boxes and the save
// dialog only. The console's Ctrl-C does not reach a blocked read of the
// answer, so the question waits for its line.
#include "user32/answer_line.h"
#include "win32/user32/ui_presenter.h"

bool WaitForAnswerLine() {
    return true;
}

void ScriptedPresenter::RunDialog(DialogWindow&) {}

void TerminalPresenter::RunDialog(DialogWindow&) {}

// Dialogs and presenters on Windows: a dialog is the system's window, run
// by the system's modal loop (CDialog::DoModal), so no dialog is ever
// handed to a presenter; presenters there answer message boxes and the save
// dialog only.
#include "win32/user32/ui_presenter.h"

void ScriptedPresenter::RunDialog(DialogWindow&) {}

void TerminalPresenter::RunDialog(DialogWindow&) {}

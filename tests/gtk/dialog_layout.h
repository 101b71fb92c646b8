// What a dialog would show wrong on Windows, measured in the dialog's font
// on the GTK presenter: a text that does not fit its control, controls that
// overlap (a group box may hold controls wholly inside its frame), a control
// past the dialog's edge. One line per fault; none for a sound layout.
#pragma once

#include <string>
#include <vector>

#include "win32/gtk/gtk_presenter.h"

std::vector<std::string> LayoutFaults(const GtkPresenter& presenter, const DialogWindow& dialog);

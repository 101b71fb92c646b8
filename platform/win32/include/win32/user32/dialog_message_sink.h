// Where a dialog's window procedure sends WM_COMMAND, WM_NOTIFY and WM_TIMER:
// the emulated dialog window on Linux, the dialog procedure of a system
// dialog on Windows.
#pragma once

#include "win32/types.h"

class DialogMessageSink {
public:
    virtual LRESULT OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual ~DialogMessageSink() = default;
};

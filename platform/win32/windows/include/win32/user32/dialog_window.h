// On Windows a dialog is the system's window: the Linux emulation of dialog
// windows does not exist there, only the sink of the dialog procedure.
#pragma once

#include "win32/types.h"
#include "win32/user32/dialog_message_sink.h"

class DialogWindow;

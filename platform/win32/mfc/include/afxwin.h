// The MFC subset that the module uses.
#pragma once

#include <windows.h>

#include "mfc/runtime_class.h"
#include "mfc/cwinthread.h"
#include "mfc/crect.h"
#include "mfc/cstring.h"
#include "mfc/cfiledialog.h"
#include "mfc/cwnd.h"
#include "mfc/cdialog.h"
#include "mfc/ddx.h"
#include "mfc/controls.h"
#include "win32/user32/ui_presenter.h"

// The MFC subset that the module uses.
#pragma once

#include <windows.h>

#include "mfc/crect.h"
#include "mfc/cstring.h"
#include "mfc/cfiledialog.h"
#include "win32/ui_presenter.h"

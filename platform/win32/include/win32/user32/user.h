// Window handles: on Linux there is one desktop and no other window.
#pragma once

#include "win32/types.h"

extern "C" {
WIN32_API HWND WINAPI GetDesktopWindow();
}

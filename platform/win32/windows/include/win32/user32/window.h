// On Windows this part of Win32 is the system's.
#pragma once

#include "win32/types.h"

// On Windows this part of Win32 is the system's.
#pragma once

#include "win32/types.h"

// Metafiles carry ModifyWorldTransform's MWT_SET, which wingdi.h leaves out.
#ifndef MWT_SET
#define MWT_SET 4
#endif

// On Windows the record types are wingdi.h's; what the player adds to them
// is shared.
#pragma once

#include "win32/gdi32/emf/emf_record_names.h"
#include "win32/types.h"

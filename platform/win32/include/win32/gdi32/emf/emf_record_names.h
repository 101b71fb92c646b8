// What the player knows of each record type: its name and its smallest size.
#pragma once

#include "win32/types.h"

// "EMR_POLYLINE16" for EMR_POLYLINE16; nullptr for a type without a name (69,
// and anything past EMR_MAX), which players skip as PlayEnhMetaFile does.
WIN32_API const char* EmfRecordTypeName(DWORD type);

// The smallest size a record of this type can have: its fixed part, without
// the arrays whose counts it carries. 8 (the EMR itself) for unknown types.
WIN32_API DWORD EmfRecordFixedSize(DWORD type);

// The metafile record that creates an extended pen.
#pragma once

#include <cstddef>

#include "win32/gdi32/emf/emf_records.h"

// EMR_EXTCREATEPEN: elpNumEntries style entries (dash and gap lengths for
// PS_USERSTYLE) follow the fixed part of 52 bytes; a DIB pattern pen also
// carries a bitmap. Some wingdi.h declare the record with the native
// EXTLOGPEN, whose hatch is pointer-sized on 64-bit Windows: this is the
// layout of the file on every platform.
struct EmfExtCreatePenRecord {
    EMR emr;
    DWORD ihPen;
    DWORD offBmi;
    DWORD cbBmi;
    DWORD offBits;
    DWORD cbBits;
    EXTLOGPEN32 elp;
};
static_assert(offsetof(EmfExtCreatePenRecord, elp) == 28 &&
              offsetof(EmfExtCreatePenRecord, elp.elpStyleEntry) == 52);

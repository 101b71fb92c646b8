// The metafile record that creates a font.
#pragma once

#include <cstddef>

#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/gdi_text.h"

// EMR_EXTCREATEFONTINDIRECTW: the LOGFONTW starts an ENUMLOGFONTEXDVW (or
// the older EXTLOGFONTW) whose further fields the player does not need.
// wingdi.h declares the record with a whole EXTLOGFONTW, longer than the
// shortest record writers make: this is the part every such record has.
struct EmfExtCreateFontRecord {
    EMR emr;
    DWORD ihFont;
    LOGFONTW elfw;
};
static_assert(sizeof(EmfExtCreateFontRecord) == 104 &&
              offsetof(EmfExtCreateFontRecord, elfw) == 12);

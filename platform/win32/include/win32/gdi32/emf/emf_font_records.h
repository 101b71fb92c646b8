// The metafile record that creates a font.
#pragma once

#include <cstddef>

#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/gdi_text.h"

// EMR_EXTCREATEFONTINDIRECTW: the LOGFONTW starts an ENUMLOGFONTEXDVW (or
// the older EXTLOGFONTW) whose further fields the player does not need.
struct EMREXTCREATEFONTINDIRECTW {
    EMR emr;
    DWORD ihFont;
    LOGFONTW elfw;
};
static_assert(sizeof(EMREXTCREATEFONTINDIRECTW) == 104 &&
              offsetof(EMREXTCREATEFONTINDIRECTW, elfw) == 12);

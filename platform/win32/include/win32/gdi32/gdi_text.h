// GDI text: the logical font record, text alignment and the options of
// ExtTextOut, with the values Windows gives them.
#pragma once

#include "win32/types.h"

// UTF-16 code unit, as wchar_t is on Windows.
using WCHAR = char16_t;

#ifndef LF_FACESIZE
#define LF_FACESIZE 32
#endif

struct LOGFONTW {
    LONG lfHeight;       // < 0: character (em) height; > 0: cell height; 0: default
    LONG lfWidth;        // average character width; 0: as the face has it
    LONG lfEscapement;   // baseline angle, tenths of a degree, counter-clockwise
    LONG lfOrientation;  // glyph angle, the same (advanced graphics mode)
    LONG lfWeight;       // FW_; 0 is FW_DONTCARE
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];  // NUL-terminated unless all 32 are used
};
static_assert(sizeof(LOGFONTW) == 92);

#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_SEMIBOLD 600
#define FW_BOLD 700

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define HANGUL_CHARSET 129
#define JOHAB_CHARSET 130
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define VIETNAMESE_CHARSET 163
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define THAI_CHARSET 222
#define EASTEUROPE_CHARSET 238
#define OEM_CHARSET 255

#define FIXED_PITCH 1
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_RTLREADING 256

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004
#define ETO_GLYPH_INDEX 0x0010
#define ETO_RTLREADING 0x0080
#define ETO_IGNORELANGUAGE 0x1000
#define ETO_PDY 0x2000

#define GM_COMPATIBLE 1
#define GM_ADVANCED 2

// The settings record: a DEVMODEA followed by the driver's private part,
// 1180 bytes, little-endian. It is stored as the ini key "ALLSETTING" and
// exchanged with the host as a DEVMODE memory handle, so its layout is fixed.
#pragma once

#include <cstddef>
#include <windows.h>

struct HPGL2DevMode {
    DEVMODEA dm;              // 0: public part
    DEVMODEA dmSaved;         // 156: public part as of the last paper-geometry refresh
    char szDeviceTag[32];     // 312
    LONG nReserved;           // 344
    LONG nPaperCode;          // 348: paper code applied at the last refresh
    LONG nPaperWidth;         // 352: sheet width as plotted, 0.1 mm
    LONG nPaperLength;        // 356: sheet length as plotted, 0.1 mm
    BYTE aReserved360[128];   // 360
    LONG nMarginLeft;         // 488: 0.1 mm
    LONG nMarginTop;          // 492
    LONG nMarginRight;        // 496
    LONG nMarginBottom;       // 500
    BYTE aReserved504[28];    // 504
    LONG nClipMode;           // 532: CLIP_ENABLE | CLIP_RECT | CLIP_WINDING
    BYTE bRenderMode;         // 536: 0 colour, nonzero greyscale (PJL render mode)
    BYTE aReserved537[3];     // 537
    LONG nHeadMask;           // 540: PJL header lines
    LONG nReserved544;        // 544
    LONG nColorMode;          // 548: 0 black and white, 1 colour, 2 grey
    LONG nTransaction;        // 552: 0 in plot, 1 in computer, 2 auto
    LONG nMemorySize;         // 556: bytes
    LONG nCompression;        // 560: 0..4, the "Compressed algorithm" choices
    LONG nDataMode;           // 564: 0..3, the "Data" choices
    LONG nReserved568;        // 568
    LONG bInkedArea;          // 572
    LONG bPjlControl;         // 576
    char szControlCode[500];  // 580: NUL-terminated, at most 499 characters
    BYTE aReserved1080[100];  // 1080
};

static_assert(sizeof(HPGL2DevMode) == 1180);
static_assert(offsetof(HPGL2DevMode, dmSaved) == 156);
static_assert(offsetof(HPGL2DevMode, dmSaved) + offsetof(DEVMODEA, dmPaperSize) == 202);
static_assert(offsetof(HPGL2DevMode, szDeviceTag) == 312);
static_assert(offsetof(HPGL2DevMode, nReserved) == 344);
static_assert(offsetof(HPGL2DevMode, nPaperCode) == 348);
static_assert(offsetof(HPGL2DevMode, nPaperWidth) == 352);
static_assert(offsetof(HPGL2DevMode, nPaperLength) == 356);
static_assert(offsetof(HPGL2DevMode, nMarginLeft) == 488);
static_assert(offsetof(HPGL2DevMode, nMarginTop) == 492);
static_assert(offsetof(HPGL2DevMode, nMarginRight) == 496);
static_assert(offsetof(HPGL2DevMode, nMarginBottom) == 500);
static_assert(offsetof(HPGL2DevMode, nClipMode) == 532);
static_assert(offsetof(HPGL2DevMode, bRenderMode) == 536);
static_assert(offsetof(HPGL2DevMode, nHeadMask) == 540);
static_assert(offsetof(HPGL2DevMode, nColorMode) == 548);
static_assert(offsetof(HPGL2DevMode, nTransaction) == 552);
static_assert(offsetof(HPGL2DevMode, nMemorySize) == 556);
static_assert(offsetof(HPGL2DevMode, nCompression) == 560);
static_assert(offsetof(HPGL2DevMode, nDataMode) == 564);
static_assert(offsetof(HPGL2DevMode, bInkedArea) == 572);
static_assert(offsetof(HPGL2DevMode, bPjlControl) == 576);
static_assert(offsetof(HPGL2DevMode, szControlCode) == 580);

// Clip bits of nClipMode (the "CLIPPER" key).
constexpr LONG CLIP_ENABLE = 1;
constexpr LONG CLIP_RECT = 2;
constexpr LONG CLIP_WINDING = 4;

constexpr LONG kTransactionInPlot = 0;
constexpr LONG kTransactionInComputer = 1;
constexpr LONG kTransactionAuto = 2;

// The record a new driver starts from (and GetDefaultDevMode hands out).
void FillDefaultDevMode(HPGL2DevMode* pRecord);

// Resolution in dots per inch; a value below 1 counts as 300 everywhere.
inline int EffectiveResolution(const HPGL2DevMode& record) {
    return record.dm.dmPrintQuality < 1 ? 300 : record.dm.dmPrintQuality;
}

// Copies text into a fixed field, always leaving a NUL inside it.
void CopyToField(char* pField, size_t nFieldSize, const char* pszText);

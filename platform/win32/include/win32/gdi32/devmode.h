// DEVMODEA (printer form of the unions) and DOCINFOA, with the Win32 layout.
#pragma once

#include <cstddef>

#include "win32/types.h"

#define CCHDEVICENAME 32
#define CCHFORMNAME 32

struct DEVMODEA {
    BYTE dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    SHORT dmOrientation;
    SHORT dmPaperSize;
    SHORT dmPaperLength;
    SHORT dmPaperWidth;
    SHORT dmScale;
    SHORT dmCopies;
    SHORT dmDefaultSource;
    SHORT dmPrintQuality;
    SHORT dmColor;
    SHORT dmDuplex;
    SHORT dmYResolution;
    SHORT dmTTOption;
    SHORT dmCollate;
    BYTE dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmNup;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;
};
using LPDEVMODEA = DEVMODEA*;
static_assert(sizeof(DEVMODEA) == 156);
static_assert(offsetof(DEVMODEA, dmSpecVersion) == 32);
static_assert(offsetof(DEVMODEA, dmDriverExtra) == 38);
static_assert(offsetof(DEVMODEA, dmFields) == 40);
static_assert(offsetof(DEVMODEA, dmOrientation) == 44);
static_assert(offsetof(DEVMODEA, dmPaperSize) == 46);
static_assert(offsetof(DEVMODEA, dmPaperLength) == 48);
static_assert(offsetof(DEVMODEA, dmPaperWidth) == 50);
static_assert(offsetof(DEVMODEA, dmScale) == 52);
static_assert(offsetof(DEVMODEA, dmPrintQuality) == 58);
static_assert(offsetof(DEVMODEA, dmColor) == 60);
static_assert(offsetof(DEVMODEA, dmYResolution) == 64);
static_assert(offsetof(DEVMODEA, dmCollate) == 68);
static_assert(offsetof(DEVMODEA, dmFormName) == 70);
static_assert(offsetof(DEVMODEA, dmLogPixels) == 102);
static_assert(offsetof(DEVMODEA, dmBitsPerPel) == 104);

#define DM_ORIENTATION 0x00000001
#define DM_PAPERSIZE 0x00000002
#define DM_PAPERLENGTH 0x00000004
#define DM_PAPERWIDTH 0x00000008
#define DM_SCALE 0x00000010
#define DM_PRINTQUALITY 0x00000400
#define DM_COLOR 0x00000800
#define DM_YRESOLUTION 0x00002000

#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

struct DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
};

// Device capability indexes of GetDeviceCaps.
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMFONTS 22
#define NUMCOLORS 24
#define CLIPCAPS 36
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113

// Indexes of DeviceCapabilities.
#define DC_PAPERS 2
#define DC_PAPERSIZE 3
#define DC_PAPERNAMES 16

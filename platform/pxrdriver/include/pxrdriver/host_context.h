// The host framework's drawing context, first argument of every driver
// callback. The driver fills the device description; the constant members
// hold values whose meaning is the host framework's.
#pragma once

#include <cstddef>
#include <windows.h>

class HT_Driver;
struct DriverCallbacks;

struct HostContext {
    HT_Driver* pDriver;                // 0: the driver attached to this context
    const char* pszPortName;           // 4: destination when the document names none
    LONG nReserved8;                   // 8
    void* pJob;                        // 12: the driver's per-attachment job record
    LONG aReserved16[3];               // 16
    DriverCallbacks* pCallbacks;       // 28: the driver's callback table
    LONG aReserved32[4];               // 32
    LONG nPaperWidthMM;                // 48: whole millimetres
    LONG nPaperLengthMM;               // 52
    LONG bJobStarted;                  // 56: 1 once the output channel is open
    LONG aReserved60[27];              // 60
    LONG nPageWidthPx;                 // 168: printable width, pixels (page geometry)
    LONG nPageHeightPx;                // 172
    LONG aReserved176[9];              // 176
    LONG nPageWidthMM;                 // 212: printable width, millimetres (page geometry)
    LONG nPageHeightMM;                // 216
    LONG aReserved220[5];              // 220
    LONG nConst240;                    // 240: 1
    LONG nConst244;                    // 244: 255
    LONG aReserved248[2];              // 248
    LONG nDeviceWidthPx;               // 256: printable width, pixels (device description)
    LONG nDeviceHeightPx;              // 260
    LONG nOffsetXMM;                   // 264: left margin, millimetres
    LONG nOffsetYMM;                   // 268: top margin, millimetres
    LONG nDeviceWidthMM;               // 272: printable width, millimetres (device description)
    LONG nDeviceHeightMM;              // 276
    LONG aReserved280[4];              // 280
    LONG bPenColorSwitch;              // 296: nonzero: polylines select the pen of their colour
    LONG nConst300;                    // 300: 256
    LONG nReserved304;                 // 304
    LONG nResolutionStep;              // 308: resolution / 150
    LONG nConst312;                    // 312: 0
    LONG aReserved316[4];              // 316
    LONG nConst332;                    // 332: 0
    LONG nConst336;                    // 336: 0
    LONG nConst340;                    // 340: 0
    const char* pszDeviceName;         // 344: "HPGL2"
    const char* pszRevision;           // 348: "$Revision: 1.2 $"
    const char* pszDeviceDescription;  // 352: "HPGL2 device"
    LONG nReserved356;                 // 356
    LONG nConst360;                    // 360: 0
    LONG aReserved364[13];             // 364
    LONG nConst416;                    // 416: 1
    LONG nConst420;                    // 420: 1
    LONG aReserved424[6];              // 424
    LONG nConst448;                    // 448: 1
};

#if defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 4
static_assert(offsetof(HostContext, pszPortName) == 4);
static_assert(offsetof(HostContext, pJob) == 12);
static_assert(offsetof(HostContext, pCallbacks) == 28);
static_assert(offsetof(HostContext, nPaperWidthMM) == 48);
static_assert(offsetof(HostContext, nPaperLengthMM) == 52);
static_assert(offsetof(HostContext, bJobStarted) == 56);
static_assert(offsetof(HostContext, nPageWidthPx) == 168);
static_assert(offsetof(HostContext, nPageHeightPx) == 172);
static_assert(offsetof(HostContext, nPageWidthMM) == 212);
static_assert(offsetof(HostContext, nPageHeightMM) == 216);
static_assert(offsetof(HostContext, nConst240) == 240);
static_assert(offsetof(HostContext, nConst244) == 244);
static_assert(offsetof(HostContext, nDeviceWidthPx) == 256);
static_assert(offsetof(HostContext, nDeviceHeightPx) == 260);
static_assert(offsetof(HostContext, nOffsetXMM) == 264);
static_assert(offsetof(HostContext, nOffsetYMM) == 268);
static_assert(offsetof(HostContext, nDeviceWidthMM) == 272);
static_assert(offsetof(HostContext, nDeviceHeightMM) == 276);
static_assert(offsetof(HostContext, bPenColorSwitch) == 296);
static_assert(offsetof(HostContext, nConst300) == 300);
static_assert(offsetof(HostContext, nResolutionStep) == 308);
static_assert(offsetof(HostContext, nConst312) == 312);
static_assert(offsetof(HostContext, nConst332) == 332);
static_assert(offsetof(HostContext, nConst336) == 336);
static_assert(offsetof(HostContext, nConst340) == 340);
static_assert(offsetof(HostContext, pszDeviceName) == 344);
static_assert(offsetof(HostContext, pszRevision) == 348);
static_assert(offsetof(HostContext, pszDeviceDescription) == 352);
static_assert(offsetof(HostContext, nConst360) == 360);
static_assert(offsetof(HostContext, nConst416) == 416);
static_assert(offsetof(HostContext, nConst420) == 420);
static_assert(offsetof(HostContext, nConst448) == 448);
static_assert(sizeof(HostContext) == 452);
#endif

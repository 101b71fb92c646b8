// The table of drawing callbacks that a driver fills when it is attached to a
// drawing context. The host calls the driver only through it; entries a
// driver does not install stay null. Offsets are those of the 32-bit host:
// entry k lies at 4 * k bytes (8 * k on a 64-bit build).
#pragma once

#include <cstddef>
#include <windows.h>

#include "pxrdriver/host_context.h"

class OutputChannel;
struct HT_ClipRgn;

// The attribute block that polylines are drawn with. Its first member is the
// context, so a pointer to the block is also a pointer to that pointer.
struct DrawAttributes {
    HostContext* m_pHost;
    COLORREF m_crColor;  // current drawing colour, for lines and fills alike
    LONG m_nReserved;
    LONG m_nLineAttr;  // line-end value + join value
    LONG m_nPenWidth;  // device units
};

// The host's pen record, as selected into the context.
struct HostPenRecord {
    DWORD nStyle;  // Win32 pen style with end-cap bits 0x0F00 and join bits 0xF000
    DWORD nWidth;  // device units
    DWORD nReserved2;
    COLORREF crColor;
    DWORD aReserved[12];
};
static_assert(sizeof(HostPenRecord) == 64);

struct HostBrushRecord {
    DWORD nStyle;
    COLORREF crColor;
    DWORD nHatch;
};

using PFN_HostInt = int (*)(HostContext*);
using PFN_HostVoid = void (*)(HostContext*);
using PFN_Reserved = void (*)();

struct DriverCallbacks {
    int (*CreateJobContext)(HostContext*);                                   // 0
    void (*DestroyJobContext)(HostContext*);                                 // 4
    void (*DescribeDevice)(HostContext*);                                    // 8
    void (*ComputePageGeometry)(HostContext*);                               // 12
    PFN_Reserved Reserved16;                                                 // 16
    void (*BeginJob)(HostContext** ppHost);                                  // 20
    void (*EndJob)(HostContext** ppHost, int nIgnored);                      // 24
    LONG_PTR (*OpenOutput)(HostContext*);                                    // 28
    PFN_Reserved Reserved32[3];                                              // 32
    int (*EmitPolyline)(DrawAttributes*, int nCount, const POINT* pPoints);  // 44
    PFN_Reserved Reserved48[6];                                              // 48
    int (*GetDeviceCaps)(HostContext*, int nIndex);                          // 72
    int (*StartDocument)(HostContext*, const DOCINFOA*, OutputChannel*);     // 76
    int (*EndDocument)(HostContext*);                                        // 80
    int (*OnResetInputWindow)(HostContext*);                                 // 84
    int (*Reserved88)(HostContext*);                                         // 88
    PFN_Reserved Reserved92;                                                 // 92
    int (*OnPolyline)(HostContext*, const POINT* pPoints, int nCount);       // 96
    int (*OnPolygon)(HostContext*, const POINT* pPoints, int nCount);        // 100
    PFN_Reserved Reserved104;                                                // 104
    int (*OnBeginPath)(HostContext*);                                        // 108
    int (*OnEndPath)(HostContext*);                                          // 112
    int (*OnRefillPolygon)(HostContext*);                                    // 116
    int (*OnFillPath)(HostContext*);                                         // 120
    int (*OnSetFillMode)(HostContext*, int nMode);                           // 124
    PFN_Reserved Reserved128;                                                // 128
    int (*OnSelectPen)(HostContext*, const HostPenRecord*);                  // 132
    int (*OnSelectBrush)(HostContext*, const HostBrushRecord*);              // 136
    PFN_Reserved Reserved140;                                                // 140
    int (*RenderPageInComputer)(HostContext*, HENHMETAFILE, const char* pszText,
                                void* pArgument);                     // 144
    int (*OnSetRop2)(HostContext*, int nRop2);                        // 148
    int (*OnSetClipRegion)(HostContext*, const HT_ClipRgn* pRegion);  // 152
    PFN_Reserved Reserved156;                                         // 156
    // The transform is six doubles: eM11, eM12, eM21, eM22, eDx, eDy.
    int (*RenderMetafileRegion)(HostContext*, HENHMETAFILE, const double* pTransform,
                                const RECT*);  // 160
    PFN_Reserved Reserved164[4];               // 164
    int (*OnDrawBitmap)(HostContext*, int xDest, int yDest, int wDest, int hDest, int xSrc,
                        int ySrc, int wSrc, int hSrc, const void* pBits, const BITMAPINFO* pInfo,
                        UINT iUsage, DWORD dwRop);  // 180
    int (*OnDrawBitmapAlpha)(HostContext*, int xDest, int yDest, int wDest, int hDest, int xSrc,
                             int ySrc, int wSrc, int hSrc, const void* pBits,
                             const BITMAPINFO* pInfo, UINT iUsage, DWORD dwRop);  // 184
    PFN_Reserved Reserved188[2];                                                  // 188
    int (*SetParentWindow)(HostContext*, HWND);                                   // 196
    PFN_Reserved Reserved200;                                                     // 200
};

#define PXR_CALLBACK_OFFSET(member, offset32) \
    static_assert(offsetof(DriverCallbacks, member) == (offset32) / 4 * sizeof(void*))
PXR_CALLBACK_OFFSET(CreateJobContext, 0);
PXR_CALLBACK_OFFSET(DestroyJobContext, 4);
PXR_CALLBACK_OFFSET(DescribeDevice, 8);
PXR_CALLBACK_OFFSET(ComputePageGeometry, 12);
PXR_CALLBACK_OFFSET(BeginJob, 20);
PXR_CALLBACK_OFFSET(EndJob, 24);
PXR_CALLBACK_OFFSET(OpenOutput, 28);
PXR_CALLBACK_OFFSET(EmitPolyline, 44);
PXR_CALLBACK_OFFSET(GetDeviceCaps, 72);
PXR_CALLBACK_OFFSET(StartDocument, 76);
PXR_CALLBACK_OFFSET(EndDocument, 80);
PXR_CALLBACK_OFFSET(OnResetInputWindow, 84);
PXR_CALLBACK_OFFSET(Reserved88, 88);
PXR_CALLBACK_OFFSET(OnPolyline, 96);
PXR_CALLBACK_OFFSET(OnPolygon, 100);
PXR_CALLBACK_OFFSET(OnBeginPath, 108);
PXR_CALLBACK_OFFSET(OnEndPath, 112);
PXR_CALLBACK_OFFSET(OnRefillPolygon, 116);
PXR_CALLBACK_OFFSET(OnFillPath, 120);
PXR_CALLBACK_OFFSET(OnSetFillMode, 124);
PXR_CALLBACK_OFFSET(OnSelectPen, 132);
PXR_CALLBACK_OFFSET(OnSelectBrush, 136);
PXR_CALLBACK_OFFSET(RenderPageInComputer, 144);
PXR_CALLBACK_OFFSET(OnSetRop2, 148);
PXR_CALLBACK_OFFSET(OnSetClipRegion, 152);
PXR_CALLBACK_OFFSET(RenderMetafileRegion, 160);
PXR_CALLBACK_OFFSET(OnDrawBitmap, 180);
PXR_CALLBACK_OFFSET(OnDrawBitmapAlpha, 184);
PXR_CALLBACK_OFFSET(SetParentWindow, 196);
#undef PXR_CALLBACK_OFFSET
static_assert(sizeof(DriverCallbacks) == 51 * sizeof(void*));

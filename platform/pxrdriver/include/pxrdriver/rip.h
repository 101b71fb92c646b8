// The raster image processor's band interface: rendered pixels are handed
// to a CRipCallBack band by band, top to bottom.
#pragma once

#include <windows.h>

#include "pxrdriver/api.h"

struct RipBandBits {
    int nStride;         // pixels per stored row
    int nRows;           // rows in the buffer
    int nBytesPerPixel;  // 4 (0x00RRGGBB little-endian), 1, 2, 3; 0: packed bits, MSB first
    const BYTE* pBits;   // the band's first row
};

// Band flags: the band begins / ends the raster.
#define RIP_FIRST_BAND 0x100000
#define RIP_LAST_BAND 0x200000

class PXR_API CRipCallBack {
public:
    // Slot 0: one band of the raster; 0 stops the raster.
    virtual int OnBand(void* pReserved, const RECT* pWhole, const RECT* pBand,
                       const RipBandBits* pBits) = 0;
    virtual ~CRipCallBack();
};

// Progress and cancel of a long rendering job.
class PXR_API IDrawCallback {
public:
    virtual int IsCanceled() = 0;
    virtual void SetPosition(int nPosition) = 0;
    virtual void SetRange(int nRange) = 0;  // rows of the page
    virtual ~IDrawCallback();
};

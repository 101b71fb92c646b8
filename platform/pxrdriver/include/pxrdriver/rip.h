// The raster image processor's band interface: rendered pixels are handed
// to a CRipCallBack band by band, top to bottom.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

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

// The writes a callback prepared for one band ahead of its turn: their
// bytes one after another, and where each write ends.
struct RipBandWrites {
    std::vector<BYTE> bytes;
    std::vector<size_t> ends;
    void Clear() {
        bytes.clear();
        ends.clear();
    }
};

class PXR_API CRipCallBack {
public:
    // Slot 0: one band of the raster, in order from the top; 0 stops the
    // raster. pPrepared: the RipBandWrites that PrepareBand made for this
    // band, null when the band was not prepared.
    virtual int OnBand(void* pPrepared, const RECT* pWhole, const RECT* pBand,
                       const RipBandBits* pBits) = 0;
    virtual ~CRipCallBack();
    // Nonzero when bands are to be prepared: PrepareBand is then called for
    // every band before OnBand. The framework's own addition, after the
    // slots of the host's interface.
    virtual int PreparesBands();
    // Prepares a band's writes on the thread that rendered it, so that
    // OnBand only has to write them. Runs at the same time as PrepareBand of
    // other bands and as OnBand of earlier ones, so it reads nothing OnBand
    // changes. pRowAbove: the raster's row just above the band, laid out as
    // the band's rows, when the band carries on the rows before it; null
    // when the band starts afresh (the first band, and bands where the
    // raster image processor starts its rows afresh). 0 stops the raster.
    virtual int PrepareBand(const RECT* pWhole, const RECT* pBand, const RipBandBits* pBits,
                            const BYTE* pRowAbove, RipBandWrites* pWrites);
};

// Progress and cancel of a long rendering job.
class PXR_API IDrawCallback {
public:
    virtual int IsCanceled() = 0;
    virtual void SetPosition(int nPosition) = 0;
    virtual void SetRange(int nRange) = 0;  // rows of the page
    virtual ~IDrawCallback();
};

// The raster image processor: renders a picture into a memory raster and
// hands it to a CRipCallBack band by band, top to bottom. The raster is
// never held whole: a band is a few MiB however large the page, so an A0
// page at 600 dpi renders in bounded memory.
#pragma once

#include <windows.h>

#include "mfc/crect.h"
#include "pxrdriver/api.h"
#include "pxrdriver/rip.h"

struct RipImplateState;

class PXR_API CRIPImplate {
public:
    explicit CRIPImplate(CRipCallBack* pCallBack);
    ~CRIPImplate();
    CRIPImplate(const CRIPImplate&) = delete;
    CRIPImplate& operator=(const CRIPImplate&) = delete;

    // Prepares a raster of nWidth x nHeight pixels at nBitsPerPixel (32);
    // nFlags is reserved (0). 0 when no raster can be made: an empty size, a
    // row too wide for a band, or no memory.
    int CreateRIPBuffer(unsigned nWidth, unsigned nHeight, int nBitsPerPixel, DWORD nFlags);
    // rcDest: where the raster lies in the drawing's device pixels (empty:
    // at the origin, the raster's own size); rcSource is reserved.
    void BeginRIP(const CRect& rcDest, const CRect& rcSource);
    // The device context that draws into the raster, in the device pixels
    // of rcDest; null before CreateRIPBuffer succeeded.
    HDC GetRIPDC();
    // Renders the raster (m_hPlayMetaFile under m_xformPlay into every band,
    // when set) and hands the bands to the callback in order. Nonzero when
    // every band was taken; 0 when one was refused or rendering failed.
    int EndRIP();

    int m_bMonochrome = 0;                   // one bit a pixel is wanted
    XFORM m_xformPlay{1, 0, 0, 1, 0, 0};     // world transform of the playback
    HENHMETAFILE m_hPlayMetaFile = nullptr;  // played into each band by EndRIP

private:
    CRipCallBack* m_pCallBack;
    RipImplateState* m_pState = nullptr;
};

// Nonzero on the Windows NT family, which this platform is.
extern "C" PXR_API BOOL HT_IsWindowNT();

// The raster writer: turns rendered pixel bands into HP RTL. One object
// lives for one raster: a page rendered in the computer, or a metafile or
// bitmap placed inside a vector plot.
#pragma once

#include <windows.h>

#include "pxrdriver/host_context.h"
#include "pxrdriver/rip.h"

class OutputChannel;
struct BandSource;
struct BandEncoding;

class CRTLRip : public CRipCallBack {
public:
    // Takes the output channel, the page size in pixels and the resolution
    // from the host context; pReserved is not used.
    CRTLRip(HostContext* pHost, void* pReserved);
    ~CRTLRip() override;
    CRTLRip(const CRTLRip&) = delete;
    CRTLRip& operator=(const CRTLRip&) = delete;

    // Slot 0: one band from the raster image processor, top to bottom. The
    // header goes with the band at the top of pWhole, the trailer with the
    // band at its bottom. 0 stops the raster: a malformed band, or Cancel.
    // pPrepared: the band's rows as PrepareBand coded them (a
    // RipBandWrites), written as they are; null: the rows are coded here.
    int OnBand(void* pPrepared, const RECT* pWhole, const RECT* pBand,
               const RipBandBits* pBits) override;

    // Bands are coded on the threads that render them: PrepareBand codes
    // a band's rows (reading only the settings above, which stay as they
    // are while a raster is written), and OnBand writes them in order.
    int PreparesBands() override;
    // A band that carries on the rows above it (pRowAbove) has no method
    // command of its own and codes its first row against that row, so that
    // the rows come out as one band of all of them would have them.
    int PrepareBand(const RECT* pWhole, const RECT* pBand, const RipBandBits* pBits,
                    const BYTE* pRowAbove, RipBandWrites* pWrites) override;

    // Writes one band with the encoder of the colour format; nFlags carries
    // RIP_FIRST_BAND and RIP_LAST_BAND. 1 when written; 0, with nothing
    // written, for a band that cannot be read safely (see PrepareBand).
    int EncodeBand(DWORD nFlags, RECT band, const RipBandBits* pBits);

    // The encoders EncodeBand dispatches to, by colour format.
    int EncodeBandMonoRle(DWORD nFlags, RECT band, const RipBandBits* pBits);
    int EncodeBandMonoDelta(DWORD nFlags, RECT band, const RipBandBits* pBits);
    int EncodeBandGrey(DWORD nFlags, RECT band, const RipBandBits* pBits);
    int EncodeBandRgb(DWORD nFlags, RECT band, const RipBandBits* pBits);

    int m_nColorFormat = -256;             // 1 one bit, 24 direct RGB, -256 grey through a palette
    int m_nCompression = 1;                // 0..4, the "Compressed algorithm" choices
    int m_nDataMode = 3;                   // copied from the settings; no encoder reads it
    IDrawCallback* m_pProgress = nullptr;  // a page rendered in the computer only
    OutputChannel* m_pOutput = nullptr;
    int m_nPageWidth = 0;   // pixels, device capability 8 (HORZRES)
    int m_nPageHeight = 0;  // pixels, device capability 10 (VERTRES)
    int m_nResolution = 300;
    int m_bEmbedded = 0;  // nonzero: inside a vector plot, width from the band

private:
    // Checks a band before anything of it is coded and describes its
    // source rows: false for no pixels or channel, an empty or inverted
    // rectangle, one above row 0 or with more rows than the buffer holds, a
    // negative stride, a raster wider than the stored rows, or sizes beyond
    // what the address arithmetic can hold.
    bool CheckBand(const RECT& band, const RipBandBits* pBits, BandSource* pSource,
                   int* pRows) const;
    // Writes a band whose rows PrepareBand coded, with the raster's header
    // and trailer as its flags say.
    int WritePreparedBand(DWORD nFlags, const RECT& band, const RipBandBits* pBits,
                          const RipBandWrites& writes);
    // What the colour format makes of the band's pixels (the encoders'
    // choice in EncodeBand).
    BandEncoding EncodingOf(const BandSource& source) const;
};

#include "rtl/rtl_rip.h"

#include <climits>
#include <cstdint>

#include "driver/callback_table.h"
#include "driver/driver_state.h"
#include "job/job_context.h"
#include "pxrdriver/driver_callbacks.h"
#include "rtl/band_encodings.h"
#include "rtl/band_writes.h"

CRTLRip::CRTLRip(HostContext* pHost, void* /*pReserved*/) {
    if (JobContext* pJob = JobOf(pHost)) {
        m_pOutput = pJob->m_pOutput;
    }
    m_nPageWidth = TableDeviceCap(pHost, HORZRES);
    m_nPageHeight = TableDeviceCap(pHost, VERTRES);
    if (DriverState* pDriver = DriverOf(pHost)) {
        m_nResolution = EffectiveResolution(pDriver->m_devmode);
    }
}

// The output channel is the job's: ending the raster closes it, the
// destructor does not.
CRTLRip::~CRTLRip() = default;

int CRTLRip::OnBand(void* pPrepared, const RECT* pWhole, const RECT* pBand,
                    const RipBandBits* pBits) {
    if (!pWhole || !pBand) {
        return 0;
    }
    const RECT band = *pBand;
    if (!(band.bottom > band.top && band.top >= 0)) {
        return 0;
    }
    DWORD nFlags = 0;
    if (band.top == pWhole->top) {
        nFlags |= RIP_FIRST_BAND;
    }
    if (band.bottom == pWhole->bottom) {
        nFlags |= RIP_LAST_BAND;
    }
    if (m_pProgress) {
        m_pProgress->SetPosition(band.top);
        if (m_pProgress->IsCanceled()) {
            return 0;
        }
    }
    if (pPrepared) {
        try {
            return WritePreparedBand(nFlags, band, pBits,
                                     *static_cast<const RipBandWrites*>(pPrepared));
        } catch (...) {
            return 0;
        }
    }
    return EncodeBand(nFlags, band, pBits);
}

int CRTLRip::PreparesBands() {
    return 1;
}

int CRTLRip::PrepareBand(const RECT* pWhole, const RECT* pBand, const RipBandBits* pBits,
                         const BYTE* pRowAbove, RipBandWrites* pWrites) {
    if (!pWhole || !pBand || !pWrites) {
        return 0;
    }
    BandSource source;
    int nRows;
    if (!CheckBand(*pBand, pBits, &source, &nRows)) {
        return 0;
    }
    try {
        const BandEncoding encoding = EncodingOf(source);
        BandRowSender rows;
        if (!rows.Prepare(encoding.method, encoding.nRowBytes)) {
            return 0;
        }
        BandWritesChannel channel(*pWrites);
        SendBandRows(rows, &channel, source, nRows, encoding, pRowAbove);
        return 1;
    } catch (...) {
        return 0;
    }
}

int CRTLRip::WritePreparedBand(DWORD nFlags, const RECT& band, const RipBandBits* pBits,
                               const RipBandWrites& writes) {
    BandSource source;
    int nRows;
    if (!CheckBand(band, pBits, &source, &nRows)) {
        return 0;
    }
    const RasterFrame frame{m_pOutput, m_bEmbedded, source.nWidth, m_nResolution};
    const BandEncoding encoding = EncodingOf(source);
    WriteBandHeader(nFlags, frame, encoding);
    WriteBandWrites(m_pOutput, writes);
    WriteBandTrailer(nFlags, frame, encoding);
    return 1;
}

BandEncoding CRTLRip::EncodingOf(const BandSource& source) const {
    const RowMethod method = RowMethodFor(m_nCompression);
    if (m_nColorFormat == 1 && method != RowMethod::kNoRows) {
        return MonoEncoding(method, source);
    }
    if (m_nColorFormat < 0) {
        return GreyEncoding(method, source, m_bEmbedded != 0);
    }
    // One bit with an unknown compression goes to the RGB encoder too, which
    // then sends the frame without rows.
    return RgbEncoding(method, source);
}

int CRTLRip::EncodeBand(DWORD nFlags, RECT band, const RipBandBits* pBits) {
    // No exception may reach the raster image processor or the image
    // callbacks; the encoders allocate without throwing, this is the guard
    // for the rest (an output channel that throws, say).
    try {
        if (m_nColorFormat == 1) {
            switch (RowMethodFor(m_nCompression)) {
                case RowMethod::kRunLength: return EncodeBandMonoRle(nFlags, band, pBits);
                case RowMethod::kDeltaRow: return EncodeBandMonoDelta(nFlags, band, pBits);
                case RowMethod::kNoRows:
                    // One bit with an unknown compression: the RGB encoder,
                    // which then sends the frame without rows.
                    break;
            }
            return EncodeBandRgb(nFlags, band, pBits);
        }
        if (m_nColorFormat < 0) {
            return EncodeBandGrey(nFlags, band, pBits);
        }
        return EncodeBandRgb(nFlags, band, pBits);
    } catch (...) {
        return 0;
    }
}

bool CRTLRip::CheckBand(const RECT& band, const RipBandBits* pBits, BandSource* pSource,
                        int* pRows) const {
    if (!m_pOutput || !pBits || !pBits->pBits) {
        return false;
    }
    if (band.top < 0 || band.bottom <= band.top || band.right <= band.left) {
        return false;
    }
    const int64_t nBandWidth = static_cast<int64_t>(band.right) - band.left;
    if (nBandWidth > INT_MAX) {
        return false;
    }
    // top >= 0 and bottom > top, so the difference fits an int.
    const int nRows = band.bottom - band.top;
    if (nRows > pBits->nRows || pBits->nStride < 0) {
        return false;
    }
    const int nWidth = m_bEmbedded ? static_cast<int>(nBandWidth) : m_nPageWidth;
    if (nWidth < 0) {
        return false;
    }
    const int nBytesPerPixel = pBits->nBytesPerPixel;
    if (nBytesPerPixel >= 0 && nBytesPerPixel <= 4) {
        // Sizes the encoders read: every row must hold the raster's width,
        // and the last pixel of the last row must be addressable.
        if (nWidth > pBits->nStride) {
            return false;
        }
        const uint64_t nPixels =
            static_cast<uint64_t>(nRows) * static_cast<uint64_t>(pBits->nStride);
        const uint64_t nPixelBytes =
            nBytesPerPixel == 0 ? 1 : static_cast<uint64_t>(nBytesPerPixel);
        if (nPixels > static_cast<uint64_t>(PTRDIFF_MAX) / nPixelBytes) {
            return false;
        }
    }
    *pSource = BandSource{pBits->pBits, pBits->nStride, nBytesPerPixel, nWidth};
    *pRows = nRows;
    return true;
}

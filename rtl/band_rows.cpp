#include "rtl/band_rows.h"

#include <climits>
#include <new>

#include "pxrdriver/output_channel.h"
#include "pxrdriver/rip.h"
#include "rtl/source_pixels.h"

RowMethod RowMethodFor(int nCompression) {
    if (nCompression <= 2) {
        return RowMethod::kRunLength;
    }
    if (nCompression <= 4) {
        return RowMethod::kDeltaRow;
    }
    return RowMethod::kNoRows;
}

bool BandRowSender::Prepare(RowMethod method, uint64_t nWideRowBytes) {
    m_method = method;
    m_nRowBytes = 0;
    m_nCurrent = 0;
    m_bFirstRow = true;
    if (method == RowMethod::kNoRows) {
        return true;
    }
    // A coded row is sent as one transfer whose length is an int.
    if (nWideRowBytes > static_cast<uint64_t>(INT_MAX) / 2) {
        return false;
    }
    const size_t nRowBytes = static_cast<size_t>(nWideRowBytes);
    m_nRowBytes = nRowBytes;
    // The first row of a method 3 band goes out with method 1, so both
    // methods need the run-length coder.
    if (!m_rle.ReserveRow(nRowBytes)) {
        return false;
    }
    const size_t nRowCount = method == RowMethod::kDeltaRow ? 2 : 1;
    if (method == RowMethod::kDeltaRow && !m_delta.ReserveRow(nRowBytes)) {
        return false;
    }
    // ReserveRow keeps nRowBytes below INT_MAX / 2, so two rows fit.
    // At least one byte, so that an empty row still has an address.
    m_pRows.reset(new (std::nothrow) BYTE[nRowCount * nRowBytes + 1]);
    return m_pRows != nullptr;
}

void BandRowSender::BeginBand(OutputChannel* pOutput, bool bZeroYOffset) {
    switch (m_method) {
        case RowMethod::kRunLength: WriteRasterCommand(pOutput, "\x1b*b1M"); break;
        case RowMethod::kDeltaRow:
            WriteRasterCommand(pOutput, "\x1b*b3M");
            if (bZeroYOffset) {
                WriteRasterCommand(pOutput, "\x1b*b0Y");
            }
            break;
        case RowMethod::kNoRows: break;
    }
}

void BandRowSender::ContinueBand() {
    if (m_method != RowMethod::kDeltaRow) {
        return;
    }
    m_delta.SetSeed(RowBuffer(), m_nRowBytes);
    m_bFirstRow = false;
    m_nCurrent ^= 1;
}

void BandRowSender::SendRunLengthRow(OutputChannel* pOutput, const BYTE* pRow) {
    m_rle.Append(pRow, m_nRowBytes);
    m_rle.Flush();
    const int nLength = static_cast<int>(m_rle.Length());
    WriteRasterCommand(pOutput, CommandText().Text("\x1b*b").Int(nLength).Text("W"));
    if (nLength > 0) {
        pOutput->Write(m_rle.Data(), nLength);
    }
    m_rle.Reset();
}

void BandRowSender::SendRow(OutputChannel* pOutput) {
    const BYTE* const pRow = RowBuffer();
    if (m_method == RowMethod::kRunLength) {
        SendRunLengthRow(pOutput, pRow);
        return;
    }
    if (m_method != RowMethod::kDeltaRow) {
        return;
    }
    if (m_bFirstRow) {
        // A band never relies on rows of the band before: its first row goes
        // out whole, in method 1, and becomes the seed. (So the zero seed a
        // delta coder starts from never shows in a band's output.)
        WriteRasterCommand(pOutput, "\x1b*b1M");
        SendRunLengthRow(pOutput, pRow);
        WriteRasterCommand(pOutput, "\x1b*b3M");
        m_delta.SetSeed(pRow, m_nRowBytes);
        m_bFirstRow = false;
    } else {
        m_delta.EncodeRow(pRow, m_nRowBytes);
        SendDeltaRow(pOutput);
    }
    m_nCurrent ^= 1;
}

void BandRowSender::SendRgbPixelRow(OutputChannel* pOutput, const BYTE* pRow, const BYTE* pSeed,
                                    size_t nPixels) {
    m_delta.EncodeRgbPixels(pRow, pSeed, nPixels);
    SendDeltaRow(pOutput);
}

void BandRowSender::SendDeltaRow(OutputChannel* pOutput) {
    const int nLength = static_cast<int>(m_delta.Length());
    WriteRasterCommand(pOutput, CommandText().Text("\x1b*b").Int(nLength).Text("W"));
    if (nLength > 0) {
        pOutput->Write(m_delta.Data(), nLength);
    }
    m_delta.Reset();
}

void WriteBandHeader(DWORD nFlags, const RasterFrame& frame, const BandEncoding& encoding) {
    if (nFlags & RIP_FIRST_BAND) {
        WriteRasterEntry(frame);
        if (encoding.writeHeaderExtras) {
            encoding.writeHeaderExtras(frame.pOutput);
        }
        WriteRasterSetup(frame, encoding.cid, encoding.writePalette);
    }
}

void WriteBandTrailer(DWORD nFlags, const RasterFrame& frame, const BandEncoding& encoding) {
    if (nFlags & RIP_LAST_BAND) {
        if (encoding.writeTrailerExtras) {
            encoding.writeTrailerExtras(frame.pOutput);
        }
        WriteRasterEnd(frame);
    }
}

void SendBandRows(BandRowSender& rows, OutputChannel* pOutput, const BandSource& source, int nRows,
                  const BandEncoding& encoding, const BYTE* pRowAbove) {
    if (encoding.method == RowMethod::kNoRows) {
        return;
    }
    // RGB rows of 4-byte pixels in method 3 are coded from the pixels, each
    // against the pixels above it.
    const bool bFromPixels = encoding.bRgbOfPixels && encoding.method == RowMethod::kDeltaRow;
    const BYTE* pAbove = pRowAbove;
    if (!pRowAbove) {
        rows.BeginBand(pOutput, encoding.bZeroYOffset);
    } else if (!bFromPixels) {
        if (encoding.nRowBytes > 0) {
            const BandSource above{pRowAbove, source.nStride, source.nBytesPerPixel, source.nWidth};
            encoding.buildRow(above, 0, rows.RowBuffer());
        }
        rows.ContinueBand();
    }
    for (int y = 0; y < nRows; ++y) {
        const BYTE* const pRow = SourceRow(source, y);
        if (bFromPixels && pAbove) {
            rows.SendRgbPixelRow(pOutput, pRow, pAbove, static_cast<size_t>(source.nWidth));
        } else {
            if (encoding.nRowBytes > 0) {
                encoding.buildRow(source, y, rows.RowBuffer());
            }
            rows.SendRow(pOutput);
        }
        pAbove = pRow;
    }
}

bool SendRasterBand(DWORD nFlags, const RasterFrame& frame, const BandSource& source, int nRows,
                    const BandEncoding& encoding) {
    BandRowSender rows;
    if (!rows.Prepare(encoding.method, encoding.nRowBytes)) {
        return false;
    }
    WriteBandHeader(nFlags, frame, encoding);
    SendBandRows(rows, frame.pOutput, source, nRows, encoding);
    WriteBandTrailer(nFlags, frame, encoding);
    return true;
}

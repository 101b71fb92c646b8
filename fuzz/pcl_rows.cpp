// Round trips of fuzz-chosen rows through both row coders and through the
// band path of the raster writer: the coded rows must equal those of the
// byte-by-byte reference coders, and decoding them must give back the rows
// exactly, or the target aborts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "rtl/delta_row_encoder.h"
#include "rtl/rle_row_buffer.h"
#include "rtl/rtl_rip.h"
#include "support/pcl_row_decoder.h"
#include "support/recording_channel.h"

// The fuzz targets link the module's code only; the test tree's reference
// coders are compiled in.
#include "support/pcl_row_decoder.cpp"

namespace {

constexpr size_t kMaxRows = 64;

void Check(bool bOk) {
    if (!bOk) {
        std::abort();
    }
}

void CheckRunLength(const std::vector<const uint8_t*>& rows, size_t nWidth, size_t nPiece) {
    RleRowBuffer coder;
    Check(coder.ReserveRow(nWidth));
    for (const uint8_t* row : rows) {
        // Fed in pieces, as the band encoders feed a pixel at a time.
        for (size_t i = 0; i < nWidth; i += nPiece) {
            coder.Append(row + i, std::min(nPiece, nWidth - i));
        }
        coder.Flush();
        Check(coder.Length() <= RleRowBuffer::WorstCaseLength(nWidth));
        const pcl::Bytes source(row, row + nWidth);
        const pcl::Bytes coded(coder.Data(), coder.Data() + coder.Length());
        Check(coded == pcl::ReferenceRunLengthRow(source));
        pcl::Bytes decoded;
        Check(pcl::DecodeRunLengthRow(coded.data(), coded.size(), &decoded));
        Check(decoded == source);
        coder.Reset();
    }
}

void CheckDeltaRow(const std::vector<const uint8_t*>& rows, size_t nWidth) {
    DeltaRowEncoder coder;
    Check(coder.ReserveRow(nWidth));
    Check(coder.SetSeed(nullptr, nWidth));
    pcl::Bytes seed(nWidth, 0);
    for (const uint8_t* row : rows) {
        coder.EncodeRow(row, nWidth);
        Check(coder.Length() <= DeltaRowEncoder::WorstCaseLength(nWidth));
        const pcl::Bytes source(row, row + nWidth);
        const pcl::Bytes coded(coder.Data(), coder.Data() + coder.Length());
        Check(coded == pcl::ReferenceDeltaRow(seed, source));
        Check(pcl::ApplyDeltaRow(coded.data(), coded.size(), &seed));
        Check(seed == source);
        coder.Reset();
    }
}

// One-byte grey pixels are sent as they are, so the rows come back as given.
void CheckBand(const uint8_t* pBits, size_t nWidth, size_t nRows, int nCompression) {
    RecordingChannel channel;
    CRTLRip rip(nullptr, nullptr);
    rip.m_pOutput = &channel;
    rip.m_nColorFormat = -256;
    rip.m_nCompression = nCompression;
    rip.m_bEmbedded = 1;
    const RipBandBits bits{static_cast<int>(nWidth), static_cast<int>(nRows), 1, pBits};
    const RECT band{0, 0, static_cast<LONG>(nWidth), static_cast<LONG>(nRows)};
    Check(rip.EncodeBand(RIP_LAST_BAND, band, &bits) == 1);
    const pcl::RasterRows decoded = pcl::DecodeRasterRows(channel.Bytes(), nWidth);
    Check(decoded.error.empty() && decoded.rows.size() == nRows);
    for (size_t y = 0; y < nRows; ++y) {
        Check(decoded.rows[y] == pcl::Bytes(pBits + y * nWidth, pBits + (y + 1) * nWidth));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    // Four bytes of set-up: row width, piece size, compression.
    size_t nWidth = 1 + (size_t{data[0]} | size_t{data[1]} << 8) % 4096;
    const size_t nPiece = 1 + data[2] % 32;
    const int nCompression = data[3] % 6;
    data += 4;
    size -= 4;
    if (size == 0) {
        return 0;
    }
    if (size < nWidth) {
        nWidth = size;
    }
    const size_t nRows = std::min(kMaxRows, size / nWidth);
    std::vector<const uint8_t*> rows;
    for (size_t y = 0; y < nRows; ++y) {
        rows.push_back(data + y * nWidth);
    }
    CheckRunLength(rows, nWidth, nPiece);
    CheckDeltaRow(rows, nWidth);

    // Rows that mostly repeat the row above, as in drawings and photographs:
    // a byte changes where its fuzz byte is below the piece-size threshold.
    std::vector<std::vector<uint8_t>> similar(nRows, std::vector<uint8_t>(nWidth, 0));
    std::vector<const uint8_t*> similarRows;
    for (size_t y = 0; y < nRows; ++y) {
        for (size_t i = 0; i < nWidth; ++i) {
            const uint8_t b = rows[y][i];
            similar[y][i] = b < nPiece * 8 ? b : (y > 0 ? similar[y - 1][i] : 0);
        }
        similarRows.push_back(similar[y].data());
    }
    CheckRunLength(similarRows, nWidth, nPiece);
    CheckDeltaRow(similarRows, nWidth);
    if (nCompression <= 4) {
        CheckBand(data, nWidth, nRows, nCompression);
    }
    return 0;
}

// Bitmaps inside metafile records: a BITMAPINFO at offBmi (cbBmi bytes) and
// the bits at offBits (cbBits bytes), both offsets from the record's start.
#include <climits>
#include <cstring>
#include <string>

#include "gdi32/emf/emf_record_check.h"

namespace {

// The last compression: 4 and 5 (BI_JPEG, BI_PNG) make the bits a JPEG or
// PNG image, which only the player's decoder can check.
constexpr DWORD kBiPng = 5;

// The bit counts each compression allows.
bool BitCountFits(DWORD compression, WORD bitCount) {
    switch (compression) {
        case BI_RGB:
            return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case BI_BITFIELDS: return bitCount == 16 || bitCount == 32;
        case BI_RLE8: return bitCount == 8;
        case BI_RLE4: return bitCount == 4;
        default:  // JPEG and PNG carry their own depth
            return true;
    }
}

}  // namespace

bool ReadEmfBitmap(const EmfRecordCheck& check, const EmfBitmapFields& fields, EmfBitmap* out) {
    *out = EmfBitmap{};
    if (fields.cbBmi == 0) return true;
    const std::string label = fields.label;
    if (!check.Range(fields.offBmi, fields.cbBmi, (label + " header").c_str())) return false;
    if (!check.Range(fields.offBits, fields.cbBits, (label + " bits").c_str())) return false;

    BITMAPINFOHEADER header;
    if (fields.cbBmi < sizeof header)
        return check.Fail(EmfFormat("%s header of %u bytes is smaller than a BITMAPINFOHEADER",
                                    fields.label, fields.cbBmi));
    std::memcpy(&header, check.bytes + fields.offBmi, sizeof header);
    // BITMAPCOREHEADER (12 bytes) never comes out of GDI's metafile recording.
    if (header.biSize < sizeof header)
        return check.Fail(EmfFormat("%s header size %u is smaller than a BITMAPINFOHEADER",
                                    fields.label, header.biSize));
    if (header.biSize > fields.cbBmi)
        return check.Fail(EmfFormat("%s header size %u is larger than its cbBmi of %u",
                                    fields.label, header.biSize, fields.cbBmi));
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT_MIN)
        return check.Fail(EmfFormat("%s has an invalid size of %d x %d pixels", fields.label,
                                    header.biWidth, header.biHeight));
    const DWORD compression = header.biCompression;
    if (compression > kBiPng)
        return check.Fail(EmfFormat("%s has an unknown compression %u", fields.label, compression));
    if (!BitCountFits(compression, header.biBitCount))
        return check.Fail(EmfFormat("%s has %u bits per pixel, which compression %u does not allow",
                                    fields.label, header.biBitCount, compression));

    // The colour table the pixel values index; with BI_BITFIELDS and a plain
    // 40-byte header, the three masks instead (later headers hold them).
    DWORD colorCount = 0;
    uint64_t tableBytes = 0;
    if (header.biBitCount >= 1 && header.biBitCount <= 8) {
        const DWORD maxColors = DWORD{1} << header.biBitCount;
        colorCount =
            header.biClrUsed == 0 || header.biClrUsed > maxColors ? maxColors : header.biClrUsed;
        tableBytes = uint64_t{colorCount} * (fields.usage == DIB_PAL_COLORS ? 2 : 4);
    } else if (compression == BI_BITFIELDS && header.biSize == sizeof header) {
        tableBytes = 3 * sizeof(DWORD);
    }
    if (header.biSize + tableBytes > fields.cbBmi)
        return check.Fail(EmfFormat("%s colour table of %llu bytes does not fit its cbBmi of %u",
                                    fields.label, static_cast<unsigned long long>(tableBytes),
                                    fields.cbBmi));

    const uint64_t rows =
        fields.rowsFromScans ? fields.scans
                             : static_cast<uint64_t>(header.biHeight < 0 ? -int64_t{header.biHeight}
                                                                         : header.biHeight);
    uint64_t stride = 0;
    if (compression == BI_RGB || compression == BI_BITFIELDS) {
        // Rows are padded to whole DWORDs; width < 2^31 and 32 bits keep this
        // in 64 bits, the product with the rows is checked.
        stride = (uint64_t{static_cast<DWORD>(header.biWidth)} * header.biBitCount + 31) / 32 * 4;
        uint64_t needed;
        if (!EmfArrayEnd(0, rows, stride, &needed) || needed > fields.cbBits)
            return check.Fail(EmfFormat(
                "%s of %d x %llu pixels at %u bits needs %llu rows of %llu bytes, more than its "
                "cbBits of %u",
                fields.label, header.biWidth, static_cast<unsigned long long>(rows),
                header.biBitCount, static_cast<unsigned long long>(rows),
                static_cast<unsigned long long>(stride), fields.cbBits));
    }

    out->present = true;
    out->header = header;
    out->usage = fields.usage;
    out->colorCount = colorCount;
    out->colors = {check.bytes + fields.offBmi + header.biSize, fields.cbBmi - header.biSize};
    out->bits = {check.bytes + fields.offBits, fields.cbBits};
    out->rows = static_cast<DWORD>(rows);
    out->stride = static_cast<DWORD>(stride);
    return true;
}

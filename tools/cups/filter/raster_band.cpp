#include "filter/raster_band.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

int BitsOf(RasterKind kind) {
    switch (kind) {
        case RasterKind::Colour: return 24;
        case RasterKind::Grey:
        case RasterKind::InkGrey: return 8;
        default: return 1;
    }
}

}  // namespace

bool RasterKindOf(const cups_page_header2_t& h, RasterKind* kind, std::string* error) {
    const unsigned bits = h.cupsBitsPerColor;
    const bool chunky = h.cupsColorOrder == CUPS_ORDER_CHUNKED;
    const cups_cspace_t space = h.cupsColorSpace;
    if (chunky && bits == 8 &&
        (space == CUPS_CSPACE_RGB || space == CUPS_CSPACE_SRGB || space == CUPS_CSPACE_ADOBERGB))
        *kind = RasterKind::Colour;
    else if (bits == 8 && (space == CUPS_CSPACE_W || space == CUPS_CSPACE_SW))
        *kind = RasterKind::Grey;
    else if (bits == 8 && space == CUPS_CSPACE_K)
        *kind = RasterKind::InkGrey;
    else if (bits == 1 && space == CUPS_CSPACE_K)
        *kind = RasterKind::Bilevel;
    else if (bits == 1 && (space == CUPS_CSPACE_W || space == CUPS_CSPACE_SW))
        *kind = RasterKind::BilevelWhite;
    else {
        *error = "the raster has colour space " + std::to_string(space) + " at " +
                 std::to_string(bits) + " bits a colour" + (chunky ? "" : " in planes") +
                 "; the plotter takes RGB or grey at 8 bits, or black at 1 bit";
        return false;
    }
    const unsigned needed = (h.cupsWidth * static_cast<unsigned>(BitsOf(*kind)) + 7) / 8;
    if (h.cupsBitsPerPixel != static_cast<unsigned>(BitsOf(*kind)) || h.cupsBytesPerLine < needed) {
        *error = "the raster's rows are shorter than its width says";
        return false;
    }
    return true;
}

const char* ColourModeOf(RasterKind kind) {
    switch (kind) {
        case RasterKind::Bilevel:
        case RasterKind::BilevelWhite: return "0";
        case RasterKind::Grey:
        case RasterKind::InkGrey: return "2";  // a third of the RGB rows' bytes
        default: return "1";
    }
}

RasterBand::RasterBand(RasterKind kind, int width, int rows) : m_kind(kind), m_width(width) {
    const size_t bits = static_cast<size_t>(width) * static_cast<size_t>(BitsOf(kind));
    m_stride = (bits + 31) / 32 * 4;  // DIB rows end on a 32-bit boundary
    m_bits.assign(m_stride * static_cast<size_t>(rows), 0);
    const int colours = kind == RasterKind::Colour ? 0 : 1 << BitsOf(kind);
    m_info.assign(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<size_t>(colours), 0);
    auto* palette = reinterpret_cast<RGBQUAD*>(m_info.data() + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < colours; ++i) {
        // Index 0 is black in W, white in K.
        int level = colours == 2 ? 255 * i : i;
        if (kind == RasterKind::InkGrey || kind == RasterKind::Bilevel) level = 255 - level;
        palette[i].rgbBlue = palette[i].rgbGreen = palette[i].rgbRed = static_cast<BYTE>(level);
    }
    auto& h = *reinterpret_cast<BITMAPINFOHEADER*>(m_info.data());
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(BitsOf(kind));
    h.biCompression = BI_RGB;
    h.biClrUsed = static_cast<DWORD>(colours);
}

bool RasterBand::RowIsWhite(const unsigned char* row) const {
    const size_t bits = static_cast<size_t>(m_width) * static_cast<size_t>(BitsOf(m_kind));
    const unsigned char white =
        m_kind == RasterKind::InkGrey || m_kind == RasterKind::Bilevel ? 0x00 : 0xFF;
    const size_t whole = bits / 8;
    for (size_t i = 0; i < whole; ++i)
        if (row[i] != white) return false;
    if (bits % 8) {
        const unsigned char mask = static_cast<unsigned char>(0xFF << (8 - bits % 8));
        if ((row[whole] & mask) != (white & mask)) return false;
    }
    return true;
}

void RasterBand::PutRow(int y, const unsigned char* row) {
    if (m_blank && !RowIsWhite(row)) m_blank = false;
    BYTE* out = m_bits.data() + static_cast<size_t>(y) * m_stride;
    if (m_kind != RasterKind::Colour) {
        std::memcpy(out, row, (static_cast<size_t>(m_width) * BitsOf(m_kind) + 7) / 8);
        return;
    }
    // RGB to the blue, green, red order of a 24-bit DIB.
    for (int x = 0; x < m_width; ++x, row += 3, out += 3) {
        out[0] = row[2];
        out[1] = row[1];
        out[2] = row[0];
    }
}

const BITMAPINFO* RasterBand::Info(int rows) {
    reinterpret_cast<BITMAPINFOHEADER*>(m_info.data())->biHeight = -rows;  // top-down
    return reinterpret_cast<const BITMAPINFO*>(m_info.data());
}

int BandRows(int width, int dpi, size_t budget) {
    // rows x 720 / dpi is whole when rows is a multiple of dpi / gcd(720, dpi).
    const int step = dpi > 0 ? dpi / std::gcd(720, dpi) : 1;
    const size_t rowBytes = static_cast<size_t>(std::max(width, 1)) * 4;
    const size_t fit = budget / rowBytes / static_cast<size_t>(step) * static_cast<size_t>(step);
    return static_cast<int>(std::clamp<size_t>(fit, static_cast<size_t>(step), 1 << 20));
}

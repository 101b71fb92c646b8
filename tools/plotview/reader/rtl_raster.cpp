#include "reader/rtl_raster.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "reader/pcl_rows.h"

namespace plot {

namespace {

bool IsWhole(double v) {
    return v == std::floor(v) && std::fabs(v) < 1e9;
}

// TIFF PackBits (compression method 2): a control byte n, then n + 1
// literal bytes (0..127) or one byte repeated 1 - n times (-127..-1);
// -128 is a no-operation.
bool DecodePackBitsRow(std::string_view data, std::vector<uint8_t>* pRow) {
    pRow->clear();
    size_t i = 0;
    while (i < data.size()) {
        const int n = static_cast<int8_t>(data[i++]);
        if (n >= 0) {
            if (data.size() - i < size_t(n) + 1) return false;
            pRow->insert(pRow->end(), data.begin() + long(i), data.begin() + long(i) + n + 1);
            i += size_t(n) + 1;
        } else if (n != -128) {
            if (i >= data.size()) return false;
            pRow->insert(pRow->end(), size_t(1 - n), static_cast<uint8_t>(data[i++]));
        }
    }
    return true;
}

}  // namespace

std::vector<uint32_t> DefaultPalette(int bitsPerIndex) {
    const size_t size = size_t{1} << std::clamp(bitsPerIndex, 1, 8);
    std::vector<uint32_t> palette(size);
    if (size == 2) {
        palette[0] = 0xFFFFFF;
        palette[1] = 0x000000;
        return palette;
    }
    // Index bits 0, 1, 2 switch red, green and blue on.
    for (size_t i = 0; i < size; ++i) {
        const size_t k = i % 8;
        palette[i] =
            ((k & 1) ? 0xFF0000u : 0) | ((k & 2) ? 0x00FF00u : 0) | ((k & 4) ? 0x0000FFu : 0);
    }
    return palette;
}

void RtlRaster::ResetConfiguration() {
    m_encoding = 0;
    m_bitsPerIndex = 1;
    m_palette = DefaultPalette(1);
    m_assigned.assign(m_palette.size(), true);
    m_paletteStack.clear();
    m_assignedStack.clear();
    m_method = 0;
    m_active = false;
    m_rows.clear();
    sourceWidth = sourceHeight = resolution = 0;
    destinationWidth = destinationHeight = 0;
}

std::string RtlRaster::ConfigureImageData(std::string_view data, bool keepPalette) {
    if (m_active) return "configure image data inside raster graphics";
    if (data.size() != 6 && data.size() != 18)
        return "configure image data of " + std::to_string(data.size()) + " bytes";
    const auto byte = [&](size_t i) { return int(static_cast<uint8_t>(data[i])); };
    if (byte(0) != 0)
        return "configure image data with colour space " + std::to_string(byte(0)) +
               " (only RGB is read)";
    const int encoding = byte(1);
    int bitsPerIndex = byte(2);
    const int primaries[3] = {byte(3), byte(4), byte(5)};
    if (encoding == 1 || encoding == 0) {
        if (bitsPerIndex == 0) {
            // Not a valid index size; a device keeps one bit per pixel.
            Warn("configure image data with 0 bits per index, read as 1");
            bitsPerIndex = 1;
        }
        if (bitsPerIndex != 1 && bitsPerIndex != 2 && bitsPerIndex != 4 && bitsPerIndex != 8)
            return "indexed raster of " + std::to_string(bitsPerIndex) + " bits per index";
        if (encoding == 0 && bitsPerIndex != 1)
            return "raster by plane with more than one plane is not read";
    } else if (encoding == 3) {
        if (primaries[0] != 8 || primaries[1] != 8 || primaries[2] != 8)
            return "direct raster needs 8 bits per primary";
    } else {
        return "pixel encoding mode " + std::to_string(encoding) + " is not read";
    }
    m_encoding = encoding;
    m_bitsPerIndex = bitsPerIndex;
    std::copy(primaries, primaries + 3, m_bitsPerPrimary);
    if (encoding == 3) return "";
    std::vector<uint32_t> palette = DefaultPalette(bitsPerIndex);
    std::vector<bool> assigned(palette.size(), palette.size() == 2);
    if (keepPalette) {
        for (size_t i = 0; i < palette.size() && i < m_palette.size(); ++i) {
            if (m_assigned[i] && m_palette.size() > 2) {
                palette[i] = m_palette[i];
                assigned[i] = true;
            }
        }
    }
    m_palette = std::move(palette);
    m_assigned = std::move(assigned);
    return "";
}

void RtlRaster::SetComponent(int which, double value) {
    m_components[which] = value;
}

std::string RtlRaster::AssignIndex(double index, bool growPalette) {
    if (!IsWhole(index) || index < 0) return "palette index " + std::to_string(index);
    size_t i = size_t(index);
    if (i >= m_palette.size()) {
        if (!growPalette || i > 255) {
            if (!m_warnedBeyondPalette)
                Warn("palette index " + std::to_string(i) + " beyond the palette of " +
                     std::to_string(m_palette.size()) + " entries is ignored (and any more such)");
            m_warnedBeyondPalette = true;
            return "";
        }
        m_palette.resize(i + 1, 0);
        m_assigned.resize(i + 1, false);
    }
    uint32_t colour = 0;
    for (int k = 0; k < 3; ++k) {
        const int c = int(std::lround(std::clamp(m_components[k], 0.0, 255.0)));
        colour = (colour << 8) | uint32_t(c);
    }
    m_palette[i] = colour;
    m_assigned[i] = true;
    m_components[0] = m_components[1] = m_components[2] = 0;
    return "";
}

void RtlRaster::PushPalette() {
    m_paletteStack.push_back(m_palette);
    m_assignedStack.push_back(m_assigned);
}

std::string RtlRaster::PopPalette() {
    if (m_paletteStack.empty()) return "palette pop with an empty stack";
    m_palette = m_paletteStack.back();
    m_assigned = m_assignedStack.back();
    m_paletteStack.pop_back();
    m_assignedStack.pop_back();
    return "";
}

std::string RtlRaster::SetCompression(double method) {
    if (!IsWhole(method) || method < 0 || method > 3)
        return "compression method " + std::to_string(method) + " is not read";
    m_method = int(method);
    return "";
}

int RtlRaster::BitsPerPixel() const {
    return m_encoding == 3 ? 24 : m_bitsPerIndex;
}

int RtlRaster::RowBytes() const {
    return int((int64_t(sourceWidth) * BitsPerPixel() + 7) / 8);
}

std::string RtlRaster::Start() {
    if (sourceWidth <= 0) return "raster graphics without a source raster width";
    if (int64_t(sourceWidth) * BitsPerPixel() > (int64_t{1} << 28))
        return "raster width " + std::to_string(sourceWidth) + " is beyond reason";
    m_active = true;
    m_rows.clear();
    m_seed.assign(size_t(RowBytes()), 0);
    return "";
}

std::string RtlRaster::RoomForRows(double rows) const {
    // Refused before memory runs out, whatever a file asks for.
    const double total = double(m_rows.size()) + rows;
    if (total * std::max(1, sourceWidth) > kMaxRasterPixels || total > kMaxRasterRows)
        return "raster of " + std::to_string(sourceWidth) + " pixels by more than " +
               std::to_string(m_rows.size()) + " rows is beyond reason";
    return "";
}

std::string RtlRaster::TransferRow(std::string_view data) {
    if (sourceHeight > 0 && int(m_rows.size()) >= sourceHeight)
        return "row " + std::to_string(m_rows.size() + 1) + " beyond the raster height " +
               std::to_string(sourceHeight);
    if (std::string room = RoomForRows(1); !room.empty()) return room;
    const size_t rowBytes = size_t(RowBytes());
    std::vector<uint8_t> row;
    const auto* pData = reinterpret_cast<const uint8_t*>(data.data());
    switch (m_method) {
        case 0: row.assign(pData, pData + data.size()); break;
        case 1:
            if (!pcl::DecodeRunLengthRow(pData, data.size(), &row))
                return "method-1 row of an odd byte count";
            break;
        case 2:
            if (!DecodePackBitsRow(data, &row)) return "method-2 row cut short";
            break;
        case 3:
            row = m_seed;
            if (!pcl::ApplyDeltaRow(pData, data.size(), &row))
                return "method-3 row cut short or reaching past the row's " +
                       std::to_string(rowBytes) + " bytes";
            break;
    }
    if (row.size() > rowBytes)
        return "method-" + std::to_string(m_method) + " row of " + std::to_string(row.size()) +
               " bytes in a raster of " + std::to_string(rowBytes) + " bytes per row";
    row.resize(rowBytes, 0);  // a short row ends in zeros
    m_seed = row;
    m_rows.push_back(Row{std::move(row), false});
    return "";
}

std::string RtlRaster::SkipRows(double rows) {
    if (!IsWhole(rows) || rows < 0) return "vertical move of " + std::to_string(rows) + " rows";
    if (std::string room = RoomForRows(rows); !room.empty()) return room;
    m_seed.assign(m_seed.size(), 0);
    for (int k = 0; k < int(rows); ++k) m_rows.push_back(Row{{}, true});
    return "";
}

uint32_t RtlRaster::PixelColour(const std::vector<uint8_t>& row, int x, bool* pUnassigned) const {
    if (m_encoding == 3) {
        const size_t i = size_t(x) * 3;
        return (uint32_t(row[i]) << 16) | (uint32_t(row[i + 1]) << 8) | row[i + 2];
    }
    const int bits = m_bitsPerIndex;
    const size_t bit = size_t(x) * size_t(bits);
    const int shift = 8 - bits - int(bit % 8);
    const size_t index = (row[bit / 8] >> shift) & ((1u << bits) - 1);
    if (index >= m_palette.size()) return 0;
    if (!m_assigned[index]) *pUnassigned = true;
    return m_palette[index];
}

RasterPicture RtlRaster::Finish(bool whiteTransparent) {
    RasterPicture picture;
    m_active = false;
    picture.width = sourceWidth;
    picture.height = int(m_rows.size());
    picture.argb.assign(size_t(picture.width) * size_t(picture.height), 0);
    bool unassigned = false;
    for (int y = 0; y < picture.height; ++y) {
        const Row& row = m_rows[size_t(y)];
        if (row.skipped) continue;
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t colour = PixelColour(row.bytes, x, &unassigned);
            if (whiteTransparent && colour == 0xFFFFFF) continue;
            picture.argb[size_t(y) * size_t(picture.width) + size_t(x)] = 0xFF000000u | colour;
        }
    }
    if (unassigned)
        Warn("raster pixels use palette entries that were never assigned (device default colours)");
    m_rows.clear();
    return picture;
}

}  // namespace plot

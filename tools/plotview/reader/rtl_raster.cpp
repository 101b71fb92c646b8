#include "reader/rtl_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "reader/pcl_rows.h"

namespace plot {

namespace {

bool IsWhole(double v) {
    return v == std::floor(v) && std::fabs(v) < 1e9;
}

// The length of the row that method-1 data (pairs of repetitions - 1 and
// byte) decodes to; false for a dangling count byte.
bool RunLengthRowLength(std::string_view data, size_t* pLength) {
    if (data.size() % 2 != 0) return false;
    size_t length = 0;
    for (size_t i = 0; i < data.size(); i += 2) length += size_t(uint8_t(data[i])) + 1;
    *pLength = length;
    return true;
}

void DecodeRunLengthRow(std::string_view data, uint8_t* pRow) {
    for (size_t i = 0; i < data.size(); i += 2) {
        const size_t count = size_t(uint8_t(data[i])) + 1;
        std::memset(pRow, uint8_t(data[i + 1]), count);
        pRow += count;
    }
}

// TIFF PackBits (compression method 2): a control byte n, then n + 1
// literal bytes (0..127) or one byte repeated 1 - n times (-127..-1);
// -128 is a no-operation. Measures the row, or with pRow decodes it too.
bool PackBitsRow(std::string_view data, size_t* pLength, uint8_t* pRow) {
    size_t length = 0;
    size_t i = 0;
    while (i < data.size()) {
        const int n = static_cast<int8_t>(data[i++]);
        if (n >= 0) {
            if (data.size() - i < size_t(n) + 1) return false;
            if (pRow) std::memcpy(pRow + length, data.data() + i, size_t(n) + 1);
            i += size_t(n) + 1;
            length += size_t(n) + 1;
        } else if (n != -128) {
            if (i >= data.size()) return false;
            if (pRow) std::memset(pRow + length, uint8_t(data[i]), size_t(1 - n));
            ++i;
            length += size_t(1 - n);
        }
    }
    *pLength = length;
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
    Discard();
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

std::string RtlRaster::Start(int sliceRows, bool holdRows) {
    if (sourceWidth <= 0) return "raster graphics without a source raster width";
    if (int64_t(sourceWidth) * BitsPerPixel() > (int64_t{1} << 28))
        return "raster width " + std::to_string(sourceWidth) + " is beyond reason";
    Discard();
    m_active = true;
    m_format.direct = m_encoding == 3;
    m_format.bitsPerIndex = m_bitsPerIndex;
    m_format.palette = m_palette;
    m_assignedAtStart = m_assigned;
    m_seekUnassigned = !m_format.direct &&
                       std::find(m_assigned.begin(), m_assigned.end(), false) != m_assigned.end();
    m_usesUnassigned = false;
    const size_t rowBytes = size_t(RowBytes());
    m_sliceRows = sliceRows > 0 ? sliceRows : int(std::max<size_t>(1, kSliceBytes / rowBytes));
    m_slice.width = sourceWidth;
    m_slice.rowBytes = rowBytes;
    m_slice.format = &m_format;
    m_holding = holdRows;
    // Held rows are decoded one at a time, to check them, in the seed.
    m_slice.bytes.assign(m_holding ? 0 : size_t(m_sliceRows) * rowBytes, 0);
    m_seed.assign(rowBytes, 0);
    return "";
}

std::string RtlRaster::RoomForRows(double rows) const {
    if (double(m_rowCount) + rows > double(kMaxRasterRows))
        return "raster of " + std::to_string(sourceWidth) + " pixels by more than " +
               std::to_string(m_rowCount) + " rows is beyond reason";
    return "";
}

const uint8_t* RtlRaster::Seed() const {
    return m_slice.rows > 0 ? m_slice.Row(m_slice.rows - 1) : m_seed.data();
}

std::string RtlRaster::DecodeRow(std::string_view data, int method, uint8_t* pRow) const {
    const size_t rowBytes = m_slice.rowBytes;
    const auto* pData = reinterpret_cast<const uint8_t*>(data.data());
    size_t length = 0;
    switch (method) {
        case 0: length = data.size(); break;
        case 1:
            if (!RunLengthRowLength(data, &length)) return "method-1 row of an odd byte count";
            break;
        case 2:
            if (!PackBitsRow(data, &length, nullptr)) return "method-2 row cut short";
            break;
        case 3:
            // The row holds the seed; only the bytes that change are sent.
            if (!pcl::ApplyDeltaRow(pData, data.size(), pRow, rowBytes))
                return "method-3 row cut short or reaching past the row's " +
                       std::to_string(rowBytes) + " bytes";
            return "";
    }
    if (length > rowBytes)
        return "method-" + std::to_string(method) + " row of " + std::to_string(length) +
               " bytes in a raster of " + std::to_string(rowBytes) + " bytes per row";
    if (method == 0) {
        if (length > 0) std::memcpy(pRow, pData, length);
    } else if (method == 1) {
        DecodeRunLengthRow(data, pRow);
    } else {
        PackBitsRow(data, &length, pRow);
    }
    std::memset(pRow + length, 0, rowBytes - length);  // a short row ends in zeros
    return "";
}

std::string RtlRaster::TransferRow(std::string_view data) {
    if (sourceHeight > 0 && m_rowCount >= sourceHeight)
        return "row " + std::to_string(m_rowCount + 1) + " beyond the raster height " +
               std::to_string(sourceHeight);
    if (std::string room = RoomForRows(1); !room.empty()) return room;
    if (m_holding) {
        // Decoded now for its errors and colours, again when it is placed.
        if (std::string error = DecodeRow(data, m_method, m_seed.data()); !error.empty())
            return error;
        NoteUnassigned(m_seed.data());
        m_held.push_back(HeldStep{m_method, m_heldData.size(), data.size(), 0});
        m_heldData.append(data);
        ++m_rowCount;
        return "";
    }
    return Transfer(data, m_method);
}

std::string RtlRaster::Transfer(std::string_view data, int method) {
    if (m_slice.rows >= m_sliceRows) return "raster slice not placed";
    uint8_t* pRow = m_slice.Row(m_slice.rows);
    if (method == 3) std::memcpy(pRow, Seed(), m_slice.rowBytes);
    if (std::string error = DecodeRow(data, method, pRow); !error.empty()) return error;
    NoteUnassigned(pRow);
    ++m_slice.rows;
    ++m_rowCount;
    return "";
}

std::string RtlRaster::SkipRows(double rows) {
    if (!IsWhole(rows) || rows < 0) return "vertical move of " + std::to_string(rows) + " rows";
    if (std::string room = RoomForRows(rows); !room.empty()) return room;
    if (m_slice.rows > 0) return "raster slice not placed before a vertical move";
    if (m_holding) {
        m_held.push_back(HeldStep{0, 0, 0, int64_t(rows)});
        m_rowCount += int64_t(rows);
        std::fill(m_seed.begin(), m_seed.end(), 0);
        return "";
    }
    Skip(int64_t(rows));
    return "";
}

void RtlRaster::Skip(int64_t rows) {
    m_rowCount += rows;
    m_slice.firstRow = m_rowCount;
    std::fill(m_seed.begin(), m_seed.end(), 0);
}

void RtlRaster::NoteUnassigned(const uint8_t* row) {
    if (!m_seekUnassigned) return;
    for (int64_t x = 0; x < sourceWidth; ++x) {
        const int bits = m_format.bitsPerIndex;
        const uint64_t bit = uint64_t(x) * uint64_t(bits);
        const size_t index = (row[bit / 8] >> (8 - bits - int(bit % 8))) & ((1u << bits) - 1);
        if (index < m_assignedAtStart.size() && !m_assignedAtStart[index]) {
            m_usesUnassigned = true;
            m_seekUnassigned = false;  // once is enough for the warning
            return;
        }
    }
}

int64_t RtlRaster::End() {
    m_active = false;
    m_ended = true;
    m_height = m_rowCount;
    if (m_usesUnassigned)
        Warn("raster pixels use palette entries that were never assigned (device default colours)");
    if (m_holding) {
        m_holding = false;
        m_rowCount = 0;
        m_slice.firstRow = 0;
        m_slice.bytes.assign(size_t(m_sliceRows) * m_slice.rowBytes, 0);
        std::fill(m_seed.begin(), m_seed.end(), 0);
        m_replayAt = 0;
    }
    return m_height;
}

const RasterSlice* RtlRaster::DueSlice(bool any) const {
    if (m_holding || m_slice.rows == 0) return nullptr;
    // A held vertical move about to be replayed ends the slice too.
    const bool moveNext = m_replayAt < m_held.size() && m_held[m_replayAt].skipped > 0;
    return any || moveNext || m_slice.rows >= m_sliceRows ? &m_slice : nullptr;
}

void RtlRaster::SlicePlaced() {
    if (m_slice.rows == 0) return;
    std::memcpy(m_seed.data(), m_slice.Row(m_slice.rows - 1), m_slice.rowBytes);
    m_slice.firstRow = m_slice.EndRow();
    m_slice.rows = 0;
}

bool RtlRaster::ReplayHeld() {
    if (!m_ended || m_replayAt >= m_held.size()) return false;
    const HeldStep& step = m_held[m_replayAt++];
    if (step.skipped > 0) {
        Skip(step.skipped);
    } else {
        // Checked when it came: it decodes again without an error.
        Transfer(std::string_view(m_heldData).substr(step.offset, step.length), step.method);
    }
    return true;
}

void RtlRaster::Discard() {
    m_active = m_ended = m_holding = false;
    m_rowCount = m_height = 0;
    m_slice.firstRow = 0;
    m_slice.rows = 0;
    m_held.clear();
    m_heldData.clear();
    m_replayAt = 0;
}

}  // namespace plot

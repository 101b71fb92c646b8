#include "png_file.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include <zlib.h>

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// One chunk: length, type, data, CRC of type and data (PNG 1.2, section 3.2).
void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutU32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    PutU32(out, static_cast<uint32_t>(crc));
}

uint32_t RgbAt(const uint8_t* pixels, size_t i) {
    const uint8_t* p = pixels + i * 4;
    return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

}  // namespace

bool WritePng(const std::string& path, const uint8_t* pixels, int width, int height,
              std::string* error) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::map<uint32_t, uint8_t> palette;
    for (size_t i = 0; i < count && palette.size() <= 256; ++i)
        palette.emplace(RgbAt(pixels, i), 0);
    const bool indexed = palette.size() <= 256;
    uint8_t next = 0;
    for (auto& entry : palette) entry.second = next++;

    // Filter type 0 on every row: indexed rows compress best unfiltered, and
    // the RGB pictures are the few with bitmaps in them.
    const size_t rowBytes = indexed ? static_cast<size_t>(width) : static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = RgbAt(pixels, static_cast<size_t>(y) * width + x);
            if (indexed) {
                raw.push_back(palette[rgb]);
            } else {
                raw.push_back(static_cast<uint8_t>(rgb >> 16));
                raw.push_back(static_cast<uint8_t>(rgb >> 8));
                raw.push_back(static_cast<uint8_t>(rgb));
            }
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK) {
        *error = "the picture could not be compressed";
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    header.push_back(8);                // bits per sample
    header.push_back(indexed ? 3 : 2);  // colour type: palette, RGB
    header.push_back(0), header.push_back(0),
        header.push_back(0);  // deflate, filters, no interlace
    PutChunk(file, "IHDR", header);
    if (indexed) {
        std::vector<uint8_t> entries;
        for (const auto& entry : palette) {
            entries.push_back(static_cast<uint8_t>(entry.first >> 16));
            entries.push_back(static_cast<uint8_t>(entry.first >> 8));
            entries.push_back(static_cast<uint8_t>(entry.first));
        }
        PutChunk(file, "PLTE", entries);
    }
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        *error = "cannot create " + path;
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

// Rows of the kinds a plotter raster carries, for round trips through the
// row coders: deterministic, so a failure names its row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class RowKind { kCad, kPhoto, kWorstCase, kRunBoundaries, kFewValues };

inline const char* RowKindName(RowKind kind) {
    switch (kind) {
        case RowKind::kCad: return "cad";
        case RowKind::kPhoto: return "photo";
        case RowKind::kWorstCase: return "worst";
        case RowKind::kRunBoundaries: return "runs";
        case RowKind::kFewValues: return "few-values";
    }
    return "?";
}

inline constexpr RowKind kAllRowKinds[] = {RowKind::kCad, RowKind::kPhoto, RowKind::kWorstCase,
                                           RowKind::kRunBoundaries, RowKind::kFewValues};

inline uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// Row y of a raster of the given kind, nBytes long.
inline std::vector<uint8_t> MakeRow(RowKind kind, size_t nBytes, int y) {
    std::vector<uint8_t> row(nBytes);
    uint32_t state = 0x9E3779B9u * static_cast<uint32_t>(y + 1) + static_cast<uint32_t>(kind);
    switch (kind) {
        case RowKind::kCad:
            // White with a thin line every 97 bytes, shifting down the rows.
            for (size_t i = 0; i < nBytes; ++i) {
                row[i] = (i + static_cast<size_t>(y)) % 97 < 2 ? 0x00 : 0xFF;
            }
            break;
        case RowKind::kPhoto:
            for (size_t i = 0; i < nBytes; ++i) {
                row[i] = static_cast<uint8_t>((i / 7 + static_cast<size_t>(y) * 3) % 256 +
                                              NextRandom(state) % 3);
            }
            break;
        case RowKind::kWorstCase:
            // Every byte differs from its neighbour and from the row above.
            for (size_t i = 0; i < nBytes; ++i) {
                row[i] = static_cast<uint8_t>(i * 7 + static_cast<size_t>(y) * 3);
            }
            break;
        case RowKind::kRunBoundaries: {
            // Runs of 254 to 257 equal bytes and single bytes between them.
            const size_t lengths[] = {254, 255, 256, 257, 1, 8, 9, 31, 286};
            size_t i = 0;
            for (size_t k = static_cast<size_t>(y); i < nBytes; ++k) {
                const size_t n = lengths[k % 9];
                const auto value = static_cast<uint8_t>(k * 37);
                for (size_t j = 0; j < n && i < nBytes; ++j) row[i++] = value;
            }
            break;
        }
        case RowKind::kFewValues:
            for (size_t i = 0; i < nBytes; ++i)
                row[i] = static_cast<uint8_t>(NextRandom(state) % 3);
            break;
    }
    return row;
}

inline constexpr size_t kRoundTripWidths[] = {1, 6, 7, 8, 9, 10, 255, 256, 257, 19866};

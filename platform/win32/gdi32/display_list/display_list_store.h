// What a display list holds: the primitives of a page in drawing order,
// each with the page pixels it can touch, and what they draw with. Kept in
// blocks that never move, so that recording a large metafile neither copies
// what it has recorded nor leaves half-used capacity behind.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gdi32/display_list/display_list_bins.h"
#include "gdi32/metafile/raster_paint.h"
#include "win32/gdi32/metafile/metafile_device.h"

// A growing sequence in blocks of kBlock elements.
template <typename T, size_t kBlock = 4096>
class BlockVector {
public:
    void push_back(T value) {
        if (m_size % kBlock == 0) m_blocks.push_back(std::make_unique<T[]>(kBlock));
        m_blocks.back()[m_size % kBlock] = std::move(value);
        ++m_size;
    }
    T& operator[](size_t i) { return m_blocks[i / kBlock][i % kBlock]; }
    const T& operator[](size_t i) const { return m_blocks[i / kBlock][i % kBlock]; }
    T& back() { return (*this)[m_size - 1]; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    size_t Bytes() const { return m_blocks.size() * (kBlock * sizeof(T) + sizeof(void*)); }

private:
    std::vector<std::unique_ptr<T[]>> m_blocks;
    size_t m_size = 0;
};

// Points of figures, each figure's points side by side.
class PointArena {
public:
    // Room for count points side by side.
    POINT* Allocate(size_t count);
    size_t Bytes() const { return m_bytes; }

private:
    static constexpr size_t kBlockPoints = size_t{1} << 15;
    std::vector<std::unique_ptr<POINT[]>> m_blocks;
    size_t m_used = kBlockPoints;  // in the last block
    size_t m_bytes = 0;
};

enum class PrimitiveKind : uint32_t { Fill, Stroke, Bitmap, Gradient };

struct Primitive {
    RECT box;  // the page pixels it can touch, within the page and its clip
    // Fill and Stroke: the first of count figures, the fill or stroke
    // style. Bitmap and Gradient: the index of their record in `style`.
    uint32_t first;
    uint32_t count : 30;
    uint32_t kind : 2;  // PrimitiveKind
    uint32_t style;
    uint32_t clip;  // into DisplayListData::clips; 0: not clipped
};

struct FigureRecord {
    const POINT* points;
    uint32_t count;
    bool closed;
};

// The arguments of a bitmap: bits point into the metafile when they lie
// there, else into a copy of their own.
struct BitmapRecord {
    RECT dest;
    RECT source;
    const void* bits = nullptr;
    std::vector<uint32_t> info;  // the BITMAPINFO, aligned
    std::vector<BYTE> ownBits;
    UINT usage = DIB_RGB_COLORS;
    DWORD rop = SRCCOPY;
    int stretchMode = BLACKONWHITE;
    bool alpha = false;
};

struct GradientRecord {
    std::vector<GradientVertex> vertices;
    std::vector<GRADIENT_RECT> rects;
    std::vector<GRADIENT_TRIANGLE> triangles;
    ULONG mode = GRADIENT_FILL_RECT_H;
};

struct DisplayListData {
    unsigned width = 0;
    unsigned height = 0;
    BlockVector<Primitive> primitives;
    BlockVector<FigureRecord> figures;
    PointArena points;
    std::vector<RasterFill> fills;
    std::vector<RasterStroke> strokes;
    std::vector<RegionRef> clips{nullptr};
    std::vector<std::unique_ptr<BitmapRecord>> bitmaps;
    std::vector<std::unique_ptr<GradientRecord>> gradients;
    size_t ownedBytes = 0;  // of bitmaps, gradients, styles and regions
    RowIndex rows;
};

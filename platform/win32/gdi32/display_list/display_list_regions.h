// Clip regions of a display list, kept as what made them (rectangles,
// polygons, the rectangles of region records, combinations and moves of
// other regions) and drawn into pixels band by band, only where a
// primitive of the band is clipped by them.
#pragma once

#include <array>
#include <list>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "gdi32/metafile/raster_paint.h"

struct RegionNode : MetafileRegion {
    enum class Kind { Rect, Polygon, Quads, Combine, Offset };
    Kind kind = Kind::Rect;
    RECT bounds{0, 0, 0, 0};  // page pixels outside which nothing is inside
    RECT rect{0, 0, 0, 0};
    std::vector<POINT> points;
    int fillMode = ALTERNATE;
    std::vector<std::array<POINT, 4>> quads;
    RegionRef a, b;  // Combine: a mode b; Offset: a moved by `by`
    int mode = RGN_AND;
    POINT by{0, 0};

    size_t Bytes() const;
};

RegionRef RectNode(const RECT& rect);
RegionRef PolygonNode(std::span<const POINT> points, int fillMode);
RegionRef QuadsNode(std::span<const std::array<POINT, 4>> quads);
RegionRef CombineNode(const RegionRef& a, const RegionRef& b, int mode);
RegionRef OffsetNode(const RegionRef& region, POINT by);

// The bounds of a node (empty for what is not a node).
RECT NodeBounds(const RegionRef& region);

// The regions of one band in pixels: the last few made are kept, as a page
// clips long runs of primitives to one region and makes each new region
// from the one before.
class BandRegions {
public:
    BandRegions(HDC__& dc, POINT origin, int rows) : m_dc(dc), m_origin(origin), m_rows(rows) {}
    std::shared_ptr<const RasterRegion> Get(const RegionNode* node);

private:
    // A node moved by shift (the moves of the Offset nodes above it).
    struct Key {
        const RegionNode* node;
        POINT shift;
        bool operator==(const Key& o) const {
            return node == o.node && shift.x == o.shift.x && shift.y == o.shift.y;
        }
        bool operator<(const Key& o) const {
            if (node != o.node) return node < o.node;
            if (shift.x != o.shift.x) return shift.x < o.shift.x;
            return shift.y < o.shift.y;
        }
    };
    static void Operands(const Key& key, std::vector<Key>* out);
    std::shared_ptr<const RasterRegion> Find(const Key& key);
    void Keep(const Key& key, std::shared_ptr<const RasterRegion> region);
    std::shared_ptr<const RasterRegion> Make(
        const Key& key, const std::vector<std::shared_ptr<const RasterRegion>>& operands);

    static constexpr size_t kKept = 16;
    HDC__& m_dc;
    POINT m_origin;
    int m_rows;
    std::list<std::pair<Key, std::shared_ptr<const RasterRegion>>> m_kept;
};

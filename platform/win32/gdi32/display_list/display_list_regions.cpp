#include "gdi32/display_list/display_list_regions.h"

#include <algorithm>
#include <climits>

namespace {

const RegionNode* NodeOf(const RegionRef& region) {
    return dynamic_cast<const RegionNode*>(region.get());
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

LONG Shifted(LONG v, LONG d) {
    return static_cast<LONG>(
        std::clamp<long long>(static_cast<long long>(v) + d, INT_MIN / 2, INT_MAX / 2));
}

// The points' bounds, two pixels wider each side, as the painter
// rasterises them; empty without points.
template <typename Quads>
RECT PointBounds(const Quads& quads) {
    long long l = LLONG_MAX, t = LLONG_MAX, r = LLONG_MIN, b = LLONG_MIN;
    for (const auto& points : quads)
        for (const POINT& p : points) {
            l = std::min<long long>(l, p.x), r = std::max<long long>(r, p.x);
            t = std::min<long long>(t, p.y), b = std::max<long long>(b, p.y);
        }
    if (l > r) return RECT{0, 0, 0, 0};
    const auto clamp = [](long long v) {
        return static_cast<LONG>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
    };
    return RECT{clamp(l - 2), clamp(t - 2), clamp(r + 2), clamp(b + 2)};
}

}  // namespace

size_t RegionNode::Bytes() const {
    return sizeof *this + points.capacity() * sizeof(POINT) +
           quads.capacity() * sizeof(std::array<POINT, 4>);
}

RECT NodeBounds(const RegionRef& region) {
    const RegionNode* node = NodeOf(region);
    return node ? node->bounds : RECT{0, 0, 0, 0};
}

RegionRef RectNode(const RECT& rect) {
    auto node = std::make_shared<RegionNode>();
    node->kind = RegionNode::Kind::Rect;
    node->rect = RECT{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
                      std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
    node->bounds = node->rect;
    return node;
}

RegionRef PolygonNode(std::span<const POINT> points, int fillMode) {
    // An upright rectangle (IntersectClipRect without a turn) covers the
    // pixels of its box, whose centres lie inside it.
    if (points.size() == 4) {
        const POINT* p = points.data();
        const bool across =
            p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x;
        const bool down =
            p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y;
        if (across || down) return RectNode(RECT{p[0].x, p[0].y, p[2].x, p[2].y});
    }
    auto node = std::make_shared<RegionNode>();
    node->kind = RegionNode::Kind::Polygon;
    node->points.assign(points.begin(), points.end());
    node->fillMode = fillMode;
    node->bounds = PointBounds(std::span<const std::span<const POINT>>(&points, 1));
    return node;
}

RegionRef QuadsNode(std::span<const std::array<POINT, 4>> quads) {
    auto node = std::make_shared<RegionNode>();
    node->kind = RegionNode::Kind::Quads;
    node->quads.assign(quads.begin(), quads.end());
    node->bounds = PointBounds(quads);
    return node;
}

RegionRef CombineNode(const RegionRef& a, const RegionRef& b, int mode) {
    const RegionNode* na = NodeOf(a);
    const RegionNode* nb = NodeOf(b);
    if (mode == RGN_AND && na && nb && na->kind == RegionNode::Kind::Rect &&
        nb->kind == RegionNode::Kind::Rect) {
        // Clips narrowed rectangle by rectangle stay one rectangle.
        const RECT both{
            std::max(na->rect.left, nb->rect.left), std::max(na->rect.top, nb->rect.top),
            std::min(na->rect.right, nb->rect.right), std::min(na->rect.bottom, nb->rect.bottom)};
        return RectNode(Empty(both) ? RECT{0, 0, 0, 0} : both);
    }
    auto node = std::make_shared<RegionNode>();
    node->kind = RegionNode::Kind::Combine;
    node->a = a;
    node->b = b;
    node->mode = mode;
    const RECT ba = NodeBounds(a), bb = NodeBounds(b);
    RECT bounds{0, 0, 0, 0};
    switch (mode) {
        case RGN_AND:
            bounds = RECT{std::max(ba.left, bb.left), std::max(ba.top, bb.top),
                          std::min(ba.right, bb.right), std::min(ba.bottom, bb.bottom)};
            break;
        case RGN_OR:
        case RGN_XOR:
            bounds = Empty(ba) ? bb
                     : Empty(bb)
                         ? ba
                         : RECT{std::min(ba.left, bb.left), std::min(ba.top, bb.top),
                                std::max(ba.right, bb.right), std::max(ba.bottom, bb.bottom)};
            break;
        case RGN_DIFF:
        case RGN_COPY: bounds = ba; break;
        default: break;
    }
    node->bounds = Empty(bounds) ? RECT{0, 0, 0, 0} : bounds;
    return node;
}

RegionRef OffsetNode(const RegionRef& region, POINT by) {
    const RegionNode* from = NodeOf(region);
    if (!from) return RectNode(RECT{0, 0, 0, 0});
    const auto moved = [&](POINT p) { return POINT{Shifted(p.x, by.x), Shifted(p.y, by.y)}; };
    // Shapes move themselves; a move of a move is one move.
    switch (from->kind) {
        case RegionNode::Kind::Rect: {
            if (Empty(from->rect)) return region;
            const POINT a = moved(POINT{from->rect.left, from->rect.top});
            const POINT b = moved(POINT{from->rect.right, from->rect.bottom});
            return RectNode(RECT{a.x, a.y, b.x, b.y});
        }
        case RegionNode::Kind::Polygon: {
            std::vector<POINT> points = from->points;
            for (POINT& p : points) p = moved(p);
            return PolygonNode(points, from->fillMode);
        }
        case RegionNode::Kind::Quads: {
            std::vector<std::array<POINT, 4>> quads = from->quads;
            for (auto& quad : quads)
                for (POINT& p : quad) p = moved(p);
            return QuadsNode(quads);
        }
        case RegionNode::Kind::Offset: return OffsetNode(from->a, moved(from->by));
        case RegionNode::Kind::Combine: break;
    }
    auto node = std::make_shared<RegionNode>();
    node->kind = RegionNode::Kind::Offset;
    node->a = region;
    node->by = by;
    const RECT b = NodeBounds(region);
    node->bounds = Empty(b) ? b
                            : RECT{Shifted(b.left, by.x), Shifted(b.top, by.y),
                                   Shifted(b.right, by.x), Shifted(b.bottom, by.y)};
    return node;
}

std::shared_ptr<const RasterRegion> BandRegions::Find(const Key& key) {
    for (auto it = m_kept.begin(); it != m_kept.end(); ++it)
        if (it->first == key) {
            m_kept.splice(m_kept.begin(), m_kept, it);
            return it->second;
        }
    return nullptr;
}

void BandRegions::Keep(const Key& key, std::shared_ptr<const RasterRegion> region) {
    m_kept.emplace_front(key, std::move(region));
    if (m_kept.size() > kKept) m_kept.pop_back();
}

void BandRegions::Operands(const Key& key, std::vector<Key>* out) {
    out->clear();
    const RegionNode* node = key.node;
    if (!node) return;
    if (node->kind == RegionNode::Kind::Combine) {
        out->push_back(Key{NodeOf(node->a), key.shift});
        out->push_back(Key{NodeOf(node->b), key.shift});
    } else if (node->kind == RegionNode::Kind::Offset) {
        out->push_back(Key{NodeOf(node->a), POINT{Shifted(key.shift.x, node->by.x),
                                                  Shifted(key.shift.y, node->by.y)}});
    }
}

std::shared_ptr<const RasterRegion> BandRegions::Get(const RegionNode* root) {
    const Key rootKey{root, POINT{0, 0}};
    if (auto kept = Find(rootKey)) return kept;
    // The regions to make, operands before the regions made of them (found
    // without recursion: a page may nest regions thousands deep), and how
    // many regions are made of each.
    std::vector<Key> order;
    std::map<Key, size_t> uses;
    std::map<Key, std::shared_ptr<const RasterRegion>> made;
    enum State { kNew, kOpen, kDone };
    std::map<Key, State> state;
    std::vector<std::pair<Key, bool>> stack{{rootKey, false}};
    std::vector<Key> operands;
    while (!stack.empty()) {
        const auto [key, expanded] = stack.back();
        if (expanded) {
            order.push_back(key);
            state[key] = kDone;
            stack.pop_back();
            continue;
        }
        if (state[key] != kNew) {  // reached again through another region
            stack.pop_back();
            continue;
        }
        stack.back().second = true;
        state[key] = kOpen;
        Operands(key, &operands);
        for (const Key& operand : operands) {
            ++uses[operand];
            if (state[operand] == kDone) continue;
            if (auto kept = Find(operand)) {
                made[operand] = std::move(kept);
                state[operand] = kDone;
            } else {
                stack.emplace_back(operand, false);
            }
        }
    }
    std::vector<std::shared_ptr<const RasterRegion>> from;
    for (const Key& key : order) {
        Operands(key, &operands);
        from.clear();
        for (const Key& operand : operands) {
            from.push_back(made[operand]);
            // An operand goes once the last region made of it is made.
            if (--uses[operand] == 0) made.erase(operand);
        }
        made[key] = Make(key, from);
    }
    std::shared_ptr<const RasterRegion> region = made[rootKey];
    Keep(rootKey, region);
    return region;
}

std::shared_ptr<const RasterRegion> BandRegions::Make(
    const Key& key, const std::vector<std::shared_ptr<const RasterRegion>>& operands) {
    RasterPainter painter(m_dc, m_origin, m_rows);
    const RegionNode* node = key.node;
    if (!node) return painter.RectRegion(RECT{0, 0, 0, 0});
    const POINT s = key.shift;
    const auto moved = [&](POINT p) { return POINT{Shifted(p.x, s.x), Shifted(p.y, s.y)}; };
    switch (node->kind) {
        case RegionNode::Kind::Rect: {
            const POINT a = moved(POINT{node->rect.left, node->rect.top});
            const POINT b = moved(POINT{node->rect.right, node->rect.bottom});
            return painter.RectRegion(RECT{a.x, a.y, b.x, b.y});
        }
        case RegionNode::Kind::Polygon: {
            std::vector<POINT> points = node->points;
            for (POINT& p : points) p = moved(p);
            return painter.PolygonRegion(points, node->fillMode);
        }
        case RegionNode::Kind::Quads: {
            std::vector<std::array<POINT, 4>> quads = node->quads;
            for (auto& quad : quads)
                for (POINT& p : quad) p = moved(p);
            return painter.QuadsRegion(quads);
        }
        case RegionNode::Kind::Combine:
            return painter.CombineRegions(operands[0].get(), operands[1].get(), node->mode);
        case RegionNode::Kind::Offset:
            // The operand was made where it lands.
            return operands[0];
    }
    return painter.RectRegion(RECT{0, 0, 0, 0});
}

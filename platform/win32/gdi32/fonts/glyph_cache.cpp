#include "gdi32/fonts/glyph_cache.h"

#include <cmath>
#include <list>
#include <unordered_map>

namespace {

// What one cached entry costs besides its points: the map's node, the
// recency list's node and the shared pointer's control block.
constexpr size_t kEntryOverhead = 160;
// The fineness of an entry that holds a glyph's curves.
constexpr int kCurvesEntry = -1;

size_t BytesOf(const GlyphShape& shape) {
    return sizeof shape + shape.verbs.capacity() + shape.points.capacity() * sizeof(GlyphPoint);
}

size_t BytesOf(const GlyphOutline& outline) {
    size_t bytes = sizeof outline + outline.contours.capacity() * sizeof(outline.contours[0]);
    for (const auto& c : outline.contours) bytes += c.capacity() * sizeof(GlyphPoint);
    return bytes;
}

// A cached glyph: its curves, or one of its outlines.
struct GlyphKey {
    FontId face;
    UINT glyph;
    int fineness;  // kCurvesEntry for the curves
    bool operator==(const GlyphKey&) const = default;
};

struct GlyphKeyHash {
    size_t operator()(const GlyphKey& k) const {
        const uint64_t h = (uint64_t(uint32_t(k.face)) * 0x9E3779B97F4A7C15ull) ^
                           (uint64_t(k.glyph) << 6) ^ uint64_t(uint32_t(k.fineness + 1));
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

}  // namespace

// Glyph curves and outlines, bounded in bytes: a new entry pushes out the
// least recently used ones until the rest fits (the new one stays, so the
// bound is passed by at most one glyph of kMaxGlyphPoints).
class GlyphCache::Store {
public:
    explicit Store(size_t budget) : m_budget(budget) {}

    template <typename T>
    std::shared_ptr<const T> Find(const GlyphKey& key) {
        auto it = m_entries.find(key);
        if (it == m_entries.end()) return nullptr;
        m_recency.splice(m_recency.begin(), m_recency, it->second.use);
        return std::static_pointer_cast<const T>(it->second.value);
    }
    template <typename T>
    void Put(const GlyphKey& key, std::shared_ptr<const T> value) {
        const size_t bytes = BytesOf(*value) + kEntryOverhead;
        m_recency.push_front(key);
        m_entries[key] = Entry{std::move(value), bytes, m_recency.begin()};
        m_bytes += bytes;
        while (m_bytes > m_budget && m_recency.size() > 1) {
            auto last = m_entries.find(m_recency.back());
            m_bytes -= last->second.bytes;
            m_entries.erase(last);
            m_recency.pop_back();
        }
    }
    size_t Bytes() const { return m_bytes; }

private:
    struct Entry {
        std::shared_ptr<const void> value;
        size_t bytes = 0;
        std::list<GlyphKey>::iterator use;
    };
    size_t m_budget;
    size_t m_bytes = 0;
    std::list<GlyphKey> m_recency;  // most recently used first
    std::unordered_map<GlyphKey, Entry, GlyphKeyHash> m_entries;
};

int FinenessOf(double pixelsPerEm) {
    if (!(pixelsPerEm > 8)) return 3;
    if (pixelsPerEm > 65536) return 16;
    return static_cast<int>(std::ceil(std::log2(pixelsPerEm)));
}

GlyphCache::GlyphCache(size_t budgetBytes) : m_store(std::make_unique<Store>(budgetBytes)) {}

GlyphCache::~GlyphCache() = default;

std::shared_ptr<const GlyphShape> GlyphCache::FindShape(FontId face, UINT glyph) {
    return m_store->Find<GlyphShape>({face, glyph, kCurvesEntry});
}

void GlyphCache::KeepShape(FontId face, UINT glyph, std::shared_ptr<const GlyphShape> shape) {
    m_store->Put<GlyphShape>({face, glyph, kCurvesEntry}, std::move(shape));
}

std::shared_ptr<const GlyphOutline> GlyphCache::Outline(FontId face, UINT glyph,
                                                        const GlyphShape& shape,
                                                        double pixelsPerEm) {
    const int fineness = FinenessOf(std::fabs(pixelsPerEm));
    const GlyphKey key{face, glyph, fineness};
    if (auto found = m_store->Find<GlyphOutline>(key)) {
        ++m_reused;
        return found;
    }
    auto outline = std::make_shared<GlyphOutline>();
    FlattenGlyph(shape, GlyphTransform{}, kGlyphFlatness / std::ldexp(1.0, fineness), nullptr,
                 kMaxGlyphPoints, &outline->contours);
    for (auto& c : outline->contours) c.shrink_to_fit();
    outline->contours.shrink_to_fit();
    outline->advance = shape.advance;
    m_store->Put<GlyphOutline>(key, outline);
    ++m_loaded;
    return outline;
}

size_t GlyphCache::Bytes() const {
    return m_store->Bytes();
}

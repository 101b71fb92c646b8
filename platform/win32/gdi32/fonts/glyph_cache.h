// The glyphs a font cache keeps: curves per face and glyph, outlines per
// face, glyph and fineness, together within a budget of bytes, the least
// recently used going first. Both builds' font caches keep their glyphs
// here; only where the curves come from differs (FreeType, GDI).
#pragma once

#include <cstddef>
#include <memory>

#include "win32/gdi32/fonts.h"

class GlyphCache {
public:
    explicit GlyphCache(size_t budgetBytes);
    ~GlyphCache();
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // The curves of a face's glyph when kept; null otherwise. face is the
    // font whose curves serve every font of the same face and synthesis.
    std::shared_ptr<const GlyphShape> FindShape(FontId face, UINT glyph);
    void KeepShape(FontId face, UINT glyph, std::shared_ptr<const GlyphShape> shape);
    // The glyph's outline for pixelsPerEm, flattened from shape once per
    // fineness and kept.
    std::shared_ptr<const GlyphOutline> Outline(FontId face, UINT glyph, const GlyphShape& shape,
                                                double pixelsPerEm);

    size_t OutlinesLoaded() const { return m_loaded; }
    size_t OutlinesReused() const { return m_reused; }
    size_t Bytes() const;

private:
    class Store;
    std::unique_ptr<Store> m_store;
    size_t m_loaded = 0;
    size_t m_reused = 0;
};

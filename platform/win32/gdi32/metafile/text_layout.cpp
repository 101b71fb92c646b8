#include "win32/gdi32/metafile/text_layout.h"

#include <cmath>
#include <cstring>

namespace {

// A cell of 16 logical units: what a height of 0 gives.
constexpr double kDefaultCellHeight = 16;

}  // namespace

TextSizes SizesOf(const LOGFONTW& logFont, const FontMetrics& metrics) {
    TextSizes s;
    const double cell = metrics.CellHeight() > 0 ? metrics.CellHeight() : 1;
    if (logFont.lfHeight < 0)
        s.emY = -static_cast<double>(logFont.lfHeight);
    else if (logFont.lfHeight > 0)
        s.emY = logFont.lfHeight / cell;
    else
        s.emY = kDefaultCellHeight / cell;
    s.emX = s.emY;
    if (logFont.lfWidth != 0 && metrics.averageWidth > 0)
        s.emX = std::fabs(static_cast<double>(logFont.lfWidth)) / metrics.averageWidth;
    return s;
}

LONG Spacing::At(size_t index) const {
    LONG v;
    std::memcpy(&v, values.data() + index * sizeof v, sizeof v);
    return v;
}

TextRun LayOutText(FontCache& fonts, const FontInfo& font, const TextSizes& sizes,
                   std::span<const TextCharacter> characters, const Spacing& spacing,
                   bool glyphIndexes) {
    TextRun run;
    run.glyphs.reserve(characters.size());
    const size_t stride = spacing.pairs ? 2 : 1;
    const size_t spacingCount = spacing.values.size() / sizeof(LONG) / stride;
    double x = 0, y = 0;
    for (const TextCharacter& c : characters) {
        PlacedGlyph placed;
        if (glyphIndexes) {
            const UINT index = static_cast<UINT>(c.character);
            placed.glyph = {font.id, fonts.HasGlyphIndex(font.id, index) ? index : 0};
        } else {
            placed.glyph = fonts.MapCharacter(font.id, c.character);
        }
        placed.x = x;
        placed.y = y;
        run.glyphs.push_back(placed);
        if (spacingCount > 0) {
            // A character of several code units advances by all their values.
            for (DWORD u = c.firstUnit; u < c.firstUnit + c.unitCount && u < spacingCount; ++u) {
                x += spacing.At(u * stride);
                if (spacing.pairs) y += spacing.At(u * stride + 1);
            }
        } else {
            const auto outline = fonts.Outline(placed.glyph, sizes.pixelsPerEm);
            if (outline) x += outline->advance * sizes.emX;
        }
    }
    run.advanceX = x;
    run.advanceY = y;
    return run;
}

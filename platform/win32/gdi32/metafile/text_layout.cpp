#include "win32/gdi32/metafile/text_layout.h"

#include <algorithm>
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
                   const ShapingOptions& options) {
    std::vector<char32_t> text(characters.size());
    for (size_t i = 0; i < characters.size(); ++i) text[i] = characters[i].character;
    const std::vector<ShapedGlyph> shaped = ShapeText(fonts, font, text, options);
    TextRun run;
    run.glyphs.reserve(shaped.size());
    const auto place = [&](const ShapedGlyph& g, double x, double y) {
        run.glyphs.push_back({g.glyph, x + g.offsetX * sizes.emX, y - g.offsetY * sizes.emY});
    };
    const size_t stride = spacing.pairs ? 2 : 1;
    const size_t spacingCount = spacing.values.size() / sizeof(LONG) / stride;
    if (spacingCount == 0) {
        double x = 0;
        for (const ShapedGlyph& g : shaped) {
            place(g, x, 0);
            x += g.advance * sizes.emX;
        }
        run.advanceX = x;
        return run;
    }
    // Each cluster advances by the spacing values of its characters (a
    // character of several code units by all of theirs); a cluster's
    // characters run from its first to the next cluster's first.
    std::vector<bool> starts(characters.size() + 1, false);
    for (const ShapedGlyph& g : shaped) starts[std::min(g.cluster, characters.size())] = true;
    std::vector<double> clusterX(characters.size() + 1, 0), clusterY(characters.size() + 1, 0);
    size_t cluster = 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (starts[i]) cluster = i;
        const TextCharacter& c = characters[i];
        for (DWORD u = c.firstUnit; u < c.firstUnit + c.unitCount && u < spacingCount; ++u) {
            clusterX[cluster] += spacing.At(u * stride);
            if (spacing.pairs) clusterY[cluster] += spacing.At(u * stride + 1);
        }
    }
    // A cluster's glyphs keep their places within it, from its left edge:
    // GDI draws every glyph at its pen position and moves the pen by the
    // cluster's value, in right-to-left text as in left-to-right.
    double x = 0, y = 0;
    for (size_t first = 0; first < shaped.size();) {
        size_t end = first;
        double gx = x;
        for (; end < shaped.size() && shaped[end].cluster == shaped[first].cluster; ++end) {
            place(shaped[end], gx, y);
            gx += shaped[end].advance * sizes.emX;
        }
        const size_t c = std::min(shaped[first].cluster, characters.size());
        const double width = clusterX[c];
        x += width;
        y += clusterY[c];
        // A cluster split in two (never by the shaper itself) advances once.
        clusterX[c] = clusterY[c] = 0;
        first = end;
    }
    run.advanceX = x;
    run.advanceY = y;
    return run;
}

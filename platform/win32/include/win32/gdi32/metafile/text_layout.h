// Laying out the characters of one ExtTextOut: the glyphs the shaped line
// draws and where each lies along the baseline, from the record's spacing
// values (one per character, in logical order, each setting the advance of
// the cluster it belongs to) or else from the glyphs' own advances.
#pragma once

#include <span>
#include <vector>

#include <windows.h>

#include "win32/gdi32/fonts.h"
#include "win32/gdi32/text_shaping.h"
#include "win32/kernel32/text_decoding.h"

struct PlacedGlyph {
    GlyphRef glyph;
    double x = 0;  // along the baseline, logical units from the start
    double y = 0;  // across it, downwards, logical units (ETO_PDY spacing, mark offsets)
};

struct TextRun {
    std::vector<PlacedGlyph> glyphs;
    double advanceX = 0;  // where the pen ends: the run's width
    double advanceY = 0;
};

struct TextSizes {
    double emX = 0;          // logical units to the em along the baseline
    double emY = 0;          // and across it
    double pixelsPerEm = 0;  // device pixels to the em, for the outlines' fineness
};

// The em of a logical font in logical units, as GDI reads lfHeight: a
// negative height is the character height (the em), a positive one the
// cell height (ascent + descent); 0 asks for the default of 16 to the cell.
// lfWidth, when set, is the average character width.
TextSizes SizesOf(const LOGFONTW& logFont, const FontMetrics& metrics);

// Spacing values: nChars LONGs (or pairs with ETO_PDY), one per code unit.
struct Spacing {
    std::span<const BYTE> values;  // empty: the glyphs' advances
    bool pairs = false;
    LONG At(size_t index) const;  // the index-th LONG
};

// Characters drawn through the font (with fallback faces for what it
// lacks), shaped and ordered as the options say; the glyphs come left to
// right.
TextRun LayOutText(FontCache& fonts, const FontInfo& font, const TextSizes& sizes,
                   std::span<const TextCharacter> characters, const Spacing& spacing,
                   const ShapingOptions& options);

// Text as ExtTextOutW draws it: a line of characters in logical order
// turned into glyphs in visual order, ordered by the Unicode bidirectional
// algorithm and shaped per script run (Arabic joining, Indic conjuncts and
// vowel signs, marks placed on their bases, right-to-left runs reversed).
// A face that lacks a run's characters gives the whole run to a fallback
// face that has them, so that shaping sees whole words.
//
// This is the one place that knows how text is shaped (FriBidi and
// HarfBuzz here; a Windows build puts the system's own shaping behind the
// same function).
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "win32/gdi32/fonts.h"

struct ShapedGlyph {
    GlyphRef glyph;
    double advance = 0;  // em units along the baseline
    double offsetX = 0;  // em units from the glyph's pen position, right
    double offsetY = 0;  // and up
    // The first (logical) character of the cluster the glyph draws: a
    // cluster's characters run from it to the next cluster's first.
    size_t cluster = 0;
};

struct ShapingOptions {
    bool rightToLeft = false;   // ETO_RTLREADING / TA_RTLREADING: the paragraph's direction
    bool glyphIndexes = false;  // ETO_GLYPH_INDEX: the characters are glyphs of the font
    // The record's spacing values set the advances: the face's kerning,
    // which they already hold, does not apply again.
    bool advancesGiven = false;
};

// The glyphs of the text in the font, left to right on the baseline. Glyph
// indexes are drawn as given, in the order given, with the face's advances.
WIN32_API std::vector<ShapedGlyph> ShapeText(FontCache& fonts, const FontInfo& font,
                                             std::span<const char32_t> text,
                                             const ShapingOptions& options);

// What shaping does alike on every platform, whoever shapes: text that
// needs no shaping drawn character by character, glyph indexes drawn as
// given, and the faces of a run of one script (the font's own, or one
// fallback face for the whole run, cut only where no one face has it).
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "win32/gdi32/text_shaping.h"

// Whether the line is to be shaped; otherwise UnshapedGlyphs draws it. A
// left-to-right line of characters that need no shaping (Latin, Greek,
// Cyrillic, CJK, kana, Hangul syllables, symbols) is drawn character by
// character, as GDI draws such text, and so is a line too long for the
// shapers' int counts (no drawing has one; a damaged record may).
bool NeedsShaping(std::span<const char32_t> text, bool rightToLeft);

// Glyph indexes as given, or the characters one by one, left to right in
// logical order, each with its face's advance.
std::vector<ShapedGlyph> UnshapedGlyphs(FontCache& fonts, const FontInfo& font,
                                        std::span<const char32_t> text, bool glyphIndexes);

// Characters start to end of a run the shaper cannot shape, one by one in
// the font (or its fallback faces), right to left for a right-to-left run.
void PlaceCharacters(FontCache& fonts, FontId font, std::span<const char32_t> text, size_t start,
                     size_t end, bool rightToLeft, std::vector<ShapedGlyph>* out);

// Characters that draw nothing of their own (joiners, direction marks,
// variation selectors): any face does for them.
bool IsIgnorable(char32_t c);

// Characters start to end (logical order) drawn with one face.
struct FaceRun {
    size_t start = 0;
    size_t end = 0;
    FontId font = -1;
};

// The faces of a run of one script: the font's own when it has every
// character, else the fallback face of the first character it lacks when
// that face has them all, so that words are shaped in one face. Only a run
// no one face has is cut, each character going to a face that has it,
// except that a character for which joinsPrevious is true (a mark of its
// cluster) and an ignorable one stay with the character before them.
void AddFaceRuns(FontCache& fonts, const FontInfo& font, std::span<const char32_t> text,
                 size_t start, size_t end, const std::function<bool(size_t)>& joinsPrevious,
                 std::vector<FaceRun>* out);

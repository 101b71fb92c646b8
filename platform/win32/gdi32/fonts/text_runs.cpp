#include "gdi32/fonts/text_runs.h"

#include <algorithm>

namespace {

// Lines longer than this are drawn character by character: FriBidi,
// HarfBuzz and Uniscribe count in int.
constexpr size_t kLongestShapedLine = size_t{1} << 24;

// Characters that read left to right and need no shaping: Latin, Greek,
// Cyrillic, CJK, kana, Hangul syllables, symbols, and the private use area
// of symbol fonts.
bool IsSimple(char32_t c) {
    if (c < 0x0300) return true;
    if (c < 0x0370) return false;  // combining diacritical marks
    if (c < 0x0483) return true;   // Greek, Cyrillic
    if (c < 0x048A) return false;  // Cyrillic combining marks
    if (c < 0x0530) return true;   // Cyrillic
    if (c < 0x1E00) return false;  // Armenian ... the Indic and Southeast Asian scripts
    if (c < 0x200B) return true;   // Latin and Greek extended, spaces
    if (c < 0x2010) return false;  // zero-width characters and direction marks
    if (c < 0x2028) return true;   // dashes, quotation marks, bullets
    if (c < 0x202F) return false;  // separators, embeddings and overrides
    if (c < 0x2060) return true;
    if (c < 0x2070) return false;  // invisible operators, isolates
    if (c < 0x20D0) return true;   // super- and subscripts, currency signs
    if (c < 0x2100) return false;  // combining marks for symbols
    if (c < 0x2C00) return true;   // letterlike symbols, arrows, mathematics, box drawing
    if (c < 0x2E80) return false;
    if (c < 0x302A) return true;   // CJK radicals and punctuation
    if (c < 0x3030) return false;  // ideographic tone marks
    if (c < 0x3099) return true;   // hiragana
    if (c < 0x309B) return false;  // combining voicing marks
    if (c < 0xA4D0) return true;   // katakana, bopomofo, CJK ideographs, Yi
    if (c < 0xAC00) return false;
    if (c < 0xD7A4) return true;  // Hangul syllables
    if (c < 0xE000) return false;
    if (c < 0xFB00) return true;          // private use, CJK compatibility ideographs
    if (c < 0xFE30) return false;         // presentation forms, variation selectors
    if (c < 0xFE70) return true;          // CJK compatibility and small forms
    if (c < 0xFF00) return false;         // Arabic presentation forms, byte order mark
    if (c < 0xFFF0) return true;          // half-width and full-width forms
    if (c < 0x10000) return c >= 0xFFFC;  // the replacement characters
    return c >= 0x20000 && c < 0x40000;   // CJK extensions
}

double AdvanceOf(FontCache& fonts, GlyphRef glyph) {
    const auto shape = fonts.Shape(glyph);
    return shape ? shape->advance : 0;
}

}  // namespace

bool NeedsShaping(std::span<const char32_t> text, bool rightToLeft) {
    if (text.size() > kLongestShapedLine) return false;
    return rightToLeft || !std::all_of(text.begin(), text.end(), IsSimple);
}

std::vector<ShapedGlyph> UnshapedGlyphs(FontCache& fonts, const FontInfo& font,
                                        std::span<const char32_t> text, bool glyphIndexes) {
    std::vector<ShapedGlyph> out;
    out.reserve(text.size());
    if (!glyphIndexes) {
        PlaceCharacters(fonts, font.id, text, 0, text.size(), false, &out);
        return out;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const UINT index = static_cast<UINT>(text[i]);
        const GlyphRef g{font.id, fonts.HasGlyphIndex(font.id, index) ? index : 0};
        out.push_back({g, AdvanceOf(fonts, g), 0, 0, i});
    }
    return out;
}

void PlaceCharacters(FontCache& fonts, FontId font, std::span<const char32_t> text, size_t start,
                     size_t end, bool rightToLeft, std::vector<ShapedGlyph>* out) {
    for (size_t k = start; k < end; ++k) {
        const size_t i = rightToLeft ? end - 1 - (k - start) : k;
        const GlyphRef g = fonts.MapCharacter(font, text[i]);
        out->push_back({g, AdvanceOf(fonts, g), 0, 0, i});
    }
}

bool IsIgnorable(char32_t c) {
    return c == 0x00AD || c == 0x034F || c == 0x061C || (c >= 0x180B && c <= 0x180F) ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF ||
           (c >= 0xE0100 && c <= 0xE01EF);
}

void AddFaceRuns(FontCache& fonts, const FontInfo& font, std::span<const char32_t> text,
                 size_t start, size_t end, const std::function<bool(size_t)>& joinsPrevious,
                 std::vector<FaceRun>* out) {
    const auto has = [&](FontId f, char32_t c) {
        return IsIgnorable(c) || fonts.FaceGlyph(f, c) != 0;
    };
    const auto hasAll = [&](FontId f) {
        for (size_t i = start; i < end; ++i)
            if (!has(f, text[i])) return false;
        return true;
    };
    size_t lacking = start;
    while (lacking < end && has(font.id, text[lacking])) ++lacking;
    if (lacking == end) {
        out->push_back({start, end, font.id});
        return;
    }
    const FontId fallback = fonts.MapCharacter(font.id, text[lacking]).font;
    if (fallback != font.id && hasAll(fallback)) {
        out->push_back({start, end, fallback});
        return;
    }
    const size_t first = out->size();
    for (size_t i = start; i < end; ++i) {
        const char32_t c = text[i];
        FontId f = font.id;
        if (i > start && (joinsPrevious(i) || IsIgnorable(c)))
            f = out->back().font;
        else if (!has(font.id, c))
            f = fonts.MapCharacter(font.id, c).font;
        if (out->size() > first && out->back().font == f)
            out->back().end = i + 1;
        else
            out->push_back({i, i + 1, f});
    }
}

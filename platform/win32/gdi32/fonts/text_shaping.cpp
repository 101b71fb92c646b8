// Shaping with FriBidi and HarfBuzz. A line is cut into runs of one
// embedding level, one script and one face; each run is shaped on its own,
// with the text around it as context, and the runs are laid left to right
// in the order the bidirectional algorithm gives them.
#include "win32/gdi32/text_shaping.h"

#include <hb.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "gdi32/fonts/font_face.h"
#include "gdi32/fonts/text_bidi.h"

namespace {

static_assert(sizeof(char32_t) == sizeof(hb_codepoint_t));

// Lines longer than this (no drawing has them; a damaged record may) are
// drawn character by character: FriBidi and HarfBuzz count in int.
constexpr size_t kLongestShapedLine = size_t{1} << 24;

// Characters that read left to right and need no shaping: Latin, Greek,
// Cyrillic, CJK, kana, Hangul syllables, symbols, and the private use area
// of symbol fonts. A line of nothing else, in a left-to-right paragraph,
// is drawn character by character, as GDI draws such text.
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

// Characters that draw nothing of their own (joiners, direction marks,
// variation selectors): any face does for them.
bool IsIgnorable(char32_t c) {
    return c == 0x00AD || c == 0x034F || c == 0x061C || (c >= 0x180B && c <= 0x180F) ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF ||
           (c >= 0xE0100 && c <= 0xE01EF);
}

bool IsMark(char32_t c) {
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
        case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK: return true;
        default: return false;
    }
}

// Scripts that GDI draws without kerning or ligatures.
bool IsPlainScript(hb_script_t script) {
    switch (script) {
        case HB_SCRIPT_COMMON:
        case HB_SCRIPT_INHERITED:
        case HB_SCRIPT_LATIN:
        case HB_SCRIPT_GREEK:
        case HB_SCRIPT_CYRILLIC:
        case HB_SCRIPT_ARMENIAN:
        case HB_SCRIPT_GEORGIAN:
        case HB_SCRIPT_HAN:
        case HB_SCRIPT_HIRAGANA:
        case HB_SCRIPT_KATAKANA:
        case HB_SCRIPT_BOPOMOFO: return true;
        default: return false;
    }
}

// The HarfBuzz font of every face, opened once and kept for the process,
// as the font cache keeps its faces.
class HarfBuzzFonts {
public:
    // Null when HarfBuzz cannot read the face.
    hb_font_t* Of(const FontInfo& info) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto key = std::make_pair(info.file, info.faceIndex);
        if (auto it = m_fonts.find(key); it != m_fonts.end()) return it->second;
        hb_font_t* font = nullptr;
        if (hb_blob_t* blob = hb_blob_create_from_file_or_fail(info.file.c_str())) {
            hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(info.faceIndex));
            hb_blob_destroy(blob);
            if (hb_face_get_glyph_count(face) > 0) {
                font = hb_font_create(face);  // scaled to the face's units per em
                hb_font_make_immutable(font);
            }
            hb_face_destroy(face);
        }
        m_fonts.emplace(key, font);
        return font;
    }

private:
    std::mutex m_mutex;
    std::map<std::pair<std::string, int>, hb_font_t*> m_fonts;
};

HarfBuzzFonts& SharedHarfBuzzFonts() {
    static HarfBuzzFonts* fonts = new HarfBuzzFonts;  // outlives every player
    return *fonts;
}

// A run shaped as one: characters start to end of one level, one script
// and one face.
struct ShapingRun {
    size_t start = 0;
    size_t end = 0;
    int level = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
    FontId font = -1;
};

// The script runs of a level run: characters common to all scripts (spaces,
// digits, punctuation) and combining marks belong to the run they stand in.
std::vector<ShapingRun> ScriptRunsOf(std::span<const char32_t> text, const BidiRun& level) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<ShapingRun> runs;
    for (size_t i = level.start; i < level.end; ++i) {
        const hb_script_t s = hb_unicode_script(unicode, text[i]);
        const bool common =
            s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN;
        if (!runs.empty() && (common || s == runs.back().script)) {
            runs.back().end = i + 1;
        } else if (!runs.empty() && runs.back().script == HB_SCRIPT_COMMON) {
            runs.back().end = i + 1;  // what led the run takes the first script that follows
            runs.back().script = s;
        } else {
            runs.push_back({i, i + 1, level.level, common ? HB_SCRIPT_COMMON : s, -1});
        }
    }
    return runs;
}

// The faces of a script run: the font's own when it has every character,
// else the fallback face of the first character it lacks when that face has
// them all, so that words are shaped in one face. Only a run no one face
// has is cut, each character going to a face that has it, marks and
// joiners staying with the character before them.
void AddFaceRuns(FontCache& fonts, const FontInfo& font, std::span<const char32_t> text,
                 ShapingRun run, std::vector<ShapingRun>* out) {
    const auto has = [&](FontId f, char32_t c) {
        return IsIgnorable(c) || fonts.FaceGlyph(f, c) != 0;
    };
    const auto hasAll = [&](FontId f) {
        for (size_t i = run.start; i < run.end; ++i)
            if (!has(f, text[i])) return false;
        return true;
    };
    size_t lacking = run.start;
    while (lacking < run.end && has(font.id, text[lacking])) ++lacking;
    if (lacking == run.end) {
        run.font = font.id;
        out->push_back(run);
        return;
    }
    const FontId fallback = fonts.MapCharacter(font.id, text[lacking]).font;
    if (fallback != font.id && hasAll(fallback)) {
        run.font = fallback;
        out->push_back(run);
        return;
    }
    const size_t first = out->size();
    for (size_t i = run.start; i < run.end; ++i) {
        const char32_t c = text[i];
        FontId f = font.id;
        if (i > run.start && (IsMark(c) || IsIgnorable(c)))
            f = out->back().font;
        else if (!has(font.id, c))
            f = fonts.MapCharacter(font.id, c).font;
        if (out->size() > first && out->back().font == f) {
            out->back().end = i + 1;
        } else {
            ShapingRun piece = run;
            piece.start = i;
            piece.end = i + 1;
            piece.font = f;
            out->push_back(piece);
        }
    }
}

double AdvanceOf(FontCache& fonts, GlyphRef glyph) {
    const auto shape = fonts.Shape(glyph);
    return shape ? shape->advance : 0;
}

// A run whose face HarfBuzz cannot read: its characters one by one.
void PlaceCharacters(FontCache& fonts, FontId font, std::span<const char32_t> text,
                     const ShapingRun& run, std::vector<ShapedGlyph>* out) {
    const bool rtl = run.level % 2;
    for (size_t k = run.start; k < run.end; ++k) {
        const size_t i = rtl ? run.end - 1 - (k - run.start) : k;
        const GlyphRef g = fonts.MapCharacter(font, text[i]);
        out->push_back({g, AdvanceOf(fonts, g), 0, 0, i});
    }
}

void ShapeRun(FontCache& fonts, std::span<const char32_t> text, const ShapingRun& run, bool kerning,
              hb_buffer_t* buffer, std::vector<ShapedGlyph>* out) {
    const FontInfo* info = fonts.Info(run.font);
    hb_font_t* font = info ? SharedHarfBuzzFonts().Of(*info) : nullptr;
    if (!font) return PlaceCharacters(fonts, run.font, text, run, out);
    const bool rtl = run.level % 2;
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_codepoints(buffer, reinterpret_cast<const hb_codepoint_t*>(text.data()),
                             static_cast<int>(text.size()), static_cast<unsigned>(run.start),
                             static_cast<int>(run.end - run.start));
    hb_buffer_set_direction(buffer, rtl ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, run.script);
    // Kerning first, so that the plain scripts' list can end early.
    static const hb_feature_t kOff[] = {{HB_TAG('k', 'e', 'r', 'n'), 0, 0, ~0u},
                                        {HB_TAG('l', 'i', 'g', 'a'), 0, 0, ~0u},
                                        {HB_TAG('c', 'l', 'i', 'g'), 0, 0, ~0u}};
    const unsigned off = IsPlainScript(run.script) ? std::size(kOff) : kerning ? 0 : 1;
    hb_shape(font, buffer, kOff, off);
    unsigned count = 0;
    const hb_glyph_info_t* glyphs = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, nullptr);
    const double upem = hb_face_get_upem(hb_font_get_face(font));
    // Synthetic bold widens every glyph that advances, as the face's
    // emboldened outlines do.
    const double bold =
        info->syntheticBold ? 2 * std::lround(upem * kSyntheticBoldStrength) / upem : 0;
    for (unsigned i = 0; i < count; ++i) {
        const hb_glyph_position_t& p = positions[i];
        const double advance = p.x_advance / upem;
        out->push_back({GlyphRef{run.font, glyphs[i].codepoint}, advance != 0 ? advance + bold : 0,
                        p.x_offset / upem, p.y_offset / upem, glyphs[i].cluster});
    }
}

}  // namespace

std::vector<ShapedGlyph> ShapeText(FontCache& fonts, const FontInfo& font,
                                   std::span<const char32_t> text, const ShapingOptions& options) {
    std::vector<ShapedGlyph> out;
    out.reserve(text.size());
    if (options.glyphIndexes) {
        for (size_t i = 0; i < text.size(); ++i) {
            const UINT index = static_cast<UINT>(text[i]);
            const GlyphRef g{font.id, fonts.HasGlyphIndex(font.id, index) ? index : 0};
            out.push_back({g, AdvanceOf(fonts, g), 0, 0, i});
        }
        return out;
    }
    if (text.size() > kLongestShapedLine ||
        (!options.rightToLeft && std::all_of(text.begin(), text.end(), IsSimple))) {
        for (size_t i = 0; i < text.size(); ++i) {
            const GlyphRef g = fonts.MapCharacter(font.id, text[i]);
            out.push_back({g, AdvanceOf(fonts, g), 0, 0, i});
        }
        return out;
    }
    const std::vector<BidiRun> levels = BidiRunsOf(text, options.rightToLeft);
    hb_buffer_t* buffer = hb_buffer_create();
    std::vector<ShapingRun> runs;
    for (size_t index : VisualOrderOf(levels)) {
        runs.clear();
        for (const ShapingRun& script : ScriptRunsOf(text, levels[index]))
            AddFaceRuns(fonts, font, text, script, &runs);
        // The runs of a right-to-left level stand right to left.
        if (levels[index].level % 2) std::reverse(runs.begin(), runs.end());
        for (const ShapingRun& run : runs)
            ShapeRun(fonts, text, run, !options.advancesGiven, buffer, &out);
    }
    hb_buffer_destroy(buffer);
    return out;
}

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
#include "gdi32/fonts/text_runs.h"

namespace {

static_assert(sizeof(char32_t) == sizeof(hb_codepoint_t));

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

void ShapeRun(FontCache& fonts, std::span<const char32_t> text, const ShapingRun& run, bool kerning,
              hb_buffer_t* buffer, std::vector<ShapedGlyph>* out) {
    const FontInfo* info = fonts.Info(run.font);
    hb_font_t* font = info ? SharedHarfBuzzFonts().Of(*info) : nullptr;
    if (!font)
        return PlaceCharacters(fonts, run.font, text, run.start, run.end, run.level % 2, out);
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
    if (options.glyphIndexes || !NeedsShaping(text, options.rightToLeft))
        return UnshapedGlyphs(fonts, font, text, options.glyphIndexes);
    std::vector<ShapedGlyph> out;
    out.reserve(text.size());
    const std::vector<BidiRun> levels = BidiRunsOf(text, options.rightToLeft);
    const auto joinsPrevious = [&](size_t i) { return IsMark(text[i]); };
    hb_buffer_t* buffer = hb_buffer_create();
    std::vector<ShapingRun> runs;
    std::vector<FaceRun> faces;
    for (size_t index : VisualOrderOf(levels)) {
        runs.clear();
        for (const ShapingRun& script : ScriptRunsOf(text, levels[index])) {
            faces.clear();
            AddFaceRuns(fonts, font, text, script.start, script.end, joinsPrevious, &faces);
            for (const FaceRun& face : faces)
                runs.push_back({face.start, face.end, script.level, script.script, face.font});
        }
        // The runs of a right-to-left level stand right to left.
        if (levels[index].level % 2) std::reverse(runs.begin(), runs.end());
        for (const ShapingRun& run : runs)
            ShapeRun(fonts, text, run, !options.advancesGiven, buffer, &out);
    }
    hb_buffer_destroy(buffer);
    return out;
}

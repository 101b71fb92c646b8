// Shaping on Windows, by the system's own complex-script support
// (Uniscribe): ScriptItemize cuts the line into items of one script and one
// embedding level in the paragraph's direction, ScriptLayout orders them
// left to right, and each item, cut into runs of one face as on Linux, is
// shaped by ScriptShape and placed by ScriptPlace on a DC with the face
// realised by the font cache.
#include "win32/gdi32/text_shaping.h"

#include <algorithm>
#include <limits>
#include <string>

#include "gdi32/fonts/text_runs.h"
#include "windows/font_cache_faces.h"

namespace {

constexpr size_t kNoCharacter = std::numeric_limits<size_t>::max();
// Uniscribe numbers a run's glyphs in WORDs: a longer run (no drawing has
// one) is drawn character by character.
constexpr int kLongestRunUnits = 0x7FFF;

// The line in UTF-16, with the character each unit belongs to and the
// first unit of each character (and of the end).
struct Utf16Line {
    std::wstring units;
    std::vector<size_t> characterOf;
    std::vector<int> unitOf;

    explicit Utf16Line(std::span<const char32_t> text) {
        units.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            unitOf.push_back(static_cast<int>(units.size()));
            const char32_t c = text[i];
            if (c >= 0x10000 && c < 0x110000) {
                units += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
                units += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
                characterOf.insert(characterOf.end(), 2, i);
            } else {
                units +=
                    static_cast<wchar_t>(c < 0xD800 || (c >= 0xE000 && c < 0x10000) ? c : 0xFFFD);
                characterOf.push_back(i);
            }
        }
        unitOf.push_back(static_cast<int>(units.size()));
        characterOf.push_back(text.size());
    }
};

// Units start to end of one script and one embedding level.
struct Item {
    int start = 0;
    int end = 0;
    SCRIPT_ANALYSIS analysis{};
};

// Whitespace and the characters that take the level of what surrounds
// them: at the end of the line they stand at the paragraph's level (rule
// L1 of the bidirectional algorithm).
bool IsLineEndBlank(wchar_t c) {
    return c == 0x09 || c == 0x0B || c == 0x0C || c == 0x1F || c == 0x20 || c == 0xAD ||
           c == 0x1680 || (c >= 0x2000 && c <= 0x200D) || c == 0x2028 ||
           (c >= 0x202A && c <= 0x202E) || c == 0x205F || (c >= 0x2060 && c <= 0x2069) ||
           c == 0x3000 || c == 0xFEFF;
}

void SetLevel(SCRIPT_ANALYSIS* a, int level) {
    a->s.uBidiLevel = static_cast<WORD>(level);
    a->fRTL = a->fLayoutRTL = level % 2;
}

// The items of the line in logical order, with the paragraph's direction
// given (not guessed from the text); none when Uniscribe cannot itemize it.
std::vector<Item> ItemsOf(const std::wstring& units, bool rightToLeft) {
    const int base = rightToLeft ? 1 : 0;
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = static_cast<WORD>(base);
    std::vector<SCRIPT_ITEM> items(std::min<size_t>(units.size(), 256) + 2);
    int count = 0;
    for (;;) {
        const HRESULT hr = ScriptItemize(units.data(), static_cast<int>(units.size()),
                                         static_cast<int>(items.size()) - 1, &control, &state,
                                         items.data(), &count);
        if (hr == E_OUTOFMEMORY && items.size() < units.size() + 2) {
            items.resize(std::min(items.size() * 2, units.size() + 2));
            continue;
        }
        if (FAILED(hr)) return {};
        break;
    }
    std::vector<Item> out;
    for (int i = 0; i < count; ++i)
        out.push_back({items[i].iCharPos, items[i + 1].iCharPos, items[i].a});
    int blank = static_cast<int>(units.size());
    while (blank > 0 && IsLineEndBlank(units[blank - 1])) --blank;
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i].end <= blank || out[i].analysis.s.uBidiLevel == base) continue;
        if (out[i].start < blank) {
            Item tail = out[i];
            tail.start = out[i].end = blank;
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(i) + 1, tail);
            continue;
        }
        SetLevel(&out[i].analysis, base);
    }
    return out;
}

struct Shaper {
    FontCache& fonts;
    std::span<const char32_t> text;
    const Utf16Line& line;
    HDC dc;
    std::vector<ShapedGlyph>* out;

    // One face run of an item: Uniscribe's glyphs come left to right, with
    // each character's cluster given by the glyph its cluster starts at
    // (its leftmost glyph in a left-to-right run, its rightmost in a
    // right-to-left one).
    void Shape(const FaceRun& run, const SCRIPT_ANALYSIS& analysis) {
        const bool rtl = analysis.fRTL;
        const int start = line.unitOf[run.start];
        const int count = line.unitOf[run.end] - start;
        const FontCacheFaces::Face face = FontCacheFaces::Of(fonts, run.font);
        if (!face.font || count > kLongestRunUnits)
            return PlaceCharacters(fonts, run.font, text, run.start, run.end, rtl, out);
        const HGDIOBJ old = SelectObject(dc, face.font);
        SCRIPT_ANALYSIS a = analysis;
        std::vector<WORD> glyphs(count * 3 / 2 + 16), clusters(count);
        std::vector<SCRIPT_VISATTR> attributes(glyphs.size());
        int n = 0;
        HRESULT hr;
        for (;;) {
            hr = ScriptShape(dc, face.scriptCache, line.units.data() + start, count,
                             static_cast<int>(glyphs.size()), &a, glyphs.data(), clusters.data(),
                             attributes.data(), &n);
            if (hr == E_OUTOFMEMORY && glyphs.size() < 0xFFFF) {
                glyphs.resize(std::min<size_t>(glyphs.size() * 2, 0xFFFF));
                attributes.resize(glyphs.size());
            } else if (hr == USP_E_SCRIPT_NOT_IN_FONT && a.eScript != SCRIPT_UNDEFINED) {
                a.eScript = SCRIPT_UNDEFINED;  // the face's own glyphs, unshaped
            } else {
                break;
            }
        }
        std::vector<int> advances(std::max(n, 1));
        std::vector<GOFFSET> offsets(advances.size());
        ABC abc;
        const bool placed =
            SUCCEEDED(hr) && !a.fNoGlyphIndex && n > 0 &&
            SUCCEEDED(ScriptPlace(dc, face.scriptCache, glyphs.data(), n, attributes.data(), &a,
                                  advances.data(), offsets.data(), &abc));
        SelectObject(dc, old);
        if (!placed) return PlaceCharacters(fonts, run.font, text, run.start, run.end, rtl, out);
        std::vector<size_t> cluster(n, kNoCharacter);
        for (int u = 0; u < count; ++u)
            if (clusters[u] < n)
                cluster[clusters[u]] = std::min(cluster[clusters[u]], line.characterOf[start + u]);
        for (int g = 0; g < n; ++g) {
            const int at = rtl ? n - 1 - g : g, before = rtl ? at + 1 : at - 1;
            if (cluster[at] == kNoCharacter)
                cluster[at] = before >= 0 && before < n ? cluster[before] : run.start;
        }
        const double em = kRealisedEmPixels;
        for (int g = 0; g < n; ++g)
            out->push_back({GlyphRef{run.font, glyphs[g]}, advances[g] / em, offsets[g].du / em,
                            offsets[g].dv / em, cluster[g]});
    }
};

}  // namespace

std::vector<ShapedGlyph> ShapeText(FontCache& fonts, const FontInfo& font,
                                   std::span<const char32_t> text, const ShapingOptions& options) {
    if (options.glyphIndexes || !NeedsShaping(text, options.rightToLeft))
        return UnshapedGlyphs(fonts, font, text, options.glyphIndexes);
    const Utf16Line line(text);
    const std::vector<Item> items = ItemsOf(line.units, options.rightToLeft);
    if (items.empty()) return UnshapedGlyphs(fonts, font, text, false);
    std::vector<BYTE> levels(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        levels[i] = static_cast<BYTE>(items[i].analysis.s.uBidiLevel);
    std::vector<int> visual(items.size());
    if (FAILED(ScriptLayout(static_cast<int>(items.size()), levels.data(), visual.data(), nullptr)))
        for (size_t i = 0; i < visual.size(); ++i) visual[i] = static_cast<int>(i);

    std::vector<ShapedGlyph> out;
    out.reserve(text.size());
    const std::unique_lock<std::mutex> lock = FontCacheFaces::LockShaping(fonts);
    Shaper shaper{fonts, text, line, FontCacheFaces::ShapingDc(fonts), &out};
    // A character that is no caret stop belongs to the cluster before it.
    std::vector<SCRIPT_LOGATTR> stops(line.units.size());
    const auto joinsPrevious = [&](size_t i) { return !stops[line.unitOf[i]].fCharStop; };
    std::vector<FaceRun> runs;
    for (int index : visual) {
        const Item& item = items[index];
        const int length = item.end - item.start;
        if (FAILED(ScriptBreak(line.units.data() + item.start, length, &item.analysis,
                               stops.data() + item.start)))
            for (int u = item.start; u < item.end; ++u) stops[u].fCharStop = 1;
        runs.clear();
        AddFaceRuns(fonts, font, text, line.characterOf[item.start], line.characterOf[item.end],
                    joinsPrevious, &runs);
        // The runs of a right-to-left item stand right to left.
        if (item.analysis.fRTL) std::reverse(runs.begin(), runs.end());
        for (const FaceRun& run : runs) shaper.Shape(run, item.analysis);
    }
    return out;
}

// Fonts for metafile text: a logical font (LOGFONTW) is matched to an
// installed face through fontconfig, and glyphs come out of FreeType as
// flattened outlines, cached per font and glyph.
//
//   FontCache& fonts = SharedFontCache();
//   const FontInfo* font = fonts.Resolve(logFont);
//   GlyphRef g = fonts.MapCharacter(font->id, U'A');
//   std::shared_ptr<const GlyphOutline> o = fonts.Outline(g, pixelsPerEm);
//
// Everything is in em units (1.0 is the em), x to the right and y up from
// the baseline origin, so one cached outline serves any transform; the
// pixels per em only choose how finely curves are flattened.
#pragma once

#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "win32/gdi32/gdi_text.h"
#include "win32/types.h"

struct GlyphPoint {
    double x = 0;
    double y = 0;
};

struct GlyphOutline {
    // Closed contours, filled under the non-zero winding rule.
    std::vector<std::vector<GlyphPoint>> contours;
    double advance = 0;  // horizontal advance
};

// The vertical metrics GDI reports for a face, in em units.
struct FontMetrics {
    double ascent = 0.8;   // tmAscent: above the baseline
    double descent = 0.2;  // tmDescent: below it
    double averageWidth = 0.5;
    double underlinePosition = -0.1;  // middle of the underline, up from the baseline
    double underlineThickness = 0.05;
    double strikeoutPosition = 0.25;  // middle of the strike-out line
    double strikeoutThickness = 0.05;
    double CellHeight() const { return ascent + descent; }
};

using FontId = int;

// A logical font as realised: the face that draws it and what is
// synthesised because the face lacks it.
struct FontInfo {
    FontId id = -1;
    std::string requestedFace;  // lfFaceName as UTF-8
    std::string family;         // the installed family that draws it
    std::string file;
    bool substituted = false;  // the requested face is not installed
    bool syntheticBold = false;
    bool syntheticItalic = false;
    FontMetrics metrics;
};

// A glyph of a realised font. The font of a character the requested face
// lacks is a fallback face that has it.
struct GlyphRef {
    FontId font = -1;
    UINT glyph = 0;  // 0: the face's "missing character" glyph
};

class WIN32_API FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font GDI would realise for the logical font, matched once and
    // kept: the same request gives the same FontInfo. Null only when no
    // font at all is installed.
    const FontInfo* Resolve(const LOGFONTW& logFont);
    // The glyph of a Unicode character: from the font itself, else from the
    // first fallback face that has it, else the font's glyph 0. Each answer
    // is kept; the faces are searched only for a character no fallback face
    // found so far has and some installed face has, so that a text of many
    // characters no face has costs no search at all, and the searches of a
    // font are at most as many as the installed faces.
    GlyphRef MapCharacter(FontId font, char32_t character);
    // The realised font of an id (of Resolve, or of a fallback face that
    // MapCharacter gave); null for an id that names none.
    const FontInfo* Info(FontId font) const;
    // Whether the font's face has a glyph of that index (for text given as
    // glyph indexes).
    bool HasGlyphIndex(FontId font, UINT glyph);
    // The glyph's outline with synthetic bold and italic applied, flattened
    // finely enough for pixelsPerEm device pixels to the em; null for a
    // font that does not exist. Cached per font, glyph and fineness.
    std::shared_ptr<const GlyphOutline> Outline(GlyphRef glyph, double pixelsPerEm);

    // Counts, for tests and benchmarks: outlines made from the face, and
    // outlines served from the cache.
    size_t OutlinesLoaded() const;
    size_t OutlinesReused() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    mutable std::mutex m_mutex;
};

// The process's font cache, shared by every player and device context.
WIN32_API FontCache& SharedFontCache();

// The face name of a logical font as UTF-8 (up to the first NUL or all
// 32 characters).
WIN32_API std::string FaceNameOf(const LOGFONTW& logFont);

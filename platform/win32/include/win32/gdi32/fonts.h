// Fonts for metafile text: a logical font (LOGFONTW) is matched to an
// installed face through fontconfig, and glyphs come out of FreeType as
// curves, cached per face and glyph, and as flattened outlines, cached per
// face, glyph and fineness.
//
//   FontCache& fonts = SharedFontCache();
//   const FontInfo* font = fonts.Resolve(logFont);
//   GlyphRef g = fonts.MapCharacter(font->id, U'A');
//   std::shared_ptr<const GlyphOutline> o = fonts.Outline(g, pixelsPerEm);
//
// Everything is in em units (1.0 is the em), x to the right and y up from
// the baseline origin, so one cached outline serves any transform; the
// pixels per em only choose how finely curves are flattened. The cache is
// bounded in bytes: what was used least recently goes first.
#pragma once

#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "win32/gdi32/gdi_text.h"
#include "win32/gdi32/glyph_shape.h"
#include "win32/types.h"

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
    int faceIndex = 0;         // of the face inside the file
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

// Bytes of glyph curves and outlines a cache keeps by default: the outlines
// of some thousands of CJK glyphs at text sizes.
constexpr size_t kDefaultGlyphCacheBytes = size_t{48} << 20;
// The finest outline the player takes from the cache: 2^11 pixels to the em
// (an em of 8.7 cm at 600 dpi). A larger glyph is flattened for the page
// it lands on, from its curves.
constexpr int kMaxCachedFineness = 11;
// Points of one flattened glyph at most, whatever its size.
constexpr size_t kMaxGlyphPoints = 1 << 16;

// The fineness class of a size: the power of two at or above the pixels
// per em, so that one outline serves sizes up to twice apart.
WIN32_API int FinenessOf(double pixelsPerEm);

class WIN32_API FontCache {
public:
    explicit FontCache(size_t glyphCacheBytes = kDefaultGlyphCacheBytes);
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
    // The glyph of the character in the font's own face, without fallback;
    // 0 when the face has none.
    UINT FaceGlyph(FontId font, char32_t character);
    // The realised font of an id (of Resolve, or of a fallback face that
    // MapCharacter gave); null for an id that names none.
    const FontInfo* Info(FontId font) const;
    // Whether the font's face has a glyph of that index (for text given as
    // glyph indexes).
    bool HasGlyphIndex(FontId font, UINT glyph);
    // The glyph's curves and advance with synthetic bold and italic
    // applied; glyph 0's for an index the face lacks; null for a font that
    // does not exist. Cached per face and glyph.
    std::shared_ptr<const GlyphShape> Shape(GlyphRef glyph);
    // The glyph's outline, flattened finely enough for pixelsPerEm device
    // pixels to the em; null for a font that does not exist. Cached per
    // face, glyph and fineness.
    std::shared_ptr<const GlyphOutline> Outline(GlyphRef glyph, double pixelsPerEm);

    // Counts, for tests and benchmarks: outlines made from the face, and
    // outlines served from the cache; bytes of curves and outlines held.
    size_t OutlinesLoaded() const;
    size_t OutlinesReused() const;
    size_t CachedBytes() const;

private:
    // The platform's shaping reads the fonts realised here (on Windows,
    // where they are GDI's).
    friend struct FontCacheFaces;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    mutable std::mutex m_mutex;
};

// The process's font cache, shared by every player and device context.
WIN32_API FontCache& SharedFontCache();

// The face name of a logical font as UTF-8 (up to the first NUL or all
// 32 characters).
WIN32_API std::string FaceNameOf(const LOGFONTW& logFont);

// One installed face opened with FreeType: its metrics in em units, its
// character map and its glyphs' curves.
#pragma once

#include <memory>
#include <string>

#include "win32/gdi32/fonts.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

class FontFace {
public:
    // Null when the file cannot be opened as a face with outlines.
    static std::unique_ptr<FontFace> Open(FT_Library library, const std::string& file, int index);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FontMetrics& Metrics() const { return m_metrics; }
    // The face's own weight (OpenType scale) and slant, as drawn without
    // synthesis: fontconfig reports those it would synthesise.
    int Weight() const { return m_weight; }
    bool Italic() const { return m_italic; }
    // The glyph of a Unicode character; 0 when the face has none.
    UINT GlyphOf(char32_t character) const;
    UINT GlyphCount() const;
    // The glyph's contours as curves in em units, emboldened and slanted
    // when asked. False for a glyph index the face does not have.
    bool LoadShape(UINT glyph, bool bold, bool italic, GlyphShape* out) const;

private:
    explicit FontFace(FT_Face face);
    FT_Face m_face;
    double m_unitsPerEm = 1000;
    bool m_symbolMap = false;  // a symbol font's characters sit at U+F000..U+F0FF
    FontMetrics m_metrics;
    int m_weight = 400;
    bool m_italic = false;
};

// Slant of synthetic italics: the tangent of about 12 degrees, as FreeType
// and GDI slant upright faces.
constexpr double kSyntheticItalicSlant = 0.2126;
// Synthetic bold grows every stroke by this share of the em on each side.
constexpr double kSyntheticBoldStrength = 1.0 / 48;

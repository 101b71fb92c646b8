#include "gdi32/fonts/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

struct ShapeReader {
    GlyphShape* out;
    double scale;  // font units -> em

    void Add(GlyphShape::Verb verb, std::initializer_list<const FT_Vector*> points) {
        out->verbs.push_back(verb);
        for (const FT_Vector* v : points) out->points.push_back({v->x * scale, v->y * scale});
    }
};

ShapeReader& Of(void* user) {
    return *static_cast<ShapeReader*>(user);
}

int MoveTo(const FT_Vector* to, void* user) {
    Of(user).Add(GlyphShape::kMove, {to});
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    Of(user).Add(GlyphShape::kLine, {to});
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Of(user).Add(GlyphShape::kConic, {control, to});
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Of(user).Add(GlyphShape::kCubic, {c1, c2, to});
    return 0;
}

}  // namespace

std::unique_ptr<FontFace> FontFace::Open(FT_Library library, const std::string& file, int index) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::unique_ptr<FontFace>(new FontFace(face));
}

FontFace::FontFace(FT_Face face) : m_face(face), m_unitsPerEm(face->units_per_EM) {
    if (FT_Select_Charmap(m_face, FT_ENCODING_UNICODE) != 0)
        m_symbolMap = FT_Select_Charmap(m_face, FT_ENCODING_MS_SYMBOL) == 0;
    const double em = m_unitsPerEm;
    // GDI's ascent and descent are the Windows ones of the OS/2 table, which
    // also decide the cell height of a positive lfHeight.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
    m_italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    m_weight = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 1 && os2->usWeightClass <= 1000)
        m_weight = os2->usWeightClass;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        m_metrics.ascent = os2->usWinAscent / em;
        m_metrics.descent = os2->usWinDescent / em;
        if (os2->xAvgCharWidth > 0) m_metrics.averageWidth = os2->xAvgCharWidth / em;
        if (os2->yStrikeoutSize > 0) {
            m_metrics.strikeoutThickness = os2->yStrikeoutSize / em;
            m_metrics.strikeoutPosition =
                (os2->yStrikeoutPosition + os2->yStrikeoutSize / 2.0) / em;
        }
    } else if (face->ascender - face->descender > 0) {
        m_metrics.ascent = face->ascender / em;
        m_metrics.descent = -face->descender / em;
    }
    if (face->underline_thickness > 0) {
        m_metrics.underlineThickness = face->underline_thickness / em;
        m_metrics.underlinePosition = face->underline_position / em;
    }
}

FontFace::~FontFace() {
    FT_Done_Face(m_face);
}

UINT FontFace::GlyphOf(char32_t character) const {
    if (m_symbolMap && character < 0x100) {
        const FT_UInt g = FT_Get_Char_Index(m_face, 0xF000 | character);
        if (g) return g;
    }
    return FT_Get_Char_Index(m_face, character);
}

UINT FontFace::GlyphCount() const {
    return static_cast<UINT>(m_face->num_glyphs);
}

bool FontFace::LoadShape(UINT glyph, bool bold, bool italic, GlyphShape* out) const {
    *out = GlyphShape{};
    if (glyph >= GlyphCount()) return false;
    constexpr FT_Int32 kFlags =
        FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING | FT_LOAD_IGNORE_TRANSFORM;
    if (FT_Load_Glyph(m_face, glyph, kFlags) != 0) return false;
    FT_GlyphSlot slot = m_face->glyph;
    const double scale = 1 / m_unitsPerEm;
    out->advance = slot->advance.x * scale;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return true;  // nothing to fill
    if (bold) {
        const FT_Pos strength =
            static_cast<FT_Pos>(std::lround(m_unitsPerEm * kSyntheticBoldStrength));
        FT_Outline_EmboldenXY(&slot->outline, 2 * strength, 2 * strength);
        out->advance += 2 * strength * scale;
    }
    ShapeReader reader{out, scale};
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    if (FT_Outline_Decompose(&slot->outline, &funcs, &reader) != 0) {
        out->verbs.clear();
        out->points.clear();
        return true;
    }
    // The slant is a shear: applied to the control points, it slants the
    // curves exactly.
    if (italic)
        for (GlyphPoint& p : out->points) p.x += p.y * kSyntheticItalicSlant;
    FinishGlyphShape(out);
    return true;
}

#include "gdi32/fonts/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace {

// Curves are cut into at most this many segments, whatever the tolerance.
constexpr int kMaxCurveSegments = 256;

struct Flattener {
    GlyphOutline* out;
    double scale;      // font units -> em
    double tolerance;  // em
    GlyphPoint last;

    GlyphPoint Em(const FT_Vector* v) const { return {v->x * scale, v->y * scale}; }
    void Add(GlyphPoint p) {
        std::vector<GlyphPoint>& c = out->contours.back();
        if (!c.empty() && c.back().x == p.x && c.back().y == p.y) return;
        c.push_back(p);
        last = p;
    }
    int Segments(double deviation) const {
        // A curve whose control polygon bends by d strays d / (4 n^2) from
        // n equal chords (quadratic; the cubic bound is taken the same way).
        if (!(deviation > tolerance)) return 1;
        const double n = std::ceil(std::sqrt(deviation / (4 * tolerance)));
        return static_cast<int>(std::min<double>(n, kMaxCurveSegments));
    }
};

Flattener& Of(void* user) {
    return *static_cast<Flattener*>(user);
}

int MoveTo(const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    f.out->contours.emplace_back();
    f.Add(f.Em(to));
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    Of(user).Add(Of(user).Em(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    const GlyphPoint p0 = f.last, p1 = f.Em(control), p2 = f.Em(to);
    const double dx = p0.x - 2 * p1.x + p2.x, dy = p0.y - 2 * p1.y + p2.y;
    const int n = f.Segments(std::hypot(dx, dy));
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        f.Add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
               u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Flattener& f = Of(user);
    const GlyphPoint p0 = f.last, p1 = f.Em(c1), p2 = f.Em(c2), p3 = f.Em(to);
    const double d1 = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
    const double d2 = std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y);
    const int n = f.Segments(1.5 * std::max(d1, d2));
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        f.Add(
            {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
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

bool FontFace::LoadOutline(UINT glyph, bool bold, bool italic, double tolerance,
                           GlyphOutline* out) const {
    *out = GlyphOutline{};
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
    Flattener flattener{out, scale, tolerance, {}};
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    if (FT_Outline_Decompose(&slot->outline, &funcs, &flattener) != 0) {
        out->contours.clear();
        return true;
    }
    // Contours are closed: drop a last point that repeats the first, and
    // contours too small to enclose anything.
    auto& contours = out->contours;
    for (auto& c : contours)
        if (c.size() > 1 && c.back().x == c.front().x && c.back().y == c.front().y) c.pop_back();
    contours.erase(std::remove_if(contours.begin(), contours.end(),
                                  [](const auto& c) { return c.size() < 3; }),
                   contours.end());
    if (italic)
        for (auto& c : contours)
            for (GlyphPoint& p : c) p.x += p.y * kSyntheticItalicSlant;
    return true;
}

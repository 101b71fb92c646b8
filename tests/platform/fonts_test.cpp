// Fonts of the Win32 subset: logical fonts matched to the installed faces
// (Liberation, Noto), glyph outlines in em units, the cache, and the
// characters of metafile text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include <windows.h>

#include "win32/gdi32/fonts.h"
#include "win32/kernel32/text_decoding.h"

namespace {

LOGFONTW Font(const std::u16string& face, LONG weight = FW_NORMAL, bool italic = false,
              BYTE charset = DEFAULT_CHARSET) {
    LOGFONTW lf{};
    lf.lfHeight = -100;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfCharSet = charset;
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE), lf.lfFaceName);
    return lf;
}

struct Box {
    double left = 1e9, bottom = 1e9, right = -1e9, top = -1e9;
};

Box BoxOf(const GlyphOutline& o) {
    Box b;
    for (const auto& c : o.contours)
        for (const GlyphPoint& p : c) {
            b.left = std::min(b.left, p.x);
            b.right = std::max(b.right, p.x);
            b.bottom = std::min(b.bottom, p.y);
            b.top = std::max(b.top, p.y);
        }
    return b;
}

double SegmentDistance(GlyphPoint p, GlyphPoint a, GlyphPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

size_t PointsOf(const GlyphOutline& o) {
    size_t n = 0;
    for (const auto& c : o.contours) n += c.size();
    return n;
}

TEST(Fonts, WindowsFacesFindTheirStandIns) {
    struct Case {
        std::u16string face;
        BYTE charset;
        const char* family;
        bool substituted;
    } cases[] = {
        {u"Arial", ANSI_CHARSET, "Liberation Sans", true},
        {u"Times New Roman", ANSI_CHARSET, "Liberation Serif", true},
        {u"Courier New", ANSI_CHARSET, "Liberation Mono", true},
        {u"SimSun", GB2312_CHARSET, "Noto Serif CJK SC", true},
        {u"\x5b8b\x4f53", GB2312_CHARSET, "Noto Serif CJK SC", true},  // 宋体
        {u"Microsoft YaHei", GB2312_CHARSET, "Noto Sans CJK SC", true},
        {u"MS Gothic", SHIFTJIS_CHARSET, "Noto Sans CJK JP", true},
        {u"MS Mincho", SHIFTJIS_CHARSET, "Noto Serif CJK JP", true},
        {u"@MS Mincho", SHIFTJIS_CHARSET, "Noto Serif CJK JP", true},
        {u"Liberation Sans", ANSI_CHARSET, "Liberation Sans", false},
        {u"liberation serif", ANSI_CHARSET, "Liberation Serif", false},
        {u"Noto Sans CJK JP", SHIFTJIS_CHARSET, "Noto Sans CJK JP", false},
    };
    FontCache fonts;
    for (const Case& c : cases) {
        const FontInfo* info = fonts.Resolve(Font(c.face, FW_NORMAL, false, c.charset));
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->family, c.family) << info->requestedFace;
        EXPECT_EQ(info->substituted, c.substituted) << info->requestedFace;
        EXPECT_FALSE(info->syntheticBold);
        EXPECT_FALSE(info->syntheticItalic);
    }
}

TEST(Fonts, AFaceThatIsNotInstalledIsSubstitutedAndSaysSo) {
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"No Such Face 1234"));
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->substituted);
    EXPECT_EQ(info->requestedFace, "No Such Face 1234");
    EXPECT_FALSE(info->family.empty());
    // The same request is realised once.
    EXPECT_EQ(fonts.Resolve(Font(u"No Such Face 1234")), info);
}

TEST(Fonts, BoldAndItalicComeFromTheFaceOrAreSynthesised) {
    FontCache fonts;
    const FontInfo* bold = fonts.Resolve(Font(u"Liberation Sans", FW_BOLD));
    ASSERT_NE(bold, nullptr);
    EXPECT_NE(bold->file.find("Bold"), std::string::npos) << bold->file;
    EXPECT_FALSE(bold->syntheticBold);
    const FontInfo* italic = fonts.Resolve(Font(u"Liberation Serif", FW_NORMAL, true));
    ASSERT_NE(italic, nullptr);
    EXPECT_NE(italic->file.find("Italic"), std::string::npos) << italic->file;
    EXPECT_FALSE(italic->syntheticItalic);
    // CJK faces have no italic: the upright face is slanted.
    const FontInfo* cjk = fonts.Resolve(Font(u"Noto Sans CJK JP", FW_NORMAL, true));
    ASSERT_NE(cjk, nullptr);
    EXPECT_TRUE(cjk->syntheticItalic);
}

TEST(Fonts, MetricsAreTheWindowsOnesOfTheFace) {
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"Liberation Sans"));
    ASSERT_NE(info, nullptr);
    // Liberation Sans keeps Arial's usWinAscent 1854 and usWinDescent 434,
    // and xAvgCharWidth 1187 on an em of 2048.
    EXPECT_DOUBLE_EQ(info->metrics.ascent, 1854.0 / 2048);
    EXPECT_DOUBLE_EQ(info->metrics.descent, 434.0 / 2048);
    EXPECT_DOUBLE_EQ(info->metrics.averageWidth, 1187.0 / 2048);
    EXPECT_LT(info->metrics.underlinePosition, 0);
    EXPECT_GT(info->metrics.strikeoutPosition, 0);
}

TEST(Fonts, GlyphOutlinesInEmUnits) {
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"Liberation Sans"));
    ASSERT_NE(info, nullptr);
    const GlyphRef l = fonts.MapCharacter(info->id, U'l');
    const GlyphRef o = fonts.MapCharacter(info->id, U'o');
    ASSERT_EQ(l.font, info->id);
    ASSERT_NE(l.glyph, 0u);
    const auto ol = fonts.Outline(l, 100);
    const auto oo = fonts.Outline(o, 100);
    ASSERT_TRUE(ol && oo);
    // "l" is one upright bar from the baseline to the ascender; "o" a ring.
    ASSERT_EQ(ol->contours.size(), 1u);
    EXPECT_EQ(ol->contours[0].size(), 4u);
    EXPECT_EQ(oo->contours.size(), 2u);
    const Box b = BoxOf(*ol);
    EXPECT_DOUBLE_EQ(b.bottom, 0);
    EXPECT_NEAR(b.top, 0.716, 0.01);
    EXPECT_DOUBLE_EQ(ol->advance, 455.0 / 2048);  // Arial's "l"
    EXPECT_DOUBLE_EQ(oo->advance, 1139.0 / 2048);
    // A space has an advance and nothing to fill.
    const auto space = fonts.Outline(fonts.MapCharacter(info->id, U' '), 100);
    ASSERT_TRUE(space);
    EXPECT_TRUE(space->contours.empty());
    EXPECT_DOUBLE_EQ(space->advance, 569.0 / 2048);
}

TEST(Fonts, CurvesAreFlattenedFinerForLargerSizes) {
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"Liberation Sans"));
    const GlyphRef o = fonts.MapCharacter(info->id, U'o');
    const size_t small = PointsOf(*fonts.Outline(o, 10));
    const size_t large = PointsOf(*fonts.Outline(o, 5000));
    EXPECT_GT(large, small * 3);
    // Flattened to a fifth of a pixel of the fineness class (8192 to the
    // em): every point of a far finer flattening (65536 to the em) lies
    // within that of the coarser outline's edges.
    const double tolerance = 0.2 / 8192 + 0.2 / 65536;
    const auto coarse = fonts.Outline(o, 5000);
    const auto fine = fonts.Outline(o, 60000);
    ASSERT_EQ(coarse->contours.size(), fine->contours.size());
    double worst = 0;
    for (size_t k = 0; k < fine->contours.size(); ++k) {
        const auto& edges = coarse->contours[k];
        for (const GlyphPoint& p : fine->contours[k]) {
            double nearest = 1e9;
            for (size_t i = 0; i < edges.size(); ++i)
                nearest =
                    std::min(nearest, SegmentDistance(p, edges[i], edges[(i + 1) % edges.size()]));
            worst = std::max(worst, nearest);
        }
    }
    EXPECT_LE(worst, tolerance);
    EXPECT_GT(worst, tolerance / 20);  // and not needlessly finer
}

TEST(Fonts, OutlinesAreCachedPerFontGlyphAndFineness) {
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"Liberation Sans"));
    const GlyphRef a = fonts.MapCharacter(info->id, U'a');
    const auto first = fonts.Outline(a, 100);
    EXPECT_EQ(fonts.OutlinesLoaded(), 1u);
    // 100 and 120 pixels to the em share the fineness of 128.
    EXPECT_EQ(fonts.Outline(a, 120), first);
    EXPECT_EQ(fonts.OutlinesReused(), 1u);
    EXPECT_NE(fonts.Outline(a, 300), first);
    EXPECT_EQ(fonts.OutlinesLoaded(), 2u);
}

TEST(Fonts, TheGlyphCacheIsBoundedInBytes) {
    // A stream of different ideographs at a large size through a cache of
    // 1 MiB: the least recently used outlines make room for new ones.
    constexpr size_t kBudget = 1 << 20;
    FontCache fonts(kBudget);
    const FontInfo* info =
        fonts.Resolve(Font(u"Noto Sans CJK SC", FW_NORMAL, false, GB2312_CHARSET));
    ASSERT_NE(info, nullptr);
    constexpr char32_t kFirst = 0x4E00, kCount = 2000;
    for (char32_t c = kFirst; c < kFirst + kCount; ++c) {
        ASSERT_TRUE(fonts.Outline(fonts.MapCharacter(info->id, c), 2000));
        ASSERT_LE(fonts.CachedBytes(), kBudget) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(fonts.OutlinesLoaded(), size_t{kCount});
    EXPECT_GT(fonts.CachedBytes(), kBudget / 2);  // full, not emptied
    fonts.Outline(fonts.MapCharacter(info->id, kFirst + kCount - 1), 2000);
    EXPECT_EQ(fonts.OutlinesReused(), 1u);
    fonts.Outline(fonts.MapCharacter(info->id, kFirst), 2000);
    EXPECT_EQ(fonts.OutlinesLoaded(), size_t{kCount} + 1);
}

// The polygons' winding number around p.
int Winding(const std::vector<std::vector<GlyphPoint>>& contours, GlyphPoint p) {
    int winding = 0;
    for (const auto& c : contours)
        for (size_t i = 0; i < c.size(); ++i) {
            const GlyphPoint a = c[i], b = c[(i + 1) % c.size()];
            const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y && b.y > p.y && side > 0) ++winding;
            if (a.y > p.y && b.y <= p.y && side < 0) --winding;
        }
    return winding;
}

// Whether p lies within a pixel of an edge.
bool NearAnEdge(const std::vector<std::vector<GlyphPoint>>& contours, GlyphPoint p) {
    for (const auto& c : contours)
        for (size_t i = 0; i < c.size(); ++i) {
            const GlyphPoint a = c[i], b = c[(i + 1) % c.size()];
            if (std::min(a.x, b.x) > p.x + 1 || std::max(a.x, b.x) < p.x - 1 ||
                std::min(a.y, b.y) > p.y + 1 || std::max(a.y, b.y) < p.y - 1)
                continue;
            if (SegmentDistance(p, a, b) < 1) return true;
        }
    return false;
}

TEST(Fonts, AGlyphFlattenedForAnAreaIsExactInsideItAndCheapBeyond) {
    // "O" at 400,000 pixels to the em, y down, the outer edge's leftmost
    // point at the middle of an area of 8000 x 8000 pixels.
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"Liberation Sans"));
    const auto shape = fonts.Shape(fonts.MapCharacter(info->id, U'O'));
    ASSERT_TRUE(shape && !shape->box.Empty());
    constexpr double kEm = 400000, kSide = 8000;
    const double middle = (shape->box.top + shape->box.bottom) / 2;
    const GlyphTransform t{
        kEm, 0, 0, -kEm, kSide / 2 - shape->box.left * kEm, kSide / 2 + middle * kEm};
    const GlyphArea area{0, 0, kSide, kSide};
    std::vector<std::vector<GlyphPoint>> whole, cut;
    FlattenGlyph(*shape, t, 0.2, nullptr, kMaxGlyphPoints, &whole);
    FlattenGlyph(*shape, t, 0.2, &area, kMaxGlyphPoints, &cut);
    size_t wholePoints = 0, cutPoints = 0;
    for (const auto& c : whole) wholePoints += c.size();
    for (const auto& c : cut) cutPoints += c.size();
    EXPECT_LT(cutPoints * 20, wholePoints) << cutPoints << " of " << wholePoints;
    // Inside the area both cover the same points, but for those within a
    // pixel of the edges (the two flattenings stray 0.2 pixels each).
    size_t inked = 0, blank = 0;
    for (double y = 50; y < kSide; y += 200)
        for (double x = 50; x < kSide; x += 200) {
            const GlyphPoint p{x, y};
            if (NearAnEdge(whole, p)) continue;
            const bool in = Winding(whole, p) != 0;
            EXPECT_EQ(in, Winding(cut, p) != 0) << x << "," << y;
            ++(in ? inked : blank);
        }
    EXPECT_GT(inked, 250u);
    EXPECT_GT(blank, 250u);
    // However fine the flattening asked, a glyph costs at most the points
    // it is allowed, besides its straight edges.
    std::vector<std::vector<GlyphPoint>> bounded;
    FlattenGlyph(*shape, t, 1e-6, nullptr, 100, &bounded);
    size_t boundedPoints = 0;
    for (const auto& c : bounded) boundedPoints += c.size();
    EXPECT_LE(boundedPoints, 100 + shape->verbs.size());
}

TEST(Fonts, SyntheticBoldWidensStrokesAndAdvance) {
    // Noto Sans Symbols2 comes in one weight only: bold is synthesised.
    FontCache fonts;
    const FontInfo* regular = fonts.Resolve(Font(u"Noto Sans Symbols2", FW_NORMAL));
    const FontInfo* bold = fonts.Resolve(Font(u"Noto Sans Symbols2", FW_BOLD));
    ASSERT_TRUE(regular && bold);
    EXPECT_EQ(regular->file, bold->file);
    EXPECT_FALSE(regular->syntheticBold);
    EXPECT_TRUE(bold->syntheticBold);
    const GlyphRef r = fonts.MapCharacter(regular->id, U'\u25a0');  // a black square
    const GlyphRef b = fonts.MapCharacter(bold->id, U'\u25a0');
    ASSERT_EQ(r.font, regular->id);
    ASSERT_EQ(b.font, bold->id);
    const auto ro = fonts.Outline(r, 100);
    const auto bo = fonts.Outline(b, 100);
    // Each side grows by a 48th of the em, and so does the advance twice.
    const Box rb = BoxOf(*ro), bb = BoxOf(*bo);
    EXPECT_NEAR((bb.right - bb.left) - (rb.right - rb.left), 2.0 / 48, 0.002);
    EXPECT_NEAR((bb.top - bb.bottom) - (rb.top - rb.bottom), 2.0 / 48, 0.002);
    EXPECT_NEAR(bo->advance - ro->advance, 2.0 / 48, 0.002);
}

TEST(Fonts, CharactersTheFaceLacksComeFromAFallbackFace) {
    FontCache fonts;
    const FontInfo* latin = fonts.Resolve(Font(u"Liberation Sans"));
    ASSERT_NE(latin, nullptr);
    for (char32_t c : {U'\u4e2d', U'\u3042', U'\u30c6'}) {  // 中 あ テ
        const GlyphRef g = fonts.MapCharacter(latin->id, c);
        EXPECT_NE(g.font, latin->id);
        EXPECT_NE(g.glyph, 0u);
        const auto outline = fonts.Outline(g, 100);
        ASSERT_TRUE(outline);
        EXPECT_FALSE(outline->contours.empty());
    }
    // Arabic, Thai and the Indic scripts come from the Noto face of their
    // script, sans or serif as the face asked for; Hebrew the Liberation
    // faces have themselves, as Arial and Times New Roman do.
    const FontInfo* serif = fonts.Resolve(Font(u"Times New Roman"));
    struct Script {
        const FontInfo* font;
        char32_t character;
        const char* family;
    } scripts[] = {
        {latin, U'\u0627', "Noto Sans Arabic"},     {serif, U'\u0627', "Noto Naskh Arabic"},
        {latin, U'\u05d0', "Liberation Sans"},      {serif, U'\u05d0', "Liberation Serif"},
        {latin, U'\u0e01', "Noto Sans Thai"},       {serif, U'\u0e01', "Noto Serif Thai"},
        {latin, U'\u0915', "Noto Sans Devanagari"}, {latin, U'\u0b95', "Noto Sans Tamil"},
    };
    for (const Script& s : scripts) {
        const GlyphRef g = fonts.MapCharacter(s.font->id, s.character);
        EXPECT_NE(g.glyph, 0u) << static_cast<unsigned>(s.character);
        const FontInfo* drawn = fonts.Info(g.font);
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(drawn->family, s.family) << static_cast<unsigned>(s.character);
        EXPECT_FALSE(fonts.Outline(g, 100)->contours.empty());
    }
    // A character no face has draws the font's own missing-glyph box.
    const GlyphRef none = fonts.MapCharacter(latin->id, 0x10FFFD);
    EXPECT_EQ(none.font, latin->id);
    EXPECT_EQ(none.glyph, 0u);
    EXPECT_FALSE(fonts.Outline(none, 100)->contours.empty());
}

TEST(Fonts, GlyphIndexesAreCheckedAgainstTheFace) {
    FontCache fonts;
    const FontInfo* info = fonts.Resolve(Font(u"Liberation Sans"));
    EXPECT_TRUE(fonts.HasGlyphIndex(info->id, 1));
    EXPECT_FALSE(fonts.HasGlyphIndex(info->id, 0xFFFFFF));
    EXPECT_FALSE(fonts.HasGlyphIndex(-1, 1));
    EXPECT_FALSE(fonts.HasGlyphIndex(12345, 1));
    EXPECT_EQ(fonts.Outline(GlyphRef{12345, 1}, 100), nullptr);
    // An index past the face's glyphs draws glyph 0.
    const auto past = fonts.Outline(GlyphRef{info->id, 0xFFFFFF}, 100);
    ASSERT_TRUE(past);
    EXPECT_EQ(past->contours.size(), fonts.Outline(GlyphRef{info->id, 0}, 100)->contours.size());
}

TEST(Fonts, FaceNamesUseAllThirtyTwoCharactersWhenUnterminated) {
    LOGFONTW lf{};
    for (WCHAR& c : lf.lfFaceName) c = u'x';
    EXPECT_EQ(FaceNameOf(lf), std::string(32, 'x'));
    lf.lfFaceName[3] = 0;
    EXPECT_EQ(FaceNameOf(lf), "xxx");
    lf = LOGFONTW{};
    lf.lfFaceName[0] = 0xD800;  // an unpaired surrogate
    lf.lfFaceName[1] = u'A';
    EXPECT_EQ(FaceNameOf(lf),
              "\xef\xbf\xbd"
              "A");
}

TEST(TextDecoding, Utf16WithSurrogatePairs) {
    // "A", U+1F600 as D83D DE00, an unpaired DC00, "z"; and an odd last byte.
    const BYTE bytes[] = {0x41, 0, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC, 0x7A, 0, 0x42};
    const auto chars = DecodeUtf16Text(bytes);
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(chars[0].character, U'A');
    EXPECT_EQ(chars[1].character, U'\U0001F600');
    EXPECT_EQ(chars[1].firstUnit, 1u);
    EXPECT_EQ(chars[1].unitCount, 2u);
    EXPECT_EQ(chars[2].character, 0xFFFDu);
    EXPECT_EQ(chars[2].firstUnit, 3u);
    EXPECT_EQ(chars[3].character, U'z');
    EXPECT_EQ(chars[3].firstUnit, 4u);
    EXPECT_TRUE(DecodeUtf16Text({}).empty());
}

TEST(TextDecoding, AnsiBytesInTheCodePageOfTheCharset) {
    struct Case {
        std::vector<BYTE> bytes;
        BYTE charset;
        std::vector<char32_t> characters;
        std::vector<DWORD> units;
    } cases[] = {
        {{0x41, 0x80, 0xE9}, ANSI_CHARSET, {U'A', U'\u20ac', U'\u00e9'}, {1, 1, 1}},
        {{0x41, 0x80, 0xE9}, DEFAULT_CHARSET, {U'A', U'\u20ac', U'\u00e9'}, {1, 1, 1}},
        {{0x82, 0xA0, 0x41}, SHIFTJIS_CHARSET, {U'\u3042', U'A'}, {2, 1}},  // あ A
        {{0xB1}, SHIFTJIS_CHARSET, {U'\uff71'}, {1}},      // a half-width katakana is one byte
        {{0xD6, 0xD0}, GB2312_CHARSET, {U'\u4e2d'}, {2}},  // 中
        {{0xC1}, RUSSIAN_CHARSET, {U'\u0411'}, {1}},       // Б
        {{0xD6}, GB2312_CHARSET, {0xFFFD}, {1}},           // a lead byte cut off
        {{0x41}, SYMBOL_CHARSET, {U'A'}, {1}},
    };
    for (const Case& c : cases) {
        const auto chars = DecodeAnsiText(c.bytes, c.charset);
        ASSERT_EQ(chars.size(), c.characters.size()) << int(c.charset);
        for (size_t i = 0; i < chars.size(); ++i) {
            EXPECT_EQ(chars[i].character, c.characters[i]) << int(c.charset) << " " << i;
            EXPECT_EQ(chars[i].unitCount, c.units[i]) << int(c.charset) << " " << i;
        }
    }
}

}  // namespace

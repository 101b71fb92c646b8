// Lines of text shaped as ExtTextOutW shapes them: the order of the
// bidirectional algorithm, Arabic joining, Indic conjuncts and vowel signs,
// fallback faces per run, glyph indexes as given.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "win32/gdi32/text_shaping.h"

namespace {

LOGFONTW Font(const std::u16string& face) {
    LOGFONTW lf{};
    lf.lfHeight = -100;
    lf.lfWeight = FW_NORMAL;
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE), lf.lfFaceName);
    return lf;
}

const FontInfo& Resolved(const std::u16string& face) {
    const FontInfo* info = SharedFontCache().Resolve(Font(face));
    EXPECT_NE(info, nullptr);
    return *info;
}

std::vector<ShapedGlyph> Shape(const std::u16string& face, std::u32string_view text,
                               bool rightToLeft = false) {
    ShapingOptions options;
    options.rightToLeft = rightToLeft;
    return ShapeText(SharedFontCache(), Resolved(face), text, options);
}

std::vector<size_t> ClustersOf(const std::vector<ShapedGlyph>& glyphs) {
    std::vector<size_t> clusters;
    for (const ShapedGlyph& g : glyphs) clusters.push_back(g.cluster);
    return clusters;
}

UINT GlyphOf(const std::u16string& face, char32_t c) {
    return SharedFontCache().MapCharacter(Resolved(face).id, c).glyph;
}

TEST(TextShaping, LinesStandInTheOrderOfTheBidirectionalAlgorithm) {
    // Liberation Sans has Latin, Hebrew and digits: one glyph a character,
    // so the clusters left to right are the characters' visual order.
    struct Case {
        std::u32string text;
        bool rightToLeft;
        std::vector<size_t> clusters;
    } cases[] = {
        {U"abc", false, {0, 1, 2}},
        {U"\u05d0\u05d1\u05d2", false, {2, 1, 0}},  // אבג reads right to left anyway
        {U"ab \u05d0\u05d1 cd", false, {0, 1, 2, 4, 3, 5, 6, 7}},
        // A number keeps its digits' order inside right-to-left text.
        {U"\u05d0\u05d1 12 \u05d2", true, {6, 5, 3, 4, 2, 1, 0}},
        // Left-to-right text in a right-to-left paragraph reads left to
        // right; whitespace at the end of the line takes the paragraph's
        // direction, and so stands at the left.
        {U"ab cd ", true, {5, 0, 1, 2, 3, 4}},
        {U"ab ", false, {0, 1, 2}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClustersOf(Shape(u"Liberation Sans", c.text, c.rightToLeft)), c.clusters)
            << c.clusters.size() << (c.rightToLeft ? " rtl" : " ltr");
}

TEST(TextShaping, BracketsAreMirroredInRightToLeftText) {
    const std::vector<ShapedGlyph> g = Shape(u"Liberation Sans", U"(\u05d0)", true);
    ASSERT_EQ(ClustersOf(g), (std::vector<size_t>{2, 1, 0}));
    // The closing bracket, leftmost, is drawn opening to the left: "(".
    EXPECT_EQ(g[0].glyph.glyph, GlyphOf(u"Liberation Sans", U'('));
    EXPECT_EQ(g[2].glyph.glyph, GlyphOf(u"Liberation Sans", U')'));
}

TEST(TextShaping, ArabicLettersJoin) {
    // Three beh: initial, medial and final forms, none the isolated one,
    // right to left.
    const std::vector<ShapedGlyph> g = Shape(u"Noto Sans Arabic", U"\u0628\u0628\u0628");
    ASSERT_EQ(ClustersOf(g), (std::vector<size_t>{2, 1, 0}));
    const UINT isolated = GlyphOf(u"Noto Sans Arabic", U'\u0628');
    EXPECT_NE(g[0].glyph.glyph, g[1].glyph.glyph);
    EXPECT_NE(g[1].glyph.glyph, g[2].glyph.glyph);
    for (const ShapedGlyph& glyph : g) EXPECT_NE(glyph.glyph.glyph, isolated);
}

TEST(TextShaping, DevanagariConjunctsAndVowelSigns) {
    // क्ष: ka, virama, ssa make one conjunct, fewer glyphs than characters.
    const std::vector<ShapedGlyph> conjunct = Shape(u"Noto Sans Devanagari", U"\u0915\u094d\u0937");
    EXPECT_LT(conjunct.size(), 3u);
    for (const ShapedGlyph& g : conjunct) EXPECT_EQ(g.cluster, 0u);
    // कि: the vowel sign i stands before the consonant it follows.
    const std::vector<ShapedGlyph> ki = Shape(u"Noto Sans Devanagari", U"\u0915\u093f");
    ASSERT_EQ(ki.size(), 2u);
    EXPECT_EQ(ClustersOf(ki), (std::vector<size_t>{0, 0}));
    EXPECT_EQ(ki[1].glyph.glyph, GlyphOf(u"Noto Sans Devanagari", U'\u0915'));
}

TEST(TextShaping, ThaiMarksSitOnTheirBase) {
    // กั: the vowel mark above advances nothing and shares the base's cluster.
    const std::vector<ShapedGlyph> g = Shape(u"Noto Sans Thai", U"\u0e01\u0e31");
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(ClustersOf(g), (std::vector<size_t>{0, 0}));
    EXPECT_GT(g[0].advance, 0);
    EXPECT_EQ(g[1].advance, 0);
}

TEST(TextShaping, AFaceLackingAScriptFallsBackForTheWholeRun) {
    // Liberation Sans has no Arabic: "سلام عليكم" goes to one Arabic face,
    // its spaces with it (the one before the number belongs to the
    // right-to-left run); the Latin and the digits stay with the font.
    const FontInfo& latin = Resolved(u"Liberation Sans");
    const std::vector<ShapedGlyph> g = Shape(
        u"Liberation Sans", U"Plan \u0633\u0644\u0627\u0645 \u0639\u0644\u064a\u0643\u0645 12");
    const auto first = std::find_if(g.begin(), g.end(),
                                    [](const ShapedGlyph& glyph) { return glyph.cluster == 5; });
    ASSERT_NE(first, g.end());
    const FontInfo* arabic = SharedFontCache().Info(first->glyph.font);
    ASSERT_NE(arabic, nullptr);
    EXPECT_EQ(arabic->family, "Noto Sans Arabic");
    for (const ShapedGlyph& glyph : g) {
        const bool arabicRun = glyph.cluster >= 5 && glyph.cluster <= 15;
        EXPECT_EQ(glyph.glyph.font, arabicRun ? arabic->id : latin.id) << glyph.cluster;
        EXPECT_NE(glyph.glyph.glyph, 0u) << glyph.cluster;
    }
}

TEST(TextShaping, ARunNoOneFaceHasIsCutBetweenFaces) {
    // بب ✓: no face has both the Arabic letters and the check mark. The
    // letters stay together in the Arabic face, still joined; the mark comes
    // from a face that has it.
    const std::vector<ShapedGlyph> g = Shape(u"Liberation Sans", U"\u0628\u0628 \u2713");
    const FontId arabic =
        SharedFontCache().MapCharacter(Resolved(u"Liberation Sans").id, U'\u0628').font;
    const UINT isolated = SharedFontCache().MapCharacter(arabic, U'\u0628').glyph;
    size_t letters = 0;
    for (const ShapedGlyph& glyph : g) {
        EXPECT_NE(glyph.glyph.glyph, 0u) << glyph.cluster;
        if (glyph.cluster < 2) {
            ++letters;
            EXPECT_EQ(glyph.glyph.font, arabic);
            EXPECT_NE(glyph.glyph.glyph, isolated);
        }
        if (glyph.cluster == 3) {
            EXPECT_NE(glyph.glyph.font, arabic);
        }
    }
    EXPECT_EQ(letters, 2u);
}

TEST(TextShaping, PlainTextKeepsTheFacesAdvancesWithoutKerning) {
    // "AV" kerns in Liberation Sans; GDI draws it with the glyphs' own
    // advances, in either paragraph direction.
    FontCache& fonts = SharedFontCache();
    const double a =
        fonts.Shape({Resolved(u"Liberation Sans").id, GlyphOf(u"Liberation Sans", U'A')})->advance;
    for (bool rtl : {false, true}) {
        const std::vector<ShapedGlyph> g = Shape(u"Liberation Sans", U"AV", rtl);
        ASSERT_EQ(ClustersOf(g), (std::vector<size_t>{0, 1})) << rtl;
        EXPECT_DOUBLE_EQ(g[0].advance, a) << rtl;
        EXPECT_EQ(g[0].offsetX, 0) << rtl;
    }
}

TEST(TextShaping, GlyphIndexesAreDrawnAsGiven) {
    const FontInfo& font = Resolved(u"Noto Sans Arabic");
    const UINT beh = GlyphOf(u"Noto Sans Arabic", U'\u0628');
    ShapingOptions options;
    options.glyphIndexes = true;
    options.rightToLeft = true;
    const std::u32string text{beh, beh, 0xFFFFFF};
    const std::vector<ShapedGlyph> g = ShapeText(SharedFontCache(), font, text, options);
    ASSERT_EQ(ClustersOf(g), (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(g[0].glyph.glyph, beh);  // not joined
    EXPECT_EQ(g[1].glyph.glyph, beh);
    EXPECT_EQ(g[2].glyph.glyph, 0u);  // past the face's glyphs
    EXPECT_DOUBLE_EQ(g[0].advance, SharedFontCache().Shape(g[0].glyph)->advance);
}

TEST(TextShaping, TwoThreadsShapeAndOutlineAlike) {
    // Whole pages are rendered on several threads at once, sharing the font
    // cache: a fresh one here, so that both threads realise the font, find
    // the fallback faces and flatten the outlines together.
    FontCache fonts;
    const FontInfo* font = fonts.Resolve(Font(u"Liberation Sans"));
    ASSERT_NE(font, nullptr);
    const std::u32string text =
        U"Plan \u0645\u062e\u0637\u0637 12 \u0915\u094d\u0937\u093f \u0e2a\u0e27\u0e31";
    ShapingOptions options;
    options.rightToLeft = true;
    const auto work = [&](std::vector<ShapedGlyph>* glyphs, size_t* points) {
        *glyphs = ShapeText(fonts, *font, text, options);
        for (const ShapedGlyph& g : *glyphs)
            for (const auto& contour : fonts.Outline(g.glyph, 900)->contours)
                *points += contour.size();
    };
    std::vector<ShapedGlyph> a, b;
    size_t pointsA = 0, pointsB = 0;
    std::thread other(work, &a, &pointsA);
    work(&b, &pointsB);
    other.join();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].glyph.font, b[i].glyph.font) << i;
        EXPECT_EQ(a[i].glyph.glyph, b[i].glyph.glyph) << i;
        EXPECT_EQ(a[i].cluster, b[i].cluster) << i;
    }
    EXPECT_EQ(pointsA, pointsB);
    EXPECT_GT(pointsA, 0u);
}

}  // namespace

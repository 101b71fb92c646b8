// Text records: fonts, alignment, spacing, opaque and clipped rectangles,
// glyph indexes, and text records that do not fit.
#include <gtest/gtest.h>

#include <cmath>

#include <windows.h>

#include "recording_host.h"
#include "text_builder.h"
#include "win32/gdi32/fonts.h"

namespace {

using Lines = std::vector<std::string>;

// An em of 2048 logical units makes one font unit of Liberation Sans one
// plotter pixel (the builder's MM_TEXT unit is one pixel at 254 dpi), so
// expected points are the font's own numbers.
constexpr LONG kEm = 2048;
// Glyphs off the page are not drawn: the page is large enough for such
// glyphs (the drawing is still placed 1:1 from its corner).
constexpr int kPage = 8000;

PlayRun Play(EmfBuilder& emf, RecordingHost& host) {
    return PlayInto(host, emf.Bytes());
}

Lines DrawingOf(EmfBuilder& emf) {
    RecordingHost host(kPage, kPage);
    const PlayRun run = Play(emf, host);
    EXPECT_TRUE(run.ok) << run.error;
    return host.Drawing();
}

// A metafile with Liberation Sans of the given height selected, text in
// red on a transparent background.
EmfBuilder Prepared(LONG height = -kEm, const std::u16string& face = u"Liberation Sans") {
    EmfBuilder emf;
    CreateFont(emf, 1, LogFont(face, height)).Select(1);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTCOLOR, RGB(255, 0, 0));
    return emf;
}

const GlyphOutline& OutlineOf(char32_t c, const std::u16string& face = u"Liberation Sans") {
    FontCache& fonts = SharedFontCache();
    const FontInfo* info = fonts.Resolve(LogFont(face, -kEm));
    static std::vector<std::shared_ptr<const GlyphOutline>> kept;
    kept.push_back(fonts.Outline(fonts.MapCharacter(info->id, c), kEm));
    return *kept.back();
}

// The polygon of a one-contour glyph whose origin lies at (x, y) on the
// plotter, upright, em units scaled by em.
std::string GlyphPolygon(char32_t c, double x, double y, double em = kEm) {
    const GlyphOutline& o = OutlineOf(c);
    const auto& contour = o.contours.at(0);
    std::string line = "OnPolygon " + std::to_string(contour.size()) + ":";
    for (const GlyphPoint& p : contour)
        line += " " + std::to_string(std::lround(x + p.x * em)) + "," +
                std::to_string(std::lround(y - p.y * em));
    return line;
}

// "l" is one bar in Liberation Sans: 455 units of advance.
constexpr double kAdvanceL = 455;

TEST(TextRecords, GlyphsAreFilledOutlinesInTheTextColour) {
    EmfBuilder emf = Prepared();
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 100, .y = 3000, .text = u"l"});
    RecordingHost host(kPage, kPage);
    ASSERT_TRUE(Play(emf, host).ok);
    EXPECT_EQ(host.Lines("OnSelectBrush"), Lines{"OnSelectBrush style=0 rgb=255,0,0 hatch=0"});
    EXPECT_EQ(host.Drawing(), Lines{GlyphPolygon(U'l', 100, 3000)});
}

TEST(TextRecords, AlignmentMovesTheTextAgainstItsReferencePoint) {
    const FontMetrics m = SharedFontCache().Resolve(LogFont(u"Liberation Sans", -kEm))->metrics;
    const double ascent = m.ascent * kEm, descent = m.descent * kEm;  // 1854, 434
    struct Case {
        UINT align;
        double dx, dy;  // where the glyph's origin goes from the reference
    } cases[] = {
        {TA_BASELINE, 0, 0},
        {TA_LEFT | TA_TOP, 0, ascent},
        {TA_BOTTOM, 0, -descent},
        {TA_RIGHT | TA_BASELINE, -kAdvanceL, 0},
        {TA_CENTER | TA_BASELINE, -kAdvanceL / 2, 0},
        {TA_CENTER | TA_TOP, -kAdvanceL / 2, ascent},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = Prepared();
        emf.Mode(EMR_SETTEXTALIGN, c.align);
        TextOut(emf, {.x = 1000, .y = 3000, .text = u"l"});
        EXPECT_EQ(DrawingOf(emf), Lines{GlyphPolygon(U'l', 1000 + c.dx, 3000 + c.dy)}) << c.align;
    }
}

TEST(TextRecords, PositiveHeightIsTheCellNegativeTheCharacter) {
    // Liberation Sans: a cell of 1854 + 434 = 2288 units holds an em of 2048.
    EmfBuilder cell = Prepared(2288);
    cell.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(cell, {.x = 0, .y = 3000, .text = u"l"});
    EXPECT_EQ(DrawingOf(cell), Lines{GlyphPolygon(U'l', 0, 3000)});
    EmfBuilder half = Prepared(-kEm / 2);
    half.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(half, {.x = 0, .y = 3000, .text = u"l"});
    EXPECT_EQ(DrawingOf(half), Lines{GlyphPolygon(U'l', 0, 3000, kEm / 2)});
}

TEST(TextRecords, SpacingValuesPlaceTheCharacters) {
    struct Case {
        DWORD options;
        std::vector<LONG> dx;
        double secondX, secondY;
    } cases[] = {
        {0, {}, kAdvanceL, 0},                  // the glyphs' own advance
        {0, {1000, 7}, 1000, 0},                // one value a character
        {ETO_PDY, {1000, 50, 0, 0}, 1000, 50},  // x and y a character
        {ETO_PDY, {-300, -20, 0, 0}, -300, -20},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = Prepared();
        emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
        TextOut(emf, {.x = 100, .y = 3000, .text = u"ll", .options = c.options, .dx = c.dx});
        EXPECT_EQ(DrawingOf(emf), (Lines{GlyphPolygon(U'l', 100, 3000),
                                         GlyphPolygon(U'l', 100 + c.secondX, 3000 + c.secondY)}))
            << c.options << " " << c.dx.size();
    }
}

TEST(TextRecords, SurrogatePairsAdvanceByBothOfTheirSpacingValues) {
    // U+20BB7 (𠮷) is two UTF-16 units with a spacing value each.
    EmfBuilder emf = Prepared();
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 0, .y = 3000, .text = u"\U00020BB7l", .dx = {600, 400, 0}});
    const Lines drawing = DrawingOf(emf);
    ASSERT_FALSE(drawing.empty());
    EXPECT_EQ(drawing.back(), GlyphPolygon(U'l', 1000, 3000));
}

TEST(TextRecords, UpdateCpStartsAtTheCurrentPositionAndMovesIt) {
    EmfBuilder emf = Prepared();
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE | TA_UPDATECP).MoveTo(500, 3000);
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l"});
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l", .dx = {0}});
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l"});
    EXPECT_EQ(DrawingOf(emf),
              (Lines{GlyphPolygon(U'l', 500, 3000), GlyphPolygon(U'l', 500 + kAdvanceL, 3000),
                     GlyphPolygon(U'l', 500 + kAdvanceL, 3000)}));
}

TEST(TextRecords, RightAlignedUpdateCpEndsAtTheCurrentPositionAndMovesItBack) {
    EmfBuilder emf = Prepared();
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE | TA_RIGHT | TA_UPDATECP).MoveTo(1000, 3000);
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l"});
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l"});
    // Centred text leaves the position where it is.
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE | TA_CENTER | TA_UPDATECP);
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l"});
    TextOut(emf, {.x = 9999, .y = 9999, .text = u"l"});
    const double end = 1000 - 2 * kAdvanceL;
    EXPECT_EQ(DrawingOf(emf),
              (Lines{GlyphPolygon(U'l', 1000 - kAdvanceL, 3000), GlyphPolygon(U'l', end, 3000),
                     GlyphPolygon(U'l', end - kAdvanceL / 2, 3000),
                     GlyphPolygon(U'l', end - kAdvanceL / 2, 3000)}));
}

TEST(TextRecords, YUpMappingModesKeepTextUpright) {
    // MM_LOMETRIC on the builder's device (a tenth of a millimetre a pixel)
    // is one pixel a unit with y upwards: the glyph must not turn over.
    EmfBuilder emf = Prepared();
    emf.Mode(EMR_SETMAPMODE, MM_LOMETRIC).Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 100, .y = -3000, .text = u"l"});
    EXPECT_EQ(DrawingOf(emf), Lines{GlyphPolygon(U'l', 100, 3000)});
}

TEST(TextRecords, EscapementTurnsTheBaselineCounterClockwise) {
    LOGFONTW lf = LogFont(u"Liberation Sans", -kEm);
    lf.lfEscapement = 900;
    EmfBuilder emf;
    CreateFont(emf, 1, lf).Select(1).Mode(EMR_SETBKMODE, TRANSPARENT);
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 3000, .y = 3000, .text = u"l"});
    // Turned a quarter to the left: along the glyph is up the page, up the
    // glyph is to the left.
    const auto& contour = OutlineOf(U'l').contours.at(0);
    std::string expected = "OnPolygon " + std::to_string(contour.size()) + ":";
    for (const GlyphPoint& p : contour)
        expected += " " + std::to_string(std::lround(3000 - p.y * kEm)) + "," +
                    std::to_string(std::lround(3000 - p.x * kEm));
    EXPECT_EQ(DrawingOf(emf), Lines{expected});
}

TEST(TextRecords, OrientationTurnsTheGlyphsInTheAdvancedModeOnly) {
    LOGFONTW lf = LogFont(u"Liberation Sans", -kEm);
    lf.lfOrientation = 900;
    const auto& contour = OutlineOf(U'l').contours.at(0);
    std::string turned = "OnPolygon " + std::to_string(contour.size()) + ":";
    for (const GlyphPoint& p : contour)
        turned += " " + std::to_string(std::lround(3000 - p.y * kEm)) + "," +
                  std::to_string(std::lround(3000 - p.x * kEm));
    struct Case {
        DWORD mode;
        std::string expected;
    } cases[] = {
        {GM_ADVANCED, turned},
        {GM_COMPATIBLE, GlyphPolygon(U'l', 3000, 3000)},  // glyphs follow the escapement
    };
    for (const Case& c : cases) {
        EmfBuilder emf;
        CreateFont(emf, 1, lf).Select(1).Mode(EMR_SETBKMODE, TRANSPARENT);
        emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
        TextOut(emf, {.x = 3000, .y = 3000, .text = u"l", .graphicsMode = c.mode});
        EXPECT_EQ(DrawingOf(emf), Lines{c.expected}) << c.mode;
    }
}

TEST(TextRecords, OpaqueRectangleAndBackgroundAreFilledFirst) {
    // ETO_OPAQUE fills its rectangle with the background colour whatever
    // the background mode; an opaque background mode fills the text's cell.
    EmfBuilder emf;
    CreateFont(emf, 1, LogFont(u"Liberation Sans", -kEm)).Select(1);
    emf.Mode(EMR_SETBKCOLOR, RGB(0, 0, 255)).Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 0, .y = 3000, .text = u"", .options = ETO_OPAQUE, .rect = {10, 20, 30, 40}});
    TextOut(emf, {.x = 100, .y = 3000, .text = u"l"});
    RecordingHost host(kPage, kPage);
    ASSERT_TRUE(Play(emf, host).ok);
    EXPECT_EQ(host.Lines("OnSelectBrush"), (Lines{"OnSelectBrush style=0 rgb=0,0,255 hatch=0",
                                                  "OnSelectBrush style=0 rgb=0,0,0 hatch=0"}));
    // The cell: advance 455 wide, from the descent (434) below the
    // baseline to the ascent (1854) above it.
    EXPECT_EQ(host.Drawing(), (Lines{"OnPolygon 4: 30,20 10,20 10,40 30,40",
                                     "OnPolygon 4: 100,3434 555,3434 555,1146 100,1146",
                                     GlyphPolygon(U'l', 100, 3000)}));
}

TEST(TextRecords, ClippedTextIsClippedToItsRectangle) {
    // Inside the drawing's frame this time (1000 x 1000 pixels): an em of 512.
    EmfBuilder emf = Prepared(-kEm / 4);
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf,
            {.x = 100, .y = 900, .text = u"l", .options = ETO_CLIPPED, .rect = {0, 500, 300, 800}});
    // The clip is the text's own: the next text is not clipped.
    TextOut(emf, {.x = 100, .y = 900, .text = u"l"});
    RecordingHost host(kPage, kPage);
    ASSERT_TRUE(Play(emf, host).ok);
    EXPECT_EQ(host.Lines("OnSetClipRegion"),
              (Lines{"OnSetClipRegion box=0,500,300,800 polygons=1", "OnSetClipRegion none"}));
    EXPECT_EQ(host.Drawing(), (Lines{GlyphPolygon(U'l', 100, 900, kEm / 4),
                                     GlyphPolygon(U'l', 100, 900, kEm / 4)}));
    // A rectangle off the page leaves nothing to draw.
    EmfBuilder away = Prepared(-kEm / 4);
    TextOut(away, {.x = 100,
                   .y = 900,
                   .text = u"l",
                   .options = ETO_CLIPPED,
                   .rect = {kPage + 100, 100, kPage + 200, 200}});
    EXPECT_EQ(DrawingOf(away), Lines{});
}

TEST(TextRecords, UnderlineAndStrikeOutAreBarsAcrossTheRun) {
    LOGFONTW lf = LogFont(u"Liberation Sans", -kEm);
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    EmfBuilder emf;
    CreateFont(emf, 1, lf).Select(1).Mode(EMR_SETBKMODE, TRANSPARENT);
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 100, .y = 3000, .text = u"l"});
    const Lines drawing = DrawingOf(emf);
    ASSERT_EQ(drawing.size(), 3u);
    const FontMetrics m = SharedFontCache().Resolve(lf)->metrics;
    const auto bar = [&](double mid, double thickness) {
        const long top = std::lround(3000 - (mid + thickness / 2) * kEm);
        const long bottom = std::lround(3000 - (mid - thickness / 2) * kEm);
        return "OnPolygon 4: 100," + std::to_string(bottom) + " 555," + std::to_string(bottom) +
               " 555," + std::to_string(top) + " 100," + std::to_string(top);
    };
    EXPECT_EQ(drawing[1], bar(m.underlinePosition, m.underlineThickness));
    EXPECT_EQ(drawing[2], bar(m.strikeoutPosition, m.strikeoutThickness));
}

TEST(TextRecords, GlyphIndexesOfAMissingFaceAreCountedNotDrawn) {
    // "Arial" is drawn by Liberation Sans, whose glyph numbers differ.
    EmfBuilder emf = Prepared(-kEm, u"Arial");
    TextOut(emf, {.x = 100, .y = 3000, .text = u"\x0024\x0025", .options = ETO_GLYPH_INDEX});
    RecordingHost host(kPage, kPage);
    const PlayRun run = Play(emf, host);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(host.Drawing(), Lines{});
    ASSERT_EQ(run.summary.skipped.count(EMR_EXTTEXTOUTW), 1u);
    EXPECT_EQ(run.summary.skipped.at(EMR_EXTTEXTOUTW), 1u);
}

TEST(TextRecords, GlyphIndexesOfAnInstalledFaceAreDrawn) {
    FontCache& fonts = SharedFontCache();
    const FontInfo* info = fonts.Resolve(LogFont(u"Liberation Sans", -kEm));
    const UINT l = fonts.MapCharacter(info->id, U'l').glyph;
    EmfBuilder emf = Prepared();
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 100,
                  .y = 3000,
                  .text = std::u16string(1, static_cast<char16_t>(l)),
                  .options = ETO_GLYPH_INDEX});
    EXPECT_EQ(DrawingOf(emf), Lines{GlyphPolygon(U'l', 100, 3000)});
}

TEST(TextRecords, AnsiTextIsReadInTheCodePageOfTheFont) {
    // "l" and, in Shift-JIS, the two bytes of "あ" with one spacing value
    // each: the second character starts after both of its bytes' values.
    LOGFONTW lf = LogFont(u"Liberation Sans", -kEm);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    EmfBuilder emf;
    CreateFont(emf, 1, lf).Select(1).Mode(EMR_SETBKMODE, TRANSPARENT);
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(
        emf,
        {.type = EMR_EXTTEXTOUTA, .x = 0, .y = 3000, .bytes = "\x82\xa0l", .dx = {500, 500, 0}});
    EmfBuilder wide;
    CreateFont(wide, 1, lf).Select(1).Mode(EMR_SETBKMODE, TRANSPARENT);
    wide.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(wide, {.x = 0, .y = 3000, .text = u"\u3042l", .dx = {1000, 0}});
    const Lines drawing = DrawingOf(emf);
    ASSERT_GE(drawing.size(), 2u);
    EXPECT_EQ(drawing, DrawingOf(wide));
    EXPECT_EQ(drawing.back(), GlyphPolygon(U'l', 1000, 3000));
}

TEST(TextRecords, AFaceThatIsNotInstalledIsToldOnce) {
    EmfBuilder emf;
    CreateFont(emf, 1, LogFont(u"SimSun", -100));
    CreateFont(emf, 2, LogFont(u"SimSun", -200));
    CreateFont(emf, 3, LogFont(u"Liberation Sans", -200));
    RecordingHost host(kPage, kPage);
    const PlayRun run = Play(emf, host);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.summary.warnings,
              std::vector<std::string>{
                  "font \"SimSun\" is not installed: its text is drawn with Noto Serif CJK SC"});
}

TEST(TextRecords, SelectingAFontThatWasDeletedKeepsTheCurrentOne) {
    EmfBuilder emf = Prepared();
    CreateFont(emf, 2, LogFont(u"Liberation Sans", -kEm / 2)).Delete(2).Select(2);
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 100, .y = 3000, .text = u"l"});
    EXPECT_EQ(DrawingOf(emf), Lines{GlyphPolygon(U'l', 100, 3000)});
}

TEST(TextRecords, RecordsThatDoNotFitAreRefusedByName) {
    struct Case {
        const char* name;
        TextRecord record;
        const char* error;
    } cases[] = {
        {"string past the end", {.text = u"ll", .nChars = 40}, "characters"},
        {"string offset past the end", {.text = u"l", .offString = 4000}, "characters"},
        {"spacing past the end", {.text = u"ll", .dx = {1}}, "spacing values"},
        {"pairs need twice the values",
         {.text = u"ll", .options = ETO_PDY, .dx = {1, 2, 3}},
         "spacing values"},
        {"character count overflows", {.text = u"l", .nChars = 0x80000001u}, "characters"},
        {"spacing offset wraps", {.text = u"l", .dx = {1}, .offDx = 0xFFFFFFFCu}, "spacing values"},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = Prepared();
        TextOut(emf, c.record);
        RecordingHost host(kPage, kPage);
        const PlayRun run = Play(emf, host);
        EXPECT_FALSE(run.ok) << c.name;
        EXPECT_NE(run.error.find(c.error), std::string::npos) << c.name << ": " << run.error;
        EXPECT_NE(run.error.find("EMR_EXTTEXTOUTW"), std::string::npos) << run.error;
        EXPECT_EQ(host.Drawing(), Lines{}) << c.name;
    }
}

TEST(TextRecords, AFontRecordShorterThanItsLogFontIsRefused) {
    EmfBuilder emf;
    emf.Record(EMR_EXTCREATEFONTINDIRECTW, std::vector<DWORD>(1 + 22, 0));  // 100 bytes
    RecordingHost host(kPage, kPage);
    const PlayRun run = Play(emf, host);
    EXPECT_FALSE(run.ok);
    EXPECT_NE(run.error.find("EMR_EXTCREATEFONTINDIRECTW"), std::string::npos) << run.error;
}

TEST(TextRecords, AFontAtAnIndexPastTheHandlesIsRefused) {
    EmfBuilder emf;
    emf.Handles(2);
    CreateFont(emf, 5, LogFont(u"Liberation Sans", -10));
    RecordingHost host(kPage, kPage);
    const PlayRun run = Play(emf, host);
    EXPECT_FALSE(run.ok);
    EXPECT_NE(run.error.find("out of range"), std::string::npos) << run.error;
}

TEST(TextRecords, StockFontsDrawWithoutAFontRecord) {
    // The system font of a new device context, then the fixed-pitch stock
    // font, whose glyphs all advance alike.
    EmfBuilder emf;
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = 100, .y = 500, .text = u"il"});
    emf.Select(ENHMETA_STOCK_OBJECT | ANSI_FIXED_FONT);
    TextOut(emf, {.x = 100, .y = 800, .text = u"iW"});
    const Lines drawing = DrawingOf(emf);
    // 16 logical units to the cell of a monospaced face; "W" is one
    // contour that starts one advance of "i" after the reference point.
    FontCache& fonts = SharedFontCache();
    LOGFONTW fixed{};
    fixed.lfHeight = 16;
    fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const FontInfo* info = fonts.Resolve(fixed);
    ASSERT_NE(info, nullptr);
    const double em = 16 / info->metrics.CellHeight();
    const auto i = fonts.Outline(fonts.MapCharacter(info->id, U'i'), em);
    const auto w = fonts.Outline(fonts.MapCharacter(info->id, U'W'), em);
    EXPECT_DOUBLE_EQ(i->advance, w->advance);
    ASSERT_EQ(w->contours.size(), 1u);
    std::string expected = "OnPolygon";
    std::vector<POINT> points;
    for (const GlyphPoint& p : w->contours[0]) {
        const POINT q{static_cast<LONG>(std::lround(100 + (i->advance + p.x) * em)),
                      static_cast<LONG>(std::lround(800 - p.y * em))};
        if (points.empty() || q.x != points.back().x || q.y != points.back().y) points.push_back(q);
    }
    expected += " " + std::to_string(points.size()) + ":";
    for (const POINT& q : points) expected += " " + std::to_string(q.x) + "," + std::to_string(q.y);
    ASSERT_FALSE(drawing.empty());
    EXPECT_EQ(drawing.back(), expected);
    EXPECT_NE(info->family.find("Mono"), std::string::npos) << info->family;
}

}  // namespace

TEST(TextRecords, RightToLeftReadingComesFromTheRecordOrTheAlignment) {
    // "l " in a right-to-left paragraph: the space at the line's end stands
    // at the left, before the "l" (569 units of it).
    struct Case {
        DWORD options;
        UINT align;
        double x;
    } cases[] = {
        {0, TA_BASELINE, 100},
        {ETO_RTLREADING, TA_BASELINE, 100 + 569},
        {0, TA_BASELINE | TA_RTLREADING, 100 + 569},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = Prepared();
        emf.Mode(EMR_SETTEXTALIGN, c.align);
        TextOut(emf, {.x = 100, .y = 3000, .text = u"l ", .options = c.options});
        EXPECT_EQ(DrawingOf(emf), Lines{GlyphPolygon(U'l', c.x, 3000)})
            << c.options << " " << c.align;
    }
}

TEST(TextRecords, SpacingValuesOfRightToLeftTextAreInLogicalOrder) {
    // Two vav (one contour each in Liberation Sans) with 300 and 700: the
    // second stands at the left in a cell of 700, the first after it; the
    // alignment places the run of 1000 as a whole.
    struct Case {
        UINT align;
        double left;
    } cases[] = {
        {TA_BASELINE, 3000},
        {TA_BASELINE | TA_RIGHT, 2000},
        {TA_BASELINE | TA_CENTER, 2500},
    };
    for (const Case& c : cases) {
        EmfBuilder emf = Prepared();
        emf.Mode(EMR_SETTEXTALIGN, c.align);
        TextOut(emf, {.x = 3000,
                      .y = 3000,
                      .text = u"\u05d5\u05d5",
                      .options = ETO_RTLREADING,
                      .dx = {300, 700}});
        EXPECT_EQ(DrawingOf(emf), (Lines{GlyphPolygon(U'\u05d5', c.left, 3000),
                                         GlyphPolygon(U'\u05d5', c.left + 700, 3000)}))
            << c.align;
    }
}

TEST(TextRecords, ASpacingValueSetsTheAdvanceOfItsWholeCluster) {
    // कि is one cluster of two characters: whichever carries the value, the
    // "l" after it starts 500 units on.
    for (const std::vector<LONG>& dx : {std::vector<LONG>{500, 0, 7}, {200, 300, 7}, {0, 500, 7}}) {
        EmfBuilder emf = Prepared();
        emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
        TextOut(emf, {.x = 100, .y = 3000, .text = u"\u0915\u093fl", .dx = dx});
        const Lines drawing = DrawingOf(emf);
        ASSERT_FALSE(drawing.empty());
        EXPECT_EQ(drawing.back(), GlyphPolygon(U'l', 600, 3000)) << dx[0] << "," << dx[1];
    }
}

namespace {

// The points of every polygon drawn.
size_t PointsDrawn(const Lines& drawing) {
    size_t points = 0;
    for (const std::string& line : drawing)
        if (line.rfind("OnPolygon ", 0) == 0) points += std::stoul(line.substr(10));
    return points;
}

// Text far larger than the page: what cannot show costs no outline, and a
// glyph that covers the page costs the points of what crosses the page,
// not those of its whole outline at its size.
TEST(TextRecords, GlyphsOffThePageCostNoOutline) {
    // 500 different ideographs 40 m to the em, starting below the page.
    std::u16string text;
    for (char16_t c = 0x4E00; c < 0x4E00 + 500; ++c) text += c;
    EmfBuilder emf = Prepared(-400000, u"SimSun");
    TextOut(emf, {.x = 0, .y = kPage + 10, .text = text});
    const size_t before = SharedFontCache().OutlinesLoaded();
    RecordingHost host(kPage, kPage);
    ASSERT_TRUE(Play(emf, host).ok);
    EXPECT_EQ(host.Drawing(), Lines{});
    EXPECT_EQ(SharedFontCache().OutlinesLoaded(), before);
}

TEST(TextRecords, AGlyphFarLargerThanThePageCostsThePointsOfThePage) {
    // An "O" 40 m to the em whose outer edge passes through the page's
    // middle: its left side is an arc across the page, the ink right of it.
    constexpr LONG kHugeEm = 400000;
    FontCache& fonts = SharedFontCache();
    const GlyphRef o =
        fonts.MapCharacter(fonts.Resolve(LogFont(u"Liberation Sans", -kHugeEm))->id, U'O');
    const GlyphBox box = fonts.Shape(o)->box;
    const double middle = (box.top + box.bottom) / 2;
    EmfBuilder emf = Prepared(-kHugeEm);
    emf.Mode(EMR_SETTEXTALIGN, TA_BASELINE);
    TextOut(emf, {.x = static_cast<LONG>(kPage / 2 - box.left * kHugeEm),
                  .y = static_cast<LONG>(kPage / 2 + middle * kHugeEm),
                  .text = u"O"});
    const Lines drawing = DrawingOf(emf);
    ASSERT_FALSE(drawing.empty());
    // The whole outline flattened for its size, as the cache would give it.
    size_t whole = 0;
    for (const auto& contour : fonts.Outline(o, kHugeEm)->contours) whole += contour.size();
    EXPECT_GT(whole, 1000u);
    EXPECT_LT(PointsDrawn(drawing), 200u) << whole;
}

}  // namespace

// The display list of a page: drawn band by band, whatever the bands, it
// gives the pixels of the page played whole into one DC (clips made, moved
// and combined; hatches, dashes, raster operations, gradients, bitmaps,
// text; the drawings held to a real GDI's pictures, in the device's pixels
// and in a plotter's style unit); a metafile that fails half way gives no
// list; a list costs about what its metafile does.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <windows.h>
#include "plothost/text_builder.h"
#include "support/dib_builder.h"
#include "support/dib_canvas.h"
#include "support/emf_builder.h"
#include "support/reference_drawings.h"
#include "win32/gdi32/device_style.h"
#include "win32/gdi32/display_list.h"

namespace {

constexpr DWORD kStockNullPen = 0x80000000u | NULL_PEN;
constexpr int kWidth = 90, kHeight = 110;

HENHMETAFILE MetafileOf(const std::vector<BYTE>& bytes) {
    return SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

// EMR_GRADIENTFILL of two vertices (a rectangle) or three (a triangle).
std::vector<DWORD> GradientPayload(ULONG mode, const std::vector<POINT>& at,
                                   const std::vector<COLORREF>& colours) {
    std::vector<DWORD> words{0, 0, 1000, 1000, static_cast<DWORD>(at.size()), 1, mode};
    for (size_t i = 0; i < at.size(); ++i) {
        words.push_back(static_cast<DWORD>(at[i].x));
        words.push_back(static_cast<DWORD>(at[i].y));
        words.push_back(DWORD{GetRValue(colours[i])} << 8 | DWORD{GetGValue(colours[i])} << 24);
        words.push_back(DWORD{GetBValue(colours[i])} << 8);
    }
    for (DWORD i = 0; i < at.size(); ++i) words.push_back(i);
    return words;
}

// Wide strokes with mitred, bevelled and round corners over fills of both
// fill modes.
void Strokes(EmfBuilder& emf) {
    emf.CreateBrush(1, BS_SOLID, RGB(200, 30, 40)).Select(1);
    emf.ExtCreatePen(2, PS_GEOMETRIC | PS_SOLID | PS_JOIN_MITER | PS_ENDCAP_FLAT, 31,
                     RGB(20, 40, 220))
        .Select(2);
    emf.Poly(EMR_POLYGON, {{50, 30}, {900, 120}, {400, 650}, {450, 90}});
    emf.Mode(EMR_SETPOLYFILLMODE, WINDING);
    emf.Poly(EMR_POLYGON, {{100, 900}, {800, 300}, {900, 950}, {50, 400}, {700, 980}});
    emf.ExtCreatePen(3, PS_GEOMETRIC | PS_SOLID | PS_JOIN_BEVEL | PS_ENDCAP_SQUARE, 13,
                     RGB(0, 90, 0))
        .Select(3);
    emf.Poly(EMR_POLYLINE, {{30, 990}, {500, 700}, {520, 990}, {990, 10}});
    emf.ExtCreatePen(4, PS_GEOMETRIC | PS_SOLID | PS_JOIN_ROUND | PS_ENDCAP_ROUND, 25,
                     RGB(90, 0, 90))
        .Select(4);
    emf.Poly(EMR_POLYBEZIER, {{100, 100}, {300, 1300}, {700, -300}, {950, 800}});
}

// Clips intersected, excluded, made of a path and of region records in
// every mode.
void Clips(EmfBuilder& emf) {
    emf.CreateBrush(1, BS_SOLID, RGB(0, 0, 200)).Select(1).Select(kStockNullPen);
    emf.Box(EMR_INTERSECTCLIPRECT, 50, 60, 940, 950);
    emf.Box(EMR_EXCLUDECLIPRECT, 300, 300, 500, 700);
    emf.Box(EMR_RECTANGLE, 0, 0, 1000, 500);
    emf.Record(EMR_BEGINPATH, {}).Poly(EMR_POLYGON, {{500, 100}, {950, 900}, {100, 800}});
    emf.Record(EMR_ENDPATH, {}).Mode(EMR_SELECTCLIPPATH, RGN_XOR);
    emf.Box(EMR_RECTANGLE, 0, 400, 1000, 1000);
    emf.SelectClipRegion(RGN_COPY, {{100, 100, 400, 300}, {600, 100, 900, 400}});
    emf.SelectClipRegion(RGN_OR, {{200, 600, 800, 700}});
    emf.SelectClipRegion(RGN_DIFF, {{250, 150, 350, 650}});
    emf.CreateBrush(5, BS_SOLID, RGB(240, 200, 0)).Select(5);
    emf.Box(EMR_ELLIPSE, 0, 0, 1000, 1000);
}

// Clips moved by OFFSETCLIPRGN, again and again, kept in saved states and
// a meta region: what moves into a band lies beside it before the move.
void MovedClips(EmfBuilder& emf) {
    emf.CreateBrush(1, BS_SOLID, RGB(0, 150, 150)).Select(1).Select(kStockNullPen);
    emf.Record(EMR_SAVEDC, {});
    emf.Box(EMR_INTERSECTCLIPRECT, 100, 100, 600, 600);
    emf.Box(EMR_EXCLUDECLIPRECT, 200, 200, 300, 450);
    for (int i = 0; i < 4; ++i) emf.Record(EMR_OFFSETCLIPRGN, {60, 70});
    emf.Box(EMR_RECTANGLE, 0, 0, 1000, 1000);
    emf.Record(EMR_RESTOREDC, {static_cast<DWORD>(-1)});
    emf.Record(EMR_BEGINPATH, {}).Poly(EMR_POLYGON, {{0, 0}, {1000, 200}, {300, 1000}});
    emf.Record(EMR_ENDPATH, {}).Mode(EMR_SELECTCLIPPATH, RGN_COPY);
    emf.Record(EMR_SETMETARGN, {});
    emf.SelectClipRegion(RGN_AND, {{0, 500, 1000, 1000}});
    emf.Record(EMR_OFFSETCLIPRGN, {static_cast<DWORD>(-150), static_cast<DWORD>(-300)});
    emf.CreateBrush(2, BS_SOLID, RGB(250, 120, 0)).Select(2);
    emf.Box(EMR_RECTANGLE, 0, 0, 1000, 1000);
}

// Hatches on an opaque background, dashes, and fills through raster
// operations that read the pixels beneath.
void Patterns(EmfBuilder& emf) {
    emf.CreateBrush(1, BS_HATCHED, RGB(0, 128, 0), HS_DIAGCROSS).Select(1);
    emf.Mode(EMR_SETBKCOLOR, RGB(255, 230, 230));
    emf.CreatePen(2, PS_DASHDOT, 0, RGB(0, 0, 0)).Select(2);
    emf.Box(EMR_ELLIPSE, 40, 30, 960, 700);
    emf.CreateBrush(3, BS_HATCHED, RGB(128, 0, 0), HS_BDIAGONAL).Select(3);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT);
    emf.Box(EMR_RECTANGLE, 300, 200, 990, 990);
    emf.CreateBrush(4, BS_SOLID, RGB(30, 200, 90)).Select(4).Select(kStockNullPen);
    emf.Mode(EMR_SETROP2, R2_XORPEN);
    emf.Box(EMR_ELLIPSE, 100, 400, 800, 1000);
    emf.Box(EMR_RECTANGLE, 0, 600, 600, 800);
}

// Gradients across and shaded triangles, one of them clipped; a bitmap
// stretched under a clip; text.
void Images(EmfBuilder& emf) {
    emf.Record(EMR_GRADIENTFILL, GradientPayload(GRADIENT_FILL_RECT_H, {{30, 20}, {970, 400}},
                                                 {RGB(255, 0, 0), RGB(0, 0, 255)}));
    emf.Record(EMR_GRADIENTFILL,
               GradientPayload(GRADIENT_FILL_TRIANGLE, {{0, 300}, {1000, 450}, {400, 1000}},
                               {RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)}));
    emf.Record(EMR_SAVEDC, {});
    emf.Box(EMR_INTERSECTCLIPRECT, 100, 500, 900, 900);
    emf.Record(
        EMR_STRETCHDIBITS,
        StretchDibitsPayload(
            DirectDib(3, 2, 24, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0x808080}), 50,
            450, 700, 500));
    emf.Record(EMR_RESTOREDC, {static_cast<DWORD>(-1)});
    CreateFont(emf, 4, LogFont(u"Liberation Sans", -260)).Select(4);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT).Mode(EMR_SETTEXTCOLOR, RGB(90, 0, 90));
    TextOut(emf, {.x = 80, .y = 620, .text = u"Hg&"});
}

// Draws the list in bands of rows rows and expects each the rows of whole.
void ExpectBandsAreWhole(const DisplayList& list, const DibCanvas& whole, int rows,
                         const std::string& what) {
    for (int top = 0; top < whole.height; top += rows) {
        const int n = std::min(rows, whole.height - top);
        DibCanvas band(whole.width, rows);
        ASSERT_TRUE(list.DrawRows(band.dc, static_cast<unsigned>(top), static_cast<unsigned>(n)));
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < whole.width; ++x)
                ASSERT_EQ(band.At(x, y), whole.At(x, top + y))
                    << what << ", bands of " << rows << ": pixel " << x << "," << top + y;
    }
}

TEST(DisplayList, BandsOfAPageAreThePageDrawnWhole) {
    const struct {
        const char* name;
        std::function<void(EmfBuilder&)> draw;
    } pictures[] = {{"strokes", Strokes},
                    {"clips", Clips},
                    {"moved clips", MovedClips},
                    {"patterns", Patterns},
                    {"images", Images}};
    for (const auto& picture : pictures) {
        EmfBuilder emf;
        picture.draw(emf);
        const std::vector<BYTE> bytes = emf.Bytes();
        DibCanvas whole(kWidth, kHeight);
        ASSERT_TRUE(whole.Play(bytes)) << picture.name;
        size_t edges = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 1; x < kWidth; ++x) edges += whole.At(x, y) != whole.At(x - 1, y);
        ASSERT_GT(edges, 150u) << picture.name << ": the picture must have edges to compare";

        HENHMETAFILE metafile = MetafileOf(bytes);
        const RECT all{0, 0, kWidth, kHeight};
        std::string error;
        for (const unsigned binRows : {1u, 4u, 64u}) {
            const std::unique_ptr<DisplayList> list =
                DisplayList::Record(whole.dc, metafile, all, kWidth, kHeight, binRows, &error);
            ASSERT_NE(list, nullptr) << picture.name << ": " << error;
            EXPECT_GE(list->Primitives(), 2u);
            for (const int rows : {1, 3, 17, kHeight}) {
                ExpectBandsAreWhole(
                    *list, whole, rows,
                    std::string(picture.name) + ", bins of " + std::to_string(binRows));
            }
            DibCanvas band(kWidth, 4);
            EXPECT_FALSE(list->DrawRows(band.dc, kHeight - 3, 4)) << "rows past the page";
            EXPECT_FALSE(list->DrawRows(band.dc, 0, 5)) << "rows past the bitmap";
        }
        DeleteEnhMetaFile(metafile);
    }
}

// The drawings that the raster GDI is held to a real GDI with (wide pens,
// pixel-stepped dashes, hatches, stretch modes, clips, curves) and the
// tiger: the list draws what the DC draws, also with a style unit of a
// plotter's screen pixel.
TEST(DisplayList, ReferenceDrawingsInBandsAreTheirPictures) {
    struct Case {
        std::string name;
        std::vector<BYTE> bytes;
        int dpi;
    };
    std::vector<Case> cases;
    for (const ReferenceDrawing& drawing : ReferenceDrawings())
        cases.push_back({drawing.name, drawing.build(), 300});
    std::ifstream tiger(HPGL2_TEST_DATA_DIR "/tiger.emf", std::ios::binary);
    cases.push_back({"tiger", std::vector<BYTE>(std::istreambuf_iterator<char>(tiger), {}), 100});
    for (const Case& c : cases) {
        ASSERT_GT(c.bytes.size(), sizeof(ENHMETAHEADER)) << c.name;
        ENHMETAHEADER header{};
        std::memcpy(&header, c.bytes.data(), sizeof header);
        const SIZE size = ReferencePictureSize(header, c.dpi);
        HENHMETAFILE metafile = MetafileOf(c.bytes);
        for (const double unit : {1.0, 2.5}) {
            const std::string what = c.name + " in units of " + std::to_string(unit) + " pixels";
            DibCanvas whole(size.cx, size.cy);
            ASSERT_TRUE(SetDeviceStyleUnit(whole.dc, unit));
            ASSERT_TRUE(whole.Play(c.bytes)) << what;
            const RECT all{0, 0, size.cx, size.cy};
            std::string error;
            const std::unique_ptr<DisplayList> list =
                DisplayList::Record(whole.dc, metafile, all, static_cast<unsigned>(size.cx),
                                    static_cast<unsigned>(size.cy), 16, &error);
            ASSERT_NE(list, nullptr) << what << ": " << error;
            for (const int rows : {13, 64}) ExpectBandsAreWhole(*list, whole, rows, what);
        }
        DeleteEnhMetaFile(metafile);
    }
}

TEST(DisplayList, MetafileThatFailsHalfWayGivesNoList) {
    EmfBuilder emf;
    emf.Handles(2).CreateBrush(1, BS_SOLID, RGB(255, 0, 0)).Select(1);
    emf.Box(EMR_RECTANGLE, 0, 0, 500, 500);
    emf.Select(9);  // beyond the handle table
    HENHMETAFILE metafile = MetafileOf(emf.Bytes());
    DibCanvas canvas(10, 10);
    const RECT all{0, 0, 10, 10};
    std::string error;
    EXPECT_EQ(DisplayList::Record(canvas.dc, metafile, all, 10, 10, 4, &error), nullptr);
    EXPECT_NE(error.find("record 4 (EMR_SELECTOBJECT)"), std::string::npos) << error;
    EXPECT_EQ(DisplayList::Record(nullptr, metafile, all, 10, 10, 4, &error), nullptr);
    EXPECT_EQ(error, "no device context to play the metafile under");
    DeleteEnhMetaFile(metafile);
}

TEST(DisplayList, CostsAboutWhatItsMetafileDoes) {
    // Polylines of ten points scattered over the page, some across all of
    // it: a list must not cost a multiple of the records it was made of.
    EmfBuilder emf;
    emf.CreatePen(1, PS_SOLID, 0, RGB(0, 0, 0)).Select(1);
    unsigned seed = 7;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<LONG>((seed >> 8) % static_cast<unsigned>(range));
    };
    for (int i = 0; i < 20000; ++i) {
        std::vector<POINT> points;
        const int reach = i % 10 == 0 ? 1000 : 40;
        const LONG x = next(1000), y = next(1000);
        for (int k = 0; k < 10; ++k)
            points.push_back({x + next(reach) - reach / 2, y + next(reach) - reach / 2});
        emf.Poly(EMR_POLYLINE, points);
    }
    const std::vector<BYTE> bytes = emf.Bytes();
    HENHMETAFILE metafile = MetafileOf(bytes);
    DibCanvas canvas(1, 1);
    // An A0 page at 600 dpi.
    const RECT page{0, 0, 19866, 28087};
    std::string error;
    const std::unique_ptr<DisplayList> list =
        DisplayList::Record(canvas.dc, metafile, page, 19866, 28087, 16, &error);
    ASSERT_NE(list, nullptr) << error;
    // A few lie wholly off the page, beyond its top or left edge.
    EXPECT_GE(list->Primitives(), 19990u);
    EXPECT_LT(list->Bytes(), bytes.size() * 3 / 2) << "metafile of " << bytes.size() << " bytes";
    DeleteEnhMetaFile(metafile);
}

}  // namespace

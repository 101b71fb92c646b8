#include "support/reference_drawings.h"

#include <cmath>
#include <numbers>

#include "support/dib_builder.h"
#include "support/emf_builder.h"

namespace {

constexpr DWORD kStock = 0x80000000;

DWORD U(LONG v) {
    return static_cast<DWORD>(v);
}

// A sheet of width x height pixels at 300 dpi (multiples of 15 pixels, so
// that the frame is whole hundredths of a millimetre).
EmfBuilder Sheet(LONG width, LONG height) {
    EmfBuilder emf;
    emf.Device(3000, 3000, 254, 254).Frame(0, 0, width * 127 / 15, height * 127 / 15);
    return emf;
}

void Rect(EmfBuilder& emf, DWORD type, LONG l, LONG t, LONG r, LONG b, std::vector<LONG> more) {
    std::vector<DWORD> payload{U(l), U(t), U(r), U(b)};
    for (LONG v : more) payload.push_back(U(v));
    emf.Record(type, payload);
}

POINT Polar(LONG cx, LONG cy, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return POINT{cx + static_cast<LONG>(std::lround(radius * std::cos(a))),
                 cy - static_cast<LONG>(std::lround(radius * std::sin(a)))};
}

// Spokes from the centre every step degrees, with the pen selected.
void Star(EmfBuilder& emf, LONG cx, LONG cy, double radius, double step) {
    for (double a = 0; a < 360; a += step) {
        const POINT end = Polar(cx, cy, radius, a);
        emf.MoveTo(cx, cy).LineTo(end.x, end.y);
    }
}

std::vector<POINT> Zigzag(LONG x, LONG y, LONG step, LONG rise, int teeth) {
    std::vector<POINT> points;
    for (int i = 0; i <= 2 * teeth; ++i)
        points.push_back(POINT{x + i * step, i % 2 ? y - rise : y});
    return points;
}

std::vector<BYTE> Pens() {
    EmfBuilder emf = Sheet(600, 450);
    // Cosmetic one-pixel lines at every angle, made both ways.
    emf.CreatePen(1, PS_SOLID, 0, RGB(0, 0, 0)).Select(1);
    Star(emf, 80, 80, 70, 7.5);
    emf.ExtCreatePen(2, PS_COSMETIC | PS_SOLID, 1, RGB(0, 0, 200)).Select(2);
    Star(emf, 240, 80, 70, 11.25);
    emf.Select(kStock | NULL_BRUSH);
    // Wide pens of CreatePen (round ends and joins), odd and even widths.
    const LONG widths[] = {3, 4, 5, 7, 9};
    for (int i = 0; i < 5; ++i) {
        emf.CreatePen(3, PS_SOLID, widths[i], RGB(200, 0, 0)).Select(3);
        emf.MoveTo(340 + 50 * i, 20).LineTo(340 + 50 * i, 120).LineTo(370 + 50 * i, 140);
        Rect(emf, EMR_RECTANGLE, 335 + 50 * i, 150, 375 + 50 * i, 181, {});
        emf.Select(1).Delete(3);
    }
    // Geometric pens: every end cap with every join, lines at many angles.
    const DWORD caps[] = {PS_ENDCAP_FLAT, PS_ENDCAP_SQUARE, PS_ENDCAP_ROUND};
    const DWORD joins[] = {PS_JOIN_MITER, PS_JOIN_BEVEL, PS_JOIN_ROUND};
    for (int c = 0; c < 3; ++c)
        for (int j = 0; j < 3; ++j) {
            const LONG w = widths[(c * 3 + j) % 5];
            emf.ExtCreatePen(4, PS_GEOMETRIC | PS_SOLID | caps[c] | joins[j], U(w), RGB(0, 120, 0));
            emf.Select(4).Poly(EMR_POLYLINE, Zigzag(20 + 190 * j, 230 + 50 * c, 25, 30, 3));
            emf.Select(1).Delete(4);
        }
    for (int i = 0; i < 5; ++i) {
        emf.ExtCreatePen(5, PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, U(widths[i]),
                         RGB(120, 0, 160));
        emf.Select(5);
        for (double a = 0; a < 180; a += 22.5) {
            const POINT from = Polar(60 + 110 * i, 390, 10, a);
            const POINT to = Polar(60 + 110 * i, 390, 45, a);
            emf.MoveTo(from.x, from.y).LineTo(to.x, to.y);
        }
        emf.Select(1).Delete(5);
    }
    return emf.Bytes();
}

std::vector<BYTE> Dashes() {
    EmfBuilder emf = Sheet(600, 450);
    const DWORD kinds[] = {PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    emf.Mode(EMR_SETBKMODE, TRANSPARENT);
    for (int k = 0; k < 4; ++k) {
        emf.CreatePen(1, kinds[k], 0, RGB(0, 0, 0)).Select(1);
        emf.MoveTo(20, 20 + 12 * k).LineTo(580, 20 + 12 * k);
        emf.MoveTo(20 + 60 * k, 80).LineTo(140 + 60 * k, 200);
        emf.ExtCreatePen(2, PS_GEOMETRIC | kinds[k] | PS_ENDCAP_FLAT, 4, RGB(0, 0, 200));
        emf.Select(2).MoveTo(300, 80 + 14 * k).LineTo(580, 80 + 14 * k);
        emf.ExtCreatePen(3, PS_GEOMETRIC | kinds[k] | PS_ENDCAP_ROUND, 5, RGB(200, 0, 0));
        emf.Select(3).MoveTo(300 + 40 * k, 150).LineTo(420 + 40 * k, 230);
        emf.Select(kStock | BLACK_PEN).Delete(1).Delete(2).Delete(3);
    }
    // Gaps of cosmetic styles take the background colour when it is opaque.
    emf.Mode(EMR_SETBKMODE, OPAQUE).Record(EMR_SETBKCOLOR, {RGB(255, 220, 0)});
    emf.ExtCreatePen(1, PS_COSMETIC | PS_ALTERNATE, 1, RGB(0, 0, 0)).Select(1);
    emf.MoveTo(20, 250).LineTo(280, 250).MoveTo(20, 255).LineTo(150, 320);
    emf.CreatePen(2, PS_DASHDOT, 0, RGB(0, 100, 0)).Select(2);
    emf.MoveTo(20, 262).LineTo(280, 262);
    emf.Mode(EMR_SETBKMODE, TRANSPARENT);
    // User styles: cosmetic in pixels, geometric in logical units.
    emf.ExtCreatePen(3, PS_COSMETIC | PS_USERSTYLE, 1, RGB(0, 0, 0), {6, 3, 2, 3}).Select(3);
    emf.MoveTo(20, 340).LineTo(280, 340).LineTo(280, 430);
    emf.ExtCreatePen(4, PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 5, RGB(0, 0, 200), {20, 10});
    emf.Select(4).MoveTo(20, 360).LineTo(260, 360).LineTo(260, 430);
    emf.ExtCreatePen(5, PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 31, RGB(0, 0, 0), {4, 4});
    emf.Select(5).MoveTo(20, 400).LineTo(230, 400);
    // Dashes run on round corners and curves.
    emf.CreatePen(6, PS_DASH, 0, RGB(200, 0, 0)).Select(6).Select(kStock | NULL_BRUSH);
    Rect(emf, EMR_ELLIPSE, 320, 260, 580, 430, {});
    emf.ExtCreatePen(7, PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, RGB(0, 0, 0));
    emf.Select(7).Poly(EMR_POLYLINE, Zigzag(340, 400, 30, 100, 4));
    return emf.Bytes();
}

std::vector<BYTE> Hatches() {
    EmfBuilder emf = Sheet(600, 450);
    const ULONG styles[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                            HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
    emf.Select(kStock | NULL_PEN).Record(EMR_SETBKCOLOR, {RGB(255, 240, 160)});
    // A brush is made anew after each change of the background mode: Wine
    // keeps a hatched brush's background as it was at its first use.
    for (int s = 0; s < 6; ++s) {
        emf.Mode(EMR_SETBKMODE, OPAQUE);
        emf.CreateBrush(1, BS_HATCHED, RGB(0, 0, 160), styles[s]).Select(1);
        Rect(emf, EMR_RECTANGLE, 15 + 95 * s, 15, 100 + 95 * s, 90, {});
        emf.Mode(EMR_SETBKMODE, TRANSPARENT);
        emf.CreateBrush(3, BS_HATCHED, RGB(0, 0, 160), styles[s]).Select(3);
        Rect(emf, EMR_ELLIPSE, 15 + 95 * s, 100, 100 + 95 * s, 190, {});
        emf.Poly(EMR_POLYGON, {{15 + 95 * s, 290}, {57 + 95 * s, 200}, {100 + 95 * s, 290}});
        emf.Select(kStock | WHITE_BRUSH).Delete(1).Delete(3);
    }
    // The hatch keeps to the device, from the brush origin.
    emf.Record(EMR_SETBRUSHORGEX, {3, 5});
    emf.CreatePen(2, PS_SOLID, 0, RGB(0, 0, 0)).Select(2);
    for (int s = 0; s < 6; ++s) {
        emf.CreateBrush(1, BS_HATCHED, RGB(160, 0, 0), styles[s]).Select(1);
        emf.Mode(EMR_SETBKMODE, s % 2 ? OPAQUE : TRANSPARENT);
        Rect(emf, EMR_ROUNDRECT, 15 + 95 * s, 310, 100 + 95 * s, 435, {30, 20});
        emf.Select(kStock | WHITE_BRUSH).Delete(1);
    }
    return emf.Bytes();
}

// A few distinct colours, a smooth ramp and a one-bit checker, drawn
// enlarged, reduced and mirrored in each stretch mode.
std::vector<BYTE> Bitmaps() {
    EmfBuilder emf = Sheet(600, 450);
    std::vector<uint32_t> patches;
    for (int i = 0; i < 6 * 4; ++i)
        patches.push_back(0xFF000000u | ((i * 97) % 256) << 16 | ((i * 53 + 80) % 256) << 8 |
                          ((i * 31 + 160) % 256));
    const TestDib few = DirectDib(6, 4, 24, patches);
    std::vector<uint32_t> ramp;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ramp.push_back(0xFF000000u | uint32_t(x * 6) << 16 | uint32_t(y * 8) << 8 |
                           uint32_t(255 - x * 3));
    const TestDib smooth = DirectDib(40, 30, 24, ramp);
    std::vector<int> checker;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) checker.push_back((x + y) % 2);
    const TestDib bits = IndexedDib(16, 16, 1, {0x000000, 0xFFFFFF}, checker);
    const DWORD modes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE};
    for (int m = 0; m < 4; ++m) {
        const LONG x = 10 + 148 * m;
        emf.Mode(EMR_SETSTRETCHBLTMODE, modes[m]);
        emf.Record(EMR_STRETCHDIBITS, StretchDibitsPayload(few, x, 10, 137, 91));
        emf.Record(EMR_STRETCHDIBITS, StretchDibitsPayload(smooth, x, 110, 137, 103));
        emf.Record(EMR_STRETCHDIBITS, StretchDibitsPayload(smooth, x, 225, 27, 19));
        emf.Record(EMR_STRETCHDIBITS, StretchDibitsPayload(bits, x + 40, 225, 7, 7));
        emf.Record(EMR_STRETCHDIBITS, StretchDibitsPayload(few, x + 137, 260, -137, 91));
        emf.Record(EMR_STRETCHDIBITS, StretchDibitsPayload(bits, x, 360, 61, 61));
    }
    return emf.Bytes();
}

std::vector<BYTE> Clipping() {
    EmfBuilder emf = Sheet(600, 450);
    emf.CreateBrush(1, BS_SOLID, RGB(80, 160, 255)).Select(1);
    emf.CreatePen(2, PS_SOLID, 0, RGB(0, 0, 0)).Select(2);
    emf.ExtCreatePen(3, PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND, 7, RGB(200, 0, 0));
    const auto crossing = [&](LONG x, LONG y) {
        Rect(emf, EMR_ELLIPSE, x, y, x + 180, y + 180, {});
        emf.Select(3).MoveTo(x, y + 90).LineTo(x + 180, y + 40).Select(2);
        for (LONG i = 0; i < 180; i += 9) emf.MoveTo(x + i, y).LineTo(x + 180 - i, y + 180);
    };
    emf.Record(EMR_SAVEDC, {});
    emf.Box(EMR_INTERSECTCLIPRECT, 30, 30, 161, 151);
    emf.Box(EMR_EXCLUDECLIPRECT, 70, 70, 101, 91);
    crossing(10, 10);
    emf.Record(EMR_RESTOREDC, {U(-1)}).Record(EMR_SAVEDC, {});
    // A region of two rectangles, moved.
    emf.SelectClipRegion(RGN_COPY, {{215, 15, 300, 120}, {320, 60, 390, 190}});
    emf.Record(EMR_OFFSETCLIPRGN, {5, 3});
    crossing(210, 10);
    emf.Record(EMR_RESTOREDC, {U(-1)}).Record(EMR_SAVEDC, {});
    // A clip path: an ellipse, then a triangle taken away.
    emf.Record(EMR_BEGINPATH, {});
    Rect(emf, EMR_ELLIPSE, 420, 20, 590, 190, {});
    emf.Record(EMR_ENDPATH, {}).Record(EMR_SELECTCLIPPATH, {RGN_COPY});
    emf.Record(EMR_BEGINPATH, {});
    emf.Poly(EMR_POLYGON, {{505, 60}, {560, 160}, {450, 160}});
    emf.Record(EMR_ENDPATH, {}).Record(EMR_SELECTCLIPPATH, {RGN_DIFF});
    crossing(410, 10);
    emf.Record(EMR_RESTOREDC, {U(-1)});
    // The meta region bounds what follows, whatever the clip does after it.
    emf.Box(EMR_INTERSECTCLIPRECT, 20, 230, 300, 420);
    emf.Record(EMR_SETMETARGN, {});
    emf.SelectClipRegion(RGN_COPY, {{100, 210, 580, 300}});
    crossing(40, 220);
    emf.SelectClipRegion(RGN_COPY, {}, false);
    crossing(250, 250);
    return emf.Bytes();
}

std::vector<BYTE> Transforms() {
    EmfBuilder emf = Sheet(600, 450);
    emf.CreateBrush(1, BS_SOLID, RGB(255, 200, 120)).Select(1);
    emf.CreateBrush(2, BS_HATCHED, RGB(0, 0, 160), HS_DIAGCROSS);
    emf.CreatePen(3, PS_SOLID, 0, RGB(0, 0, 0)).Select(3);
    emf.ExtCreatePen(4, PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER, 4,
                     RGB(0, 120, 0));
    emf.ExtCreatePen(5, PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 3, RGB(160, 0, 0));
    // Ellipses only where the transform does not turn or shear them: Wine
    // draws a turned ellipse upright in the box of its turned corners.
    const auto figure = [&](bool upright) {
        emf.Select(1).Select(3);
        Rect(emf, EMR_RECTANGLE, 0, 0, 80, 50, {});
        if (upright) Rect(emf, EMR_ELLIPSE, 10, 60, 90, 110, {});
        emf.Select(2);
        Rect(emf, EMR_RECTANGLE, 90, 0, 140, 50, {});
        emf.Select(4).Poly(EMR_POLYLINE, {{0, 130}, {40, 120}, {70, 150}, {130, 125}});
        emf.Select(5).MoveTo(0, 160).LineTo(140, 160);
    };
    const float c = std::cos(0.5236f), s = std::sin(0.5236f);
    emf.World(1, 0, 0, 1, 20, 20);
    figure(true);
    emf.World(1.5f * c, 1.5f * s, -1.5f * s, 1.5f * c, 300, 10);
    figure(false);
    emf.World(1, 0, 0.4f, 0.8f, 20, 250);
    figure(false);
    // Mapping modes under the world transform.
    emf.World(1, 0, 0, 1, 0, 0);
    emf.Mode(EMR_SETMAPMODE, MM_ANISOTROPIC);
    emf.Record(EMR_SETWINDOWEXTEX, {200, 200}).Record(EMR_SETVIEWPORTEXTEX, {240, 150});
    emf.Record(EMR_SETVIEWPORTORGEX, {330, 260});
    figure(true);
    return emf.Bytes();
}

std::vector<BYTE> Curves() {
    EmfBuilder emf = Sheet(600, 450);
    emf.CreateBrush(1, BS_SOLID, RGB(255, 180, 180)).Select(1);
    emf.CreatePen(2, PS_SOLID, 0, RGB(120, 0, 0)).Select(2);
    LONG x = 10;
    for (LONG size : {5, 8, 13, 21, 34, 55, 89, 144}) {
        Rect(emf, EMR_ELLIPSE, x, 10, x + size, 10 + size * 2 / 3 + 1, {});
        x += size + 8;
    }
    emf.Select(kStock | NULL_PEN);
    Rect(emf, EMR_ELLIPSE, 10, 130, 171, 231, {});
    emf.Select(2);
    Rect(emf, EMR_ROUNDRECT, 190, 130, 320, 230, {40, 30});
    Rect(emf, EMR_CHORD, 340, 130, 460, 230, {460, 130, 340, 200});
    Rect(emf, EMR_PIE, 470, 130, 590, 230, {590, 180, 530, 130});
    emf.Select(kStock | NULL_BRUSH);
    Rect(emf, EMR_ARC, 10, 250, 150, 340, {150, 250, 10, 340});
    emf.Poly(EMR_POLYBEZIER, {{170, 340}, {200, 230}, {280, 400}, {320, 260}});
    // A filled path of Bézier curves.
    emf.Select(1).Record(EMR_BEGINPATH, {});
    emf.MoveTo(340, 430).Poly(
        EMR_POLYBEZIERTO, {{340, 250}, {590, 250}, {590, 430}, {520, 330}, {410, 330}, {340, 430}});
    emf.Record(EMR_CLOSEFIGURE, {}).Record(EMR_ENDPATH, {});
    emf.Record(EMR_STROKEANDFILLPATH, {0, 0, 0, 0});
    emf.ExtCreatePen(3, PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 5, RGB(0, 0, 160)).Select(3);
    Rect(emf, EMR_ARC, 20, 350, 300, 440, {300, 395, 20, 395});
    return emf.Bytes();
}

const ReferenceDrawing kDrawings[] = {
    {"pens", Pens},         {"dashes", Dashes},         {"hatches", Hatches}, {"bitmaps", Bitmaps},
    {"clipping", Clipping}, {"transforms", Transforms}, {"curves", Curves},
};

}  // namespace

std::span<const ReferenceDrawing> ReferenceDrawings() {
    return kDrawings;
}

SIZE ReferencePictureSize(const ENHMETAHEADER& header, int dpi) {
    const double w = static_cast<double>(header.rclFrame.right) - header.rclFrame.left;
    const double h = static_cast<double>(header.rclFrame.bottom) - header.rclFrame.top;
    return SIZE{static_cast<LONG>(std::lround(w * dpi / 2540.0)),
                static_cast<LONG>(std::lround(h * dpi / 2540.0))};
}

// Text records: fonts are created and selected like pens, and each
// ExtTextOut becomes its glyphs' outlines, filled in the text colour
// through the driver's path callbacks, so that words stay sharp at any
// scale. The opaque rectangle and an opaque background are filled first,
// underline and strike-out are filled bars.
#include <array>
#include <cmath>

#include "win32/gdi32/metafile/text_layout.h"
#include "win32/gdi32/metafile/emf_playback.h"
#include "win32/gdi32/metafile/record_geometry.h"
#include "win32/kernel32/text_decoding.h"

namespace {

using R = RecordResult;

R PlayCreateFont(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EmfExtCreateFontRecord>(r);
    if (!rec) return R::Failed;
    GdiFont font;
    font.logFont = rec->elfw;
    font.info = SharedFontCache().Resolve(font.logFont);
    if (font.info && font.info->substituted &&
        pb.warnedFaces.insert(font.info->requestedFace).second)
        pb.warnings.push_back("font \"" + font.info->requestedFace +
                              "\" is not installed: its text is drawn with " + font.info->family);
    GdiObject object;
    object.kind = GdiObjectKind::Font;
    object.font = std::make_shared<const GdiFont>(font);
    return PutObject(pb, r, rec->ihFont, std::move(object), R::Played);
}

R PlaySetTextAlign(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETTEXTALIGN>(r);
    if (!rec) return R::Failed;
    pb.State().textAlign = rec->iMode;
    return R::Played;
}

R PlaySetTextColor(Playback& pb, const EmfRecordView& r) {
    const auto* rec = pb.Fixed<EMRSETTEXTCOLOR>(r);
    if (!rec) return R::Failed;
    pb.State().textColor = rec->crColor & 0x00FFFFFF;
    return R::Played;
}

DPoint Add(DPoint a, DPoint b, double k) {
    return {a.x + b.x * k, a.y + b.y * k};
}

double SignOf(double v) {
    return v < 0 ? -1 : 1;
}

// The directions of a text on the logical plane. Text stands upright and
// reads to the right on the page whichever way the mapping mode turns the
// axes; the escapement turns the baseline and the orientation the glyphs,
// counter-clockwise as seen on the page.
struct TextFrame {
    DPoint baseline;  // one logical unit along the baseline
    DPoint up;        // one logical unit up from it
    DPoint glyphX;    // the glyphs' own axes
    DPoint glyphUp;

    static TextFrame Of(const DcState& dc, const LOGFONTW& font, bool advanced) {
        const Affine page = PageToDevice(dc);
        const DPoint right{SignOf(page.m11), 0};
        const DPoint upward{0, -SignOf(page.m22)};
        const auto turn = [&](LONG tenths, DPoint* x, DPoint* y) {
            const double a = tenths * M_PI / 1800;
            const double c = std::cos(a), s = std::sin(a);
            *x = {right.x * c + upward.x * s, right.y * c + upward.y * s};
            *y = {-right.x * s + upward.x * c, -right.y * s + upward.y * c};
        };
        TextFrame f;
        turn(font.lfEscapement, &f.baseline, &f.up);
        // Outside the advanced graphics mode glyphs turn with the baseline.
        turn(advanced ? font.lfOrientation : font.lfEscapement, &f.glyphX, &f.glyphUp);
        return f;
    }
    // A point of the text's box: along the baseline from origin, and up.
    DPoint At(DPoint origin, double along, double upwards) const {
        return Add(Add(origin, baseline, along), up, upwards);
    }
};

// A band along the baseline from 0 to width, between bottom and top
// (upwards), as a closed figure in device pixels.
void AddBand(GdiPath* figures, const TextFrame& frame, DPoint origin, double width, double bottom,
             double top, const Affine& toDevice) {
    figures->StartFigure(Apply(toDevice, frame.At(origin, 0, bottom)));
    figures->AddPoint(Apply(toDevice, frame.At(origin, width, bottom)));
    figures->AddPoint(Apply(toDevice, frame.At(origin, width, top)));
    figures->AddPoint(Apply(toDevice, frame.At(origin, 0, top)));
    figures->CloseFigure();
}

// Where the run's baseline starts, from the reference point (or the
// current position, which then moves past the text) and the alignment.
DPoint PlaceRun(DcState* dc, POINTL referencePoint, const TextRun& run, const TextFrame& frame,
                const FontMetrics& m, const TextSizes& sizes) {
    const UINT align = dc->textAlign;
    const bool updateCp = align & TA_UPDATECP;
    const bool centred = (align & TA_CENTER) == TA_CENTER;  // TA_CENTER holds TA_RIGHT's bit
    const DPoint reference = updateCp ? dc->position : Logical(referencePoint);
    const double along = centred ? -run.advanceX / 2 : (align & TA_RIGHT) ? -run.advanceX : 0;
    double upwards = -m.ascent * sizes.emY;  // TA_TOP
    if ((align & TA_BASELINE) == TA_BASELINE)
        upwards = 0;
    else if (align & TA_BOTTOM)
        upwards = m.descent * sizes.emY;
    // The current position moves to the text's end when the text starts
    // there, to its start when it ends there; centred text leaves it.
    if (updateCp && !centred) {
        dc->position = (align & TA_RIGHT)
                           ? frame.At(reference, -run.advanceX, 0)
                           : Add(frame.At(reference, run.advanceX, 0), frame.up, -run.advanceY);
    }
    return frame.At(reference, along, upwards);
}

RegionRef ClipToRectangle(Playback& pb, const RECTL& r) {
    const Affine& t = pb.ToDevice();
    const double l = r.left, top = r.top, right = r.right, b = r.bottom;
    const std::array<POINT, 4> corners{
        RoundToDevice(Apply(t, {l, top})), RoundToDevice(Apply(t, {right, top})),
        RoundToDevice(Apply(t, {right, b})), RoundToDevice(Apply(t, {l, b}))};
    const RegionRef region = pb.device.PolygonRegion(corners, ALTERNATE);
    const RegionRef base = pb.State().clip ? pb.State().clip : pb.PageRegion();
    return pb.device.CombineRegions(base, region, RGN_AND);
}

void FillRectangle(Playback& pb, const RECTL& r, COLORREF color) {
    if (r.left == r.right || r.top == r.bottom) return;
    GdiPath figures;
    AddRectangle(&figures, r, false, pb.ToDevice());
    const GdiBrush brush{BS_SOLID, color, 0};
    DcState dc = pb.State();
    dc.rop2 = R2_COPYPEN;
    pb.device.Fill(figures.Figures(), &brush, dc, true);
}

// The characters of the record: UTF-16 or code-page text, or glyph indexes
// (one per code unit, never combined).
std::vector<TextCharacter> CharactersOf(const EmfExtTextOut& view, bool wide, bool glyphIndexes,
                                        BYTE charset) {
    if (!glyphIndexes)
        return wide ? DecodeUtf16Text(view.text) : DecodeAnsiText(view.text, charset);
    std::vector<TextCharacter> out;
    const size_t unit = wide ? 2 : 1;
    for (size_t i = 0; i + unit <= view.text.size(); i += unit) {
        const char32_t g = wide ? (view.text[i] | view.text[i + 1] << 8) : view.text[i];
        out.push_back({g, static_cast<DWORD>(i / unit), 1});
    }
    return out;
}

R PlayExtTextOut(Playback& pb, const EmfRecordView& r) {
    EmfExtTextOut view;
    if (!ReadEmfRecord(pb.doc, r, &view, &pb.error)) return R::Failed;
    const EMREXTTEXTOUTW& rec = *view.record;
    const EMRTEXT& text = rec.emrtext;
    DcState& dc = pb.State();
    const GdiFont& font = *dc.font;
    FontCache& fonts = SharedFontCache();
    const FontInfo* info = font.info ? font.info : fonts.Resolve(font.logFont);
    const bool glyphIndexes = text.fOptions & ETO_GLYPH_INDEX;
    // Glyph indexes of a face that is not installed would pick the wrong
    // glyphs of its substitute: such text is left out, and counted.
    if (!info || (glyphIndexes && info->substituted && view.text.size() > 0)) return R::Skipped;

    if (text.fOptions & ETO_OPAQUE) FillRectangle(pb, text.rcl, dc.bkColor);
    if (view.text.empty()) return R::Played;

    const std::vector<TextCharacter> characters =
        CharactersOf(view, r.type == EMR_EXTTEXTOUTW, glyphIndexes, font.logFont.lfCharSet);
    TextSizes sizes = SizesOf(font.logFont, info->metrics);
    const Affine& toDevice = pb.ToDevice();
    sizes.pixelsPerEm = sizes.emY * LengthScale(toDevice);
    const TextRun run = LayOutText(fonts, *info, sizes, characters,
                                   Spacing{view.dx, (text.fOptions & ETO_PDY) != 0}, glyphIndexes);
    const TextFrame frame = TextFrame::Of(dc, font.logFont, rec.iGraphicsMode == GM_ADVANCED);
    const FontMetrics& m = info->metrics;

    const DPoint origin = PlaceRun(&dc, text.ptlReference, run, frame, m, sizes);

    DcState textDc = dc;
    textDc.rop2 = R2_COPYPEN;
    textDc.polyFillMode = WINDING;
    if (text.fOptions & ETO_CLIPPED) textDc.clip = ClipToRectangle(pb, text.rcl);

    // An opaque background fills the text's cells.
    GdiPath figures;
    if (dc.bkMode == OPAQUE && !(text.fOptions & ETO_OPAQUE)) {
        AddBand(&figures, frame, origin, run.advanceX, -m.descent * sizes.emY, m.ascent * sizes.emY,
                toDevice);
        const GdiBrush background{BS_SOLID, dc.bkColor, 0};
        pb.device.Fill(figures.Figures(), &background, textDc, true);
    }

    const GdiBrush ink{BS_SOLID, dc.textColor, 0};
    for (const PlacedGlyph& placed : run.glyphs) {
        const std::shared_ptr<const GlyphOutline> outline =
            fonts.Outline(placed.glyph, sizes.pixelsPerEm);
        if (!outline || outline->contours.empty()) continue;
        const DPoint at = Add(frame.At(origin, placed.x, 0), frame.up, -placed.y);
        const Affine emToLogical{frame.glyphX.x * sizes.emX,
                                 frame.glyphX.y * sizes.emX,
                                 frame.glyphUp.x * sizes.emY,
                                 frame.glyphUp.y * sizes.emY,
                                 at.x,
                                 at.y};
        const Affine emToDevice = Then(emToLogical, toDevice);
        figures.Clear();
        for (const std::vector<GlyphPoint>& contour : outline->contours) {
            figures.StartFigure(Apply(emToDevice, {contour[0].x, contour[0].y}));
            for (size_t i = 1; i < contour.size(); ++i)
                figures.AddPoint(Apply(emToDevice, {contour[i].x, contour[i].y}));
            figures.CloseFigure();
        }
        // One contour never crosses itself: it fills alike in both modes.
        pb.device.Fill(figures.Figures(), &ink, textDc, figures.Figures().size() == 1);
    }

    // Underline and strike-out span the run, in the text colour.
    figures.Clear();
    if (font.logFont.lfUnderline) {
        const double half = std::max(m.underlineThickness, 0.02) * sizes.emY / 2;
        const double mid = m.underlinePosition * sizes.emY;
        AddBand(&figures, frame, origin, run.advanceX, mid - half, mid + half, toDevice);
    }
    if (font.logFont.lfStrikeOut) {
        const double half = std::max(m.strikeoutThickness, 0.02) * sizes.emY / 2;
        const double mid = m.strikeoutPosition * sizes.emY;
        AddBand(&figures, frame, origin, run.advanceX, mid - half, mid + half, toDevice);
    }
    for (const Figure& bar : figures.Figures())
        pb.device.Fill(std::span<const Figure>(&bar, 1), &ink, textDc, true);
    return R::Played;
}

}  // namespace

void AddTextHandlers(HandlerTable& t) {
    t[EMR_EXTCREATEFONTINDIRECTW] = PlayCreateFont;
    t[EMR_SETTEXTALIGN] = PlaySetTextAlign;
    t[EMR_SETTEXTCOLOR] = PlaySetTextColor;
    t[EMR_EXTTEXTOUTW] = PlayExtTextOut;
    t[EMR_EXTTEXTOUTA] = PlayExtTextOut;
}

#include "win32/gdi32/metafile/gdi_objects.h"

#include <windows.h>

namespace {

GdiObject MakeBrush(UINT style, COLORREF color) {
    GdiObject object;
    object.kind = GdiObjectKind::Brush;
    object.brush = std::make_shared<const GdiBrush>(GdiBrush{style, color, 0});
    return object;
}

GdiObject MakePen(DWORD style, COLORREF color) {
    GdiObject object;
    object.kind = GdiObjectKind::Pen;
    GdiPen pen;
    pen.style = style;
    pen.color = color;
    object.pen = std::make_shared<const GdiPen>(std::move(pen));
    return object;
}

GdiObject MakeFont(DWORD number) {
    GdiObject object;
    object.kind = GdiObjectKind::Font;
    object.font = StockFont(number);
    return object;
}

GdiObject MakeKind(GdiObjectKind kind) {
    GdiObject object;
    object.kind = kind;
    return object;
}

}  // namespace

GdiObject StockObject(DWORD number) {
    switch (number) {
        case WHITE_BRUSH: return MakeBrush(BS_SOLID, RGB(255, 255, 255));
        case LTGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(192, 192, 192));
        case GRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(128, 128, 128));
        case DKGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(64, 64, 64));
        case BLACK_BRUSH: return MakeBrush(BS_SOLID, RGB(0, 0, 0));
        case NULL_BRUSH: return MakeBrush(BS_NULL, 0);
        // The DC brush and pen keep their default colours: metafiles carry
        // no record that changes them.
        case DC_BRUSH: return MakeBrush(BS_SOLID, RGB(255, 255, 255));
        case WHITE_PEN: return MakePen(PS_SOLID, RGB(255, 255, 255));
        case BLACK_PEN: return MakePen(PS_SOLID, RGB(0, 0, 0));
        case NULL_PEN: return MakePen(PS_NULL, 0);
        case DC_PEN: return MakePen(PS_SOLID, RGB(0, 0, 0));
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case SYSTEM_FIXED_FONT:
        case DEFAULT_GUI_FONT: return MakeFont(number);
        case DEFAULT_PALETTE: return MakeKind(GdiObjectKind::Palette);
        default: return GdiObject{};
    }
}

std::shared_ptr<const GdiFont> StockFont(DWORD number) {
    const bool fixed =
        number == OEM_FIXED_FONT || number == ANSI_FIXED_FONT || number == SYSTEM_FIXED_FONT;
    GdiFont font;
    font.logFont.lfHeight = 16;
    font.logFont.lfWeight = number == SYSTEM_FONT ? FW_BOLD : FW_NORMAL;
    font.logFont.lfPitchAndFamily = fixed ? FIXED_PITCH | FF_MODERN : FF_SWISS;
    // Resolved when text is drawn with it: a drawing without text never
    // starts fontconfig.
    return std::make_shared<const GdiFont>(font);
}

GdiPen PenFromLogPen(const LOGPEN& logPen) {
    GdiPen pen;
    // Old-style pens have round ends and joins; only their dash kind counts.
    pen.style = logPen.lopnStyle & PS_STYLE_MASK;
    pen.width = logPen.lopnWidth.x < 0 ? -static_cast<double>(logPen.lopnWidth.x)
                                       : static_cast<double>(logPen.lopnWidth.x);
    pen.cosmetic = logPen.lopnWidth.x == 0;
    pen.color = logPen.lopnColor;
    // A wide old-style pen draws solid: GDI dashes only one-pixel pens.
    if (!pen.cosmetic && pen.width > 1 && pen.DashKind() >= PS_DASH &&
        pen.DashKind() <= PS_DASHDOTDOT)
        pen.style = PS_SOLID;
    return pen;
}

GdiPen PenFromExtLogPen(const EXTLOGPEN32& ext, const DWORD* styleEntries, size_t entryCount) {
    GdiPen pen;
    pen.style = ext.elpPenStyle;
    pen.cosmetic = (ext.elpPenStyle & PS_TYPE_MASK) != PS_GEOMETRIC;
    pen.width = pen.cosmetic ? 0 : static_cast<double>(ext.elpWidth);
    // Hatched and pattern pens draw in their colour; the pattern is lost.
    pen.color = ext.elpBrushStyle == BS_NULL ? 0 : ext.elpColor;
    if (ext.elpBrushStyle == BS_NULL) pen.style = (pen.style & ~DWORD{PS_STYLE_MASK}) | PS_NULL;
    if (pen.DashKind() == PS_USERSTYLE && styleEntries)
        pen.userStyle.assign(styleEntries, styleEntries + entryCount);
    return pen;
}

GdiBrush BrushFromLogBrush(const LOGBRUSH32& brush) {
    return GdiBrush{brush.lbStyle, brush.lbColor, brush.lbHatch};
}

bool GdiObjectTable::CheckIndex(DWORD index, std::string* why) const {
    if (index == 0) {
        *why = "object index 0 is reserved for the metafile itself";
        return false;
    }
    if (index >= m_handleCount) {
        *why = "object index " + std::to_string(index) + " is out of range: the metafile has " +
               std::to_string(m_handleCount) + " handles";
        return false;
    }
    return true;
}

bool GdiObjectTable::Put(DWORD index, GdiObject object, std::string* why) {
    if (!CheckIndex(index, why)) return false;
    if (index >= m_slots.size()) m_slots.resize(static_cast<size_t>(index) + 1);
    m_slots[index] = std::move(object);
    return true;
}

bool GdiObjectTable::Delete(DWORD index, std::string* why) {
    if (!CheckIndex(index, why)) return false;
    if (index < m_slots.size()) m_slots[index] = GdiObject{};
    return true;
}

bool GdiObjectTable::Get(DWORD index, const GdiObject** out, std::string* why) const {
    *out = nullptr;
    if (!CheckIndex(index, why)) return false;
    if (index < m_slots.size() && m_slots[index].kind != GdiObjectKind::None)
        *out = &m_slots[index];
    return true;
}

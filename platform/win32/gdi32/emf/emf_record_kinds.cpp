// What the reader knows of each record type: the size of its fixed part and,
// for records with arrays, offsets or bitmaps, the check of those.
#include <array>

#include "gdi32/emf/emf_record_check.h"
#include "win32/gdi32/emf/emf_font_records.h"

namespace {

template <typename View>
bool ValidateAs(const EmfDocument& doc, const EmfRecordView& record, std::string* error) {
    View view;
    return ReadEmfRecord(doc, record, &view, error);
}

struct Kind {
    DWORD type;
    DWORD fixedSize;
    EmfRecordValidator validate;
};

// Types left out (69, reserved and rarely written ones, anything past
// EMR_MAX) need only the EMR itself; a player skips them.
constexpr Kind kKinds[] = {
    {EMR_HEADER, 88, nullptr},  // up to nPalEntries and szlMillimeters; checked by the parser
    {EMR_POLYBEZIER, 28, ValidateAs<EmfPolyline>},
    {EMR_POLYGON, 28, ValidateAs<EmfPolyline>},
    {EMR_POLYLINE, 28, ValidateAs<EmfPolyline>},
    {EMR_POLYBEZIERTO, 28, ValidateAs<EmfPolyline>},
    {EMR_POLYLINETO, 28, ValidateAs<EmfPolyline>},
    {EMR_POLYPOLYLINE, 32, ValidateAs<EmfPolyPolyline>},
    {EMR_POLYPOLYGON, 32, ValidateAs<EmfPolyPolyline>},
    {EMR_SETWINDOWEXTEX, sizeof(EMRSETWINDOWEXTEX), nullptr},
    {EMR_SETWINDOWORGEX, sizeof(EMRSETWINDOWORGEX), nullptr},
    {EMR_SETVIEWPORTEXTEX, sizeof(EMRSETVIEWPORTEXTEX), nullptr},
    {EMR_SETVIEWPORTORGEX, sizeof(EMRSETVIEWPORTORGEX), nullptr},
    {EMR_SETBRUSHORGEX, sizeof(EMRSETBRUSHORGEX), nullptr},
    {EMR_EOF, sizeof(EMREOF), ValidateAs<EmfEof>},
    {EMR_SETPIXELV, sizeof(EMRSETPIXELV), nullptr},
    {EMR_SETMAPPERFLAGS, sizeof(EMRSETMAPPERFLAGS), nullptr},
    {EMR_SETMAPMODE, sizeof(EMRSETMAPMODE), nullptr},
    {EMR_SETBKMODE, sizeof(EMRSETBKMODE), nullptr},
    {EMR_SETPOLYFILLMODE, sizeof(EMRSETPOLYFILLMODE), nullptr},
    {EMR_SETROP2, sizeof(EMRSETROP2), nullptr},
    {EMR_SETSTRETCHBLTMODE, sizeof(EMRSETSTRETCHBLTMODE), nullptr},
    {EMR_SETTEXTALIGN, sizeof(EMRSETTEXTALIGN), nullptr},
    {EMR_SETCOLORADJUSTMENT, 8 + 24, nullptr},  // EMR + COLORADJUSTMENT
    {EMR_SETTEXTCOLOR, sizeof(EMRSETTEXTCOLOR), nullptr},
    {EMR_SETBKCOLOR, sizeof(EMRSETBKCOLOR), nullptr},
    {EMR_OFFSETCLIPRGN, sizeof(EMROFFSETCLIPRGN), nullptr},
    {EMR_MOVETOEX, sizeof(EMRMOVETOEX), nullptr},
    {EMR_SETMETARGN, sizeof(EMRSETMETARGN), nullptr},
    {EMR_EXCLUDECLIPRECT, sizeof(EMREXCLUDECLIPRECT), nullptr},
    {EMR_INTERSECTCLIPRECT, sizeof(EMRINTERSECTCLIPRECT), nullptr},
    {EMR_SCALEVIEWPORTEXTEX, sizeof(EMRSCALEVIEWPORTEXTEX), nullptr},
    {EMR_SCALEWINDOWEXTEX, sizeof(EMRSCALEWINDOWEXTEX), nullptr},
    {EMR_SAVEDC, sizeof(EMRSAVEDC), nullptr},
    {EMR_RESTOREDC, sizeof(EMRRESTOREDC), nullptr},
    {EMR_SETWORLDTRANSFORM, sizeof(EMRSETWORLDTRANSFORM), nullptr},
    {EMR_MODIFYWORLDTRANSFORM, sizeof(EMRMODIFYWORLDTRANSFORM), nullptr},
    {EMR_SELECTOBJECT, sizeof(EMRSELECTOBJECT), nullptr},
    {EMR_CREATEPEN, sizeof(EMRCREATEPEN), nullptr},
    {EMR_CREATEBRUSHINDIRECT, sizeof(EMRCREATEBRUSHINDIRECT), nullptr},
    {EMR_DELETEOBJECT, sizeof(EMRDELETEOBJECT), nullptr},
    {EMR_ANGLEARC, sizeof(EMRANGLEARC), nullptr},
    {EMR_ELLIPSE, sizeof(EMRELLIPSE), nullptr},
    {EMR_RECTANGLE, sizeof(EMRRECTANGLE), nullptr},
    {EMR_ROUNDRECT, sizeof(EMRROUNDRECT), nullptr},
    {EMR_ARC, sizeof(EMRARC), nullptr},
    {EMR_CHORD, sizeof(EMRCHORD), nullptr},
    {EMR_PIE, sizeof(EMRPIE), nullptr},
    {EMR_SELECTPALETTE, sizeof(EMRSELECTPALETTE), nullptr},
    {EMR_CREATEPALETTE, 16, ValidateEmfCreatePalette},
    {EMR_SETPALETTEENTRIES, 20, ValidateEmfSetPaletteEntries},
    {EMR_RESIZEPALETTE, 16, nullptr},  // EMR, ihPal, cEntries
    {EMR_REALIZEPALETTE, sizeof(EMRREALIZEPALETTE), nullptr},
    {EMR_EXTFLOODFILL, sizeof(EMREXTFLOODFILL), nullptr},
    {EMR_LINETO, sizeof(EMRLINETO), nullptr},
    {EMR_ARCTO, sizeof(EMRARCTO), nullptr},
    {EMR_POLYDRAW, 28, ValidateAs<EmfPolyDraw>},
    {EMR_SETARCDIRECTION, sizeof(EMRSETARCDIRECTION), nullptr},
    {EMR_SETMITERLIMIT, sizeof(EMRSETMITERLIMIT), nullptr},
    {EMR_BEGINPATH, sizeof(EMRBEGINPATH), nullptr},
    {EMR_ENDPATH, sizeof(EMRENDPATH), nullptr},
    {EMR_CLOSEFIGURE, sizeof(EMRCLOSEFIGURE), nullptr},
    {EMR_FILLPATH, sizeof(EMRFILLPATH), nullptr},
    {EMR_STROKEANDFILLPATH, sizeof(EMRSTROKEANDFILLPATH), nullptr},
    {EMR_STROKEPATH, sizeof(EMRSTROKEPATH), nullptr},
    {EMR_FLATTENPATH, sizeof(EMRFLATTENPATH), nullptr},
    {EMR_WIDENPATH, sizeof(EMRWIDENPATH), nullptr},
    {EMR_SELECTCLIPPATH, sizeof(EMRSELECTCLIPPATH), nullptr},
    {EMR_ABORTPATH, sizeof(EMRABORTPATH), nullptr},
    {EMR_GDICOMMENT, 12, ValidateAs<EmfGdiComment>},
    {EMR_FILLRGN, 32, ValidateAs<EmfFillRgn>},
    {EMR_FRAMERGN, 40, ValidateAs<EmfFrameRgn>},
    {EMR_INVERTRGN, 28, ValidateAs<EmfInvertRgn>},
    {EMR_PAINTRGN, 28, ValidateAs<EmfInvertRgn>},
    {EMR_EXTSELECTCLIPRGN, 16, ValidateAs<EmfExtSelectClipRgn>},
    {EMR_BITBLT, sizeof(EMRBITBLT), ValidateAs<EmfBitBlt>},
    {EMR_STRETCHBLT, sizeof(EMRSTRETCHBLT), ValidateAs<EmfStretchBlt>},
    {EMR_MASKBLT, sizeof(EMRMASKBLT), ValidateAs<EmfMaskBlt>},
    {EMR_PLGBLT, sizeof(EMRPLGBLT), ValidateAs<EmfPlgBlt>},
    {EMR_SETDIBITSTODEVICE, sizeof(EMRSETDIBITSTODEVICE), ValidateAs<EmfSetDIBitsToDevice>},
    {EMR_STRETCHDIBITS, sizeof(EMRSTRETCHDIBITS), ValidateAs<EmfStretchDIBits>},
    {EMR_EXTCREATEFONTINDIRECTW, sizeof(EmfExtCreateFontRecord), nullptr},
    {EMR_EXTTEXTOUTA, sizeof(EMREXTTEXTOUTA), ValidateAs<EmfExtTextOut>},
    {EMR_EXTTEXTOUTW, sizeof(EMREXTTEXTOUTW), ValidateAs<EmfExtTextOut>},
    {EMR_POLYBEZIER16, 28, ValidateAs<EmfPolyline16>},
    {EMR_POLYGON16, 28, ValidateAs<EmfPolyline16>},
    {EMR_POLYLINE16, 28, ValidateAs<EmfPolyline16>},
    {EMR_POLYBEZIERTO16, 28, ValidateAs<EmfPolyline16>},
    {EMR_POLYLINETO16, 28, ValidateAs<EmfPolyline16>},
    {EMR_POLYPOLYLINE16, 32, ValidateAs<EmfPolyPolyline16>},
    {EMR_POLYPOLYGON16, 32, ValidateAs<EmfPolyPolyline16>},
    {EMR_POLYDRAW16, 28, ValidateAs<EmfPolyDraw16>},
    {EMR_CREATEMONOBRUSH, sizeof(EMRCREATEMONOBRUSH), ValidateAs<EmfPatternBrush>},
    {EMR_CREATEDIBPATTERNBRUSHPT, sizeof(EMRCREATEDIBPATTERNBRUSHPT), ValidateAs<EmfPatternBrush>},
    {EMR_EXTCREATEPEN, 52, ValidateAs<EmfExtCreatePen>},
    {EMR_POLYTEXTOUTA, 40, nullptr},  // up to cStrings, with no EMRTEXT
    {EMR_POLYTEXTOUTW, 40, nullptr},
    {EMR_SETICMMODE, sizeof(EMRSETICMMODE), nullptr},
    {EMR_SETCOLORSPACE, 12, nullptr},
    {EMR_DELETECOLORSPACE, 12, nullptr},
    {EMR_GLSRECORD, 12, nullptr},         // EMR, cbData
    {EMR_GLSBOUNDEDRECORD, 28, nullptr},  // EMR, rclBounds, cbData
    {EMR_PIXELFORMAT, 8 + 40, nullptr},   // EMR + PIXELFORMATDESCRIPTOR
    {EMR_COLORCORRECTPALETTE, 24, nullptr},
    {EMR_SETICMPROFILEA, 20, nullptr},  // EMR, dwFlags, cbName, cbData
    {EMR_SETICMPROFILEW, 20, nullptr},
    {EMR_ALPHABLEND, sizeof(EMRALPHABLEND), ValidateAs<EmfStretchBlt>},
    {EMR_SETLAYOUT, sizeof(EMRSETLAYOUT), nullptr},
    {EMR_TRANSPARENTBLT, sizeof(EMRTRANSPARENTBLT), ValidateAs<EmfStretchBlt>},
    {EMR_GRADIENTFILL, 36, ValidateAs<EmfGradientFill>},  // EMR, rclBounds, nVer, nTri, ulMode
    {EMR_RESERVED_120, 16, nullptr},  // SetTextJustification: nBreakExtra, nBreakCount
    {EMR_COLORMATCHTOTARGETW, 24, nullptr},
};

constexpr auto kTable = [] {
    std::array<Kind, EMR_MAX + 1> table{};
    for (DWORD type = 0; type <= EMR_MAX; ++type) table[type] = {type, sizeof(EMR), nullptr};
    for (const Kind& kind : kKinds) table[kind.type] = kind;
    return table;
}();

}  // namespace

DWORD EmfRecordFixedSize(DWORD type) {
    return type <= EMR_MAX ? kTable[type].fixedSize : DWORD{sizeof(EMR)};
}

EmfRecordValidator FindEmfRecordValidator(DWORD type) {
    return type <= EMR_MAX ? kTable[type].validate : nullptr;
}

// Typed, bounds-checked access to the records of an EmfDocument.
//
// Records without arrays: EmfFixedRecord<EMRSELECTOBJECT>(doc, record, &error)
// gives the record's struct (nullptr when the record is shorter).
// Records with arrays or bitmaps: ReadEmfRecord(doc, record, &view, &error)
// fills a view whose spans lie inside the record. Each view names the record
// types that have its layout; another type is refused.
//
// ParseEnhMetaFile has already run every check below on every record, so on
// a parsed document these fail only when a view does not fit the record's
// type. Failures leave *error as "record N (NAME): why".
#pragma once

#include <span>
#include <string>
#include <type_traits>

#include "win32/gdi32/emf/emf_blit_records.h"
#include "win32/gdi32/emf/emf_gradient_records.h"
#include "win32/gdi32/emf/emf_pen_records.h"
#include "win32/gdi32/emf/emf_reader.h"
#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/gdi.h"

// Object indexes of SELECTOBJECT carry ENHMETA_STOCK_OBJECT for stock objects
// (WHITE_BRUSH ... DC_PEN); the player checks other indexes against nHandles.
constexpr bool IsEmfStockObject(DWORD ihObject) {
    return (ihObject & ENHMETA_STOCK_OBJECT) != 0;
}
constexpr DWORD EmfStockObjectNumber(DWORD ihObject) {
    return ihObject & ~DWORD{ENHMETA_STOCK_OBJECT};
}

// Records whose struct ends in arrays; they are read through ReadEmfRecord.
template <typename Record>
inline constexpr bool kEmfRecordHasArrays =
    std::is_same_v<Record, EMRPOLYLINE> || std::is_same_v<Record, EMRPOLYLINE16> ||
    std::is_same_v<Record, EMRPOLYPOLYLINE> || std::is_same_v<Record, EMRPOLYPOLYLINE16> ||
    std::is_same_v<Record, EMRPOLYDRAW> || std::is_same_v<Record, EMRPOLYDRAW16> ||
    std::is_same_v<Record, EmfExtCreatePenRecord> || std::is_same_v<Record, EMREXTSELECTCLIPRGN> ||
    std::is_same_v<Record, EMRINVERTRGN> || std::is_same_v<Record, EMRFILLRGN> ||
    std::is_same_v<Record, EMRFRAMERGN> || std::is_same_v<Record, EMRGDICOMMENT> ||
    std::is_same_v<Record, ENHMETAHEADER> || std::is_same_v<Record, EMRGRADIENTFILL>;

// Checks that the record is inside the document and at least sizeof(Record).
WIN32_API const void* EmfFixedRecordBytes(const EmfDocument& doc, const EmfRecordView& record,
                                          size_t fixedSize, std::string* error);

template <typename Record>
const Record* EmfFixedRecord(const EmfDocument& doc, const EmfRecordView& record,
                             std::string* error) {
    static_assert(!kEmfRecordHasArrays<Record>, "read records with arrays through ReadEmfRecord");
    static_assert(alignof(Record) <= 4, "records lie on 4-byte boundaries");
    return static_cast<const Record*>(EmfFixedRecordBytes(doc, record, sizeof(Record), error));
}

// EMR_POLYBEZIER, EMR_POLYGON, EMR_POLYLINE, EMR_POLYBEZIERTO, EMR_POLYLINETO.
struct EmfPolyline {
    const EMRPOLYLINE* record = nullptr;
    std::span<const POINTL> points;
};
// The same five in their 16-bit forms (EMR_POLYBEZIER16 ... EMR_POLYLINETO16).
struct EmfPolyline16 {
    const EMRPOLYLINE16* record = nullptr;
    std::span<const POINTS> points;
};
// EMR_POLYPOLYLINE, EMR_POLYPOLYGON: the counts add up to the points.
struct EmfPolyPolyline {
    const EMRPOLYPOLYLINE* record = nullptr;
    std::span<const DWORD> counts;
    std::span<const POINTL> points;
};
// EMR_POLYPOLYLINE16, EMR_POLYPOLYGON16.
struct EmfPolyPolyline16 {
    const EMRPOLYPOLYLINE16* record = nullptr;
    std::span<const DWORD> counts;
    std::span<const POINTS> points;
};
// EMR_POLYDRAW: one type byte per point.
struct EmfPolyDraw {
    const EMRPOLYDRAW* record = nullptr;
    std::span<const POINTL> points;
    std::span<const BYTE> types;
};
// EMR_POLYDRAW16.
struct EmfPolyDraw16 {
    const EMRPOLYDRAW16* record = nullptr;
    std::span<const POINTS> points;
    std::span<const BYTE> types;
};

// A device-independent bitmap carried by a record.
struct EmfBitmap {
    bool present = false;  // false: the record carries none (cbBmi is 0)
    // Copied, because writers may place it at any offset.
    BITMAPINFOHEADER header{};
    DWORD usage = DIB_RGB_COLORS;  // DIB_PAL_COLORS: the colour table holds WORD indexes
    // Entries of the colour table that pixel values index (bit counts up to
    // 8; 0 above). Values past it are the player's to clamp.
    DWORD colorCount = 0;
    // What follows the header inside cbBmi: the colour table, or with
    // BI_BITFIELDS and a 40-byte header the three colour masks. Any alignment.
    std::span<const BYTE> colors;
    std::span<const BYTE> bits;  // any alignment
    // Rows the bits hold (|biHeight|, or cScans for EMR_SETDIBITSTODEVICE).
    DWORD rows = 0;
    // Bytes per row, rounded up to 4, for BI_RGB and BI_BITFIELDS, whose rows
    // x stride are checked to lie in bits; 0 for BI_RLE8, BI_RLE4, BI_JPEG
    // and BI_PNG, whose bits are only known to lie inside the record.
    DWORD stride = 0;
};

// EMR_BITBLT (no bitmap for raster operations without a source).
struct EmfBitBlt {
    const EMRBITBLT* record = nullptr;
    EmfBitmap source;
};
// EMR_STRETCHBLT, EMR_ALPHABLEND, EMR_TRANSPARENTBLT.
struct EmfStretchBlt {
    const EMRSTRETCHBLT* record = nullptr;
    EmfBitmap source;
};
// EMR_STRETCHDIBITS.
struct EmfStretchDIBits {
    const EMRSTRETCHDIBITS* record = nullptr;
    EmfBitmap source;
};
// EMR_SETDIBITSTODEVICE.
struct EmfSetDIBitsToDevice {
    const EMRSETDIBITSTODEVICE* record = nullptr;
    EmfBitmap source;
};
// EMR_MASKBLT.
struct EmfMaskBlt {
    const EMRMASKBLT* record = nullptr;
    EmfBitmap source;
    EmfBitmap mask;
};
// EMR_PLGBLT.
struct EmfPlgBlt {
    const EMRPLGBLT* record = nullptr;
    EmfBitmap source;
    EmfBitmap mask;
};

// EMR_EXTCREATEPEN: style entries (for PS_USERSTYLE) and, for a DIB
// pattern pen, its bitmap.
struct EmfExtCreatePen {
    const EmfExtCreatePenRecord* record = nullptr;
    std::span<const DWORD> styleEntries;
    EmfBitmap pattern;
};
// EMR_CREATEMONOBRUSH, EMR_CREATEDIBPATTERNBRUSHPT.
struct EmfPatternBrush {
    const EMRCREATEMONOBRUSH* record = nullptr;
    EmfBitmap pattern;
};

// A region as RGNDATA: header == nullptr when the record carries none.
struct EmfRegion {
    const RGNDATAHEADER* header = nullptr;
    std::span<const RECTL> rects;  // nCount rectangles
};
// EMR_EXTSELECTCLIPRGN.
struct EmfExtSelectClipRgn {
    const EMREXTSELECTCLIPRGN* record = nullptr;
    EmfRegion region;
};
// EMR_FILLRGN.
struct EmfFillRgn {
    const EMRFILLRGN* record = nullptr;
    EmfRegion region;
};
// EMR_FRAMERGN.
struct EmfFrameRgn {
    const EMRFRAMERGN* record = nullptr;
    EmfRegion region;
};
// EMR_INVERTRGN, EMR_PAINTRGN.
struct EmfInvertRgn {
    const EMRINVERTRGN* record = nullptr;
    EmfRegion region;
};

// EMR_EXTTEXTOUTW (UTF-16LE, 2 bytes a character) and EMR_EXTTEXTOUTA
// (1 byte). dx holds nChars LONGs, twice as many with ETO_PDY, or nothing.
struct EmfExtTextOut {
    const EMREXTTEXTOUTW* record = nullptr;
    std::span<const BYTE> text;
    std::span<const BYTE> dx;
};

// EMR_GDICOMMENT.
struct EmfGdiComment {
    const EMRGDICOMMENT* record = nullptr;
    std::span<const BYTE> data;
};
// EMF+ records ride in comments whose data starts with "EMF+"; a player of
// the EMF records skips them.
WIN32_API bool IsEmfPlusComment(const EmfGdiComment& comment);

// EMR_GRADIENTFILL: the vertices, then rectangles (GRADIENT_FILL_RECT_H,
// GRADIENT_FILL_RECT_V) or triangles (GRADIENT_FILL_TRIANGLE), whichever
// the mode names; every index of them is below the vertex count.
struct EmfGradientFill {
    const EMRGRADIENTFILL* record = nullptr;
    std::span<const TRIVERTEX> vertices;
    std::span<const GRADIENT_RECT> rects;
    std::span<const GRADIENT_TRIANGLE> triangles;
};

// EMR_EOF: nPalEntries palette entries (PALETTEENTRY, 4 bytes each).
struct EmfEof {
    const EMREOF* record = nullptr;
    std::span<const BYTE> palette;
};

WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyline* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfPolyline16* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfPolyPolyline* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfPolyPolyline16* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPolyDraw* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfPolyDraw16* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfBitBlt* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfStretchBlt* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfStretchDIBits* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfSetDIBitsToDevice* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfMaskBlt* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfPlgBlt* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfExtCreatePen* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfPatternBrush* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfExtSelectClipRgn* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfFillRgn* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfFrameRgn* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfInvertRgn* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfExtTextOut* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfGdiComment* out, std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record, EmfEof* out,
                             std::string* error);
WIN32_API bool ReadEmfRecord(const EmfDocument& doc, const EmfRecordView& record,
                             EmfGradientFill* out, std::string* error);

// Enhanced metafiles built record by record, for tests of their players.
//
//   EmfBuilder emf;
//   emf.CreatePen(1, PS_SOLID, 0, RGB(255, 0, 0)).Select(1).MoveTo(0, 0).LineTo(10, 0);
//   std::vector<BYTE> bytes = emf.Bytes();  // header counts filled, EMR_EOF added
//
// The reference device is 1000 x 1000 pixels on 100 x 100 mm (a tenth of a
// millimetre a pixel) and the frame covers it, so on a 254 dpi plotter with
// 1000 x 1000 printable pixels one logical unit of MM_TEXT is one plotter
// pixel.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "win32/gdi32/emf/emf.h"

class EmfBuilder {
public:
    EmfBuilder();

    // Any record: the type, then the payload after the EMR; nSize is counted.
    EmfBuilder& Record(DWORD type, const std::vector<DWORD>& payload);
    // A record whose nSize is given as is (for malformed files).
    EmfBuilder& RawRecord(DWORD type, DWORD size, const std::vector<DWORD>& payload);

    EmfBuilder& Handles(WORD count);
    EmfBuilder& Frame(LONG left, LONG top, LONG right, LONG bottom);
    // rclBounds, right and bottom included; the whole reference device
    // unless given.
    EmfBuilder& Bounds(LONG left, LONG top, LONG right, LONG bottom);
    EmfBuilder& Device(LONG pixelsX, LONG pixelsY, LONG millimetresX, LONG millimetresY);

    EmfBuilder& MoveTo(LONG x, LONG y);
    EmfBuilder& LineTo(LONG x, LONG y);
    // POLYLINE, POLYGON, POLYBEZIER ... in the 32-bit form (points as POINTL).
    EmfBuilder& Poly(DWORD type, const std::vector<POINT>& points);
    // The 16-bit forms (POLYLINE16 ...).
    EmfBuilder& Poly16(DWORD type, const std::vector<POINT>& points);
    EmfBuilder& PolyPoly(DWORD type, const std::vector<std::vector<POINT>>& polys);
    EmfBuilder& PolyPoly16(DWORD type, const std::vector<std::vector<POINT>>& polys);
    // RECTANGLE, ELLIPSE, INTERSECTCLIPRECT, EXCLUDECLIPRECT: one RECTL.
    EmfBuilder& Box(DWORD type, LONG left, LONG top, LONG right, LONG bottom);

    EmfBuilder& CreatePen(DWORD index, DWORD style, LONG width, COLORREF color);
    EmfBuilder& ExtCreatePen(DWORD index, DWORD style, DWORD width, COLORREF color,
                             const std::vector<DWORD>& styleEntries = {});
    EmfBuilder& CreateBrush(DWORD index, UINT style, COLORREF color, ULONG hatch = 0);
    EmfBuilder& Select(DWORD index);
    EmfBuilder& Delete(DWORD index);
    // Records made of the EMR and one DWORD (SETMAPMODE, SETPOLYFILLMODE ...).
    EmfBuilder& Mode(DWORD type, DWORD value);
    // SETWORLDTRANSFORM, or MODIFYWORLDTRANSFORM with a mode.
    EmfBuilder& World(float m11, float m12, float m21, float m22, float dx, float dy);
    EmfBuilder& ModifyWorld(float m11, float m12, float m21, float m22, float dx, float dy,
                            DWORD mode);
    // EXTSELECTCLIPRGN with these rectangles (reference-device pixels); no
    // rectangles and no region data when rects is empty and withData false.
    EmfBuilder& SelectClipRegion(DWORD mode, const std::vector<RECT>& rects, bool withData = true);

    // The metafile: header with nBytes, nRecords and the bounds filled, the
    // records, an EMR_EOF.
    std::vector<BYTE> Bytes() const;
    // The same without the EMR_EOF and header counts untouched (for files
    // cut short).
    std::vector<DWORD> Words() const;

    static DWORD Float(float value);

private:
    EmfBuilder& PolyPolyOf(DWORD type, const std::vector<std::vector<POINT>>& polys,
                           bool sixteenBits);

    std::vector<DWORD> m_header;
    std::vector<DWORD> m_records;
    DWORD m_recordCount = 0;
    std::vector<DWORD> m_bounds;  // empty: the whole reference device
};

// Writes bytes to a file; false when it cannot.
bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes);

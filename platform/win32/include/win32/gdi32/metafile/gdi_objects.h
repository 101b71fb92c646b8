// The metafile's object table: pens, brushes and the objects the plot does
// not draw with (palettes, colour spaces) and fonts, by the index the records
// give them. Index 0 stands for the metafile itself and never holds an
// object; indexes at or past the header's handle count are malformed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "win32/gdi32/emf/emf_records.h"
#include "win32/gdi32/fonts.h"

struct GdiPen {
    DWORD style = 0;       // PS_ dash kind, end cap, join and type bits
    double width = 0;      // logical units; 0 draws one device pixel
    bool cosmetic = true;  // one device pixel wide whatever the transform
    COLORREF color = 0;
    std::vector<DWORD> userStyle;  // PS_USERSTYLE: dash, gap, dash, ...

    DWORD DashKind() const { return style & 0x0F; }
};

struct GdiBrush {
    UINT style = 0;  // BS_
    COLORREF color = 0;
    ULONG hatch = 0;
};

// A logical font and the installed face that draws it (null when no font
// is installed at all, or for stock fonts until their first text).
struct GdiFont {
    LOGFONTW logFont{};
    const FontInfo* info = nullptr;
};

enum class GdiObjectKind { None, Pen, Brush, Font, Palette, ColorSpace };

struct GdiObject {
    GdiObjectKind kind = GdiObjectKind::None;
    std::shared_ptr<const GdiPen> pen;
    std::shared_ptr<const GdiBrush> brush;
    std::shared_ptr<const GdiFont> font;
};

// The stock object of that number (WHITE_BRUSH ... DC_PEN); kind None for a
// number that names none.
GdiObject StockObject(DWORD number);

// The font a stock font object stands for: a plain face of 16 logical units
// to the cell, fixed-pitch for the fixed stock fonts.
std::shared_ptr<const GdiFont> StockFont(DWORD number);

GdiPen PenFromLogPen(const LOGPEN& logPen);
GdiPen PenFromExtLogPen(const EXTLOGPEN32& pen, const DWORD* styleEntries, size_t entryCount);
GdiBrush BrushFromLogBrush(const LOGBRUSH32& brush);

class GdiObjectTable {
public:
    explicit GdiObjectTable(DWORD handleCount) : m_handleCount(handleCount) {}

    // Each false result leaves the reason in *why ("object index 9 is out of
    // range: the metafile has 4 handles").
    bool Put(DWORD index, GdiObject object, std::string* why);
    bool Delete(DWORD index, std::string* why);
    // *out is null for an empty slot: GDI refuses to select a deleted
    // object and keeps what was selected.
    bool Get(DWORD index, const GdiObject** out, std::string* why) const;

private:
    bool CheckIndex(DWORD index, std::string* why) const;

    DWORD m_handleCount;
    std::vector<GdiObject> m_slots;  // grows up to the highest index used
};

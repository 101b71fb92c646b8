// A page's drawing as a display list: a metafile played once into the
// primitives the raster GDI draws (fills, strokes, glyph outlines, bitmaps,
// gradients, each with its clip region) in device pixels, each with the
// page pixels it can touch, filed by the rows it reaches. A band of rows is
// then drawn from the primitives that touch it alone, and its pixels are
// those of the whole page drawn at once. This platform's addition, not a
// Win32 name: the host framework's raster image processor renders pages
// with it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "win32/gdi32/gdi.h"
#include "win32/types.h"

struct DisplayListData;

class WIN32_API DisplayList {
public:
    // Plays the metafile as PlayEnhMetaFile(hdc, metafile, rect) would play
    // it into hdc (under hdc's mapping, world transform, brush origin and
    // style unit;
    // hdc's own clip does not apply and nothing is drawn into it) onto a
    // page of width x height device pixels, filing the primitives by bands
    // of bandRows rows. Null, with *error saying why, when the metafile
    // fails to play (a malformed record half way), hdc or the metafile is
    // not valid, or the memory is not there. The metafile must outlive the
    // list: its bitmaps are drawn from where they lie.
    static std::unique_ptr<DisplayList> Record(HDC hdc, HENHMETAFILE metafile, const RECT& rect,
                                               unsigned width, unsigned height, unsigned bandRows,
                                               std::string* error);
    ~DisplayList();
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Draws the page's rows [top, top + rows) into the first rows of the
    // bitmap selected into hdc (its first column is the page's first), over
    // what the bitmap holds; *drawn (when given) receives the part of the
    // bitmap that may have changed, empty when nothing did. May run on
    // several threads at once, each with a device context of its own. False
    // when hdc has no bitmap of that many rows, or the rows reach past the
    // page.
    bool DrawRows(HDC hdc, unsigned top, unsigned rows, RECT* drawn = nullptr) const;

    // The memory the list holds, in bytes, and its primitives.
    size_t Bytes() const;
    size_t Primitives() const;

private:
    explicit DisplayList(std::unique_ptr<DisplayListData> data);
    std::unique_ptr<DisplayListData> m_data;
};

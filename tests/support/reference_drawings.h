// Small drawings that exercise one part of the raster GDI each (pens,
// dashes, hatches, bitmaps in every stretch mode, clipping, transforms,
// curves), kept with pictures of them that a real GDI made
// (tests/data/gdi_reference/, remade by tools/gdi-reference/).
//
// Each drawing's reference device has 300 pixels to the inch and its frame
// covers whole pixels of it, so that at 300 dpi one logical unit of MM_TEXT
// is one pixel of the picture.
#pragma once

#include <span>
#include <string>
#include <vector>

#include <windows.h>

#include "win32/gdi32/emf/emf_records.h"

struct ReferenceDrawing {
    const char* name;  // the file name without ".emf" / ".png"
    std::vector<BYTE> (*build)();
};

std::span<const ReferenceDrawing> ReferenceDrawings();

// The size in pixels of a metafile's frame at dpi pixels to the inch, as
// the reference pictures are made: round(frame extent * dpi / 2540).
SIZE ReferencePictureSize(const ENHMETAHEADER& header, int dpi);

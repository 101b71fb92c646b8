// The page's picture as the bands draw it: made once from the metafile
// placed on the raster, then asked for the rows of each band, from several
// threads at once. On Linux it is a display list of the page, played once;
// on Windows every band plays the metafile through the system's GDI.
#pragma once

#include <functional>

#include "rip_internal.h"

// Draws rows [top, top + rows) of the picture into dc, whose pixel (0, 0)
// is the raster's pixel (0, top), and tells the part it may have changed
// (in the DC's pixels); false when drawing failed.
using RipPictureRows = std::function<bool(HDC dc, unsigned top, unsigned rows, RECT* drawn)>;

// The metafile placed on dest under world (GM_ADVANCED), as one playback
// into a DC of the raster's size would draw it; empty when it cannot be made.
RipPictureRows MakeRipPicture(HENHMETAFILE metafile, const XFORM& world, const RECT& dest,
                              const RipBandPlan& plan);

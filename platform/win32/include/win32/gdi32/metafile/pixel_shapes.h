// Ellipses, rounded rectangles and arcs drawn as GDI draws them on a raster
// device, for devices that ask for it (MetafileDevice::GdiPixelCurves).
// Each returns false when the shape is to be drawn the general way: another
// device, an open path bracket, a transform that turns, shears or mirrors,
// or a rounded rectangle whose corners are too small to be rounded.
#pragma once

#include "win32/gdi32/metafile/emf_playback.h"

// Ellipse is the rounded rectangle whose corners are the box.
bool DrawPixelRoundRect(Playback& pb, const RECTL& box, LONG cornerWidth, LONG cornerHeight);

enum class PixelArc { Arc, Chord, Pie };
bool DrawPixelArc(Playback& pb, const RECTL& box, POINTL start, POINTL end, PixelArc kind);

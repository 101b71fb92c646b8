// A gradient fill as a metafile of its own, for the driver's metafile
// region entry: HP-GL/2 has no gradients, so the driver renders the
// metafile into an embedded raster. One logical unit of the metafile is one
// plotter pixel and its frame is the rectangle it is played into, so that
// what it holds lands where the plot has it.
#pragma once

#include <vector>

#include <windows.h>

#include "pxrdriver/regions.h"
#include "win32/gdi32/metafile/metafile_device.h"

// The metafile bytes: the clip (plotter pixels; null for none) as a clip
// path of its polygons, read even-odd as the region's list is, then the
// gradient with its vertices rounded to plotter pixels. frame: where the
// metafile is played, in plotter pixels (not empty).
std::vector<BYTE> GradientMetafile(const GradientMesh& mesh, const HT_ClipRgn* clip,
                                   const RECT& frame);

// The plotter pixels the gradient's vertices span (right and bottom
// exclusive); empty when it has none.
RECT GradientBounds(const GradientMesh& mesh);

// Pages and metafile regions rendered in the computer: the metafile is
// played into the raster image processor's bands and the bands go to the
// plotter as HP RTL.
#pragma once

#include <windows.h>

#include "pxrdriver/host_context.h"
#include "pxrdriver/rip.h"

class CEvent;

// Host callback +160 (vector plots): the metafile under the transform (six
// doubles eM11, eM12, eM21, eM22, eDx, eDy) into the device rectangle, as
// an embedded raster at the rectangle's corner. Always 1.
int RenderMetafileRegion(HostContext* pHost, HENHMETAFILE hMetaFile, const double* pTransform,
                         const RECT* pRect);

// One whole page on the render thread: signals pEvent as soon as the
// metafile has been taken over (copied), whatever happens after, then
// writes the page, its end and the end of the job. 1 when the page was
// written; 0 when it was not (the job is then aborted, never left half).
int RenderPageToRaster(HostContext* pHost, HENHMETAFILE hMetaFile, const char* pszText,
                       void* pArgument, IDrawCallback* pProgress, CEvent* pEvent);

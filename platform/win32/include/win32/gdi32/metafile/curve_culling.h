// Curves that cannot show on a device: when every control point of a cubic
// lies beyond one side of the device's area (grown by the widest stroke the
// metafile can make), no pixel of the area depends on the curve's shape,
// only on its end points. Fills keep their winding inside the area (the
// curve and its chord bound a loop wholly outside it), and strokes of solid
// pens end and join too far off to reach it. So the chord stands in for the
// curve, and a band of a page flattens only the curves near it.
#pragma once

#include <string>

#include "win32/gdi32/emf/emf.h"
#include "win32/gdi32/metafile/gdi_transform.h"

// The pens a metafile creates: the widest geometric one (logical units)
// and whether any is dashed, where a chord would shift the dashes after it.
struct MetafilePens {
    double widest = 0;
    bool dashed = false;
};
MetafilePens ScanMetafilePens(const EmfDocument& doc);

struct CurveCulling {
    bool active = false;
    double left = 0, top = 0, right = 0, bottom = 0;  // device pixels

    // True when the cubic's control points all lie beyond one side.
    bool Outside(DPoint p0, DPoint c1, DPoint c2, DPoint p3) const;
};

// The culling of a device area (device pixels, right and bottom exclusive)
// for a playback whose pens are pens, under toDevice; inactive when a pen
// is dashed.
CurveCulling CullingFor(const RECT& area, const MetafilePens& pens, const Affine& toDevice);

#include "hpgl/polygon_fill.h"

#include <algorithm>
#include <vector>

#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "hpgl/path_collector.h"
#include "hpgl/pen_table.h"
#include "hpgl/polygon_outline.h"
#include "hpgl/polyline.h"
#include "job/output_stream.h"
#include "pxrdriver/regions.h"

namespace {

// Fills always select the colour, whatever the pen-colour switch says.
void SelectFillColor(DriverState* driver, JobContext* job) {
    SelectColorIfChanged(job, driver->m_attributes.m_crColor);
}

// The union of the bounding rectangles of the figures with points, joined
// as Win32 joins rectangles: an empty one (a horizontal or vertical line)
// adds nothing.
RECT FiguresBounds(const std::vector<PathFigure*>& figures) {
    RECT all{0, 0, 0, 0};
    for (const PathFigure* f : figures) {
        if (!f->pPoints || f->nCount <= 0) continue;
        RECT r;
        HT_GetPointsRect(f->pPoints, f->nCount, &r);
        UnionRect(&all, &all, &r);
    }
    return all;
}

bool Inside(const RECT& r, const RECT& inner) {
    return inner.left <= r.left && inner.right >= r.right && inner.top <= r.top &&
           inner.bottom >= r.bottom;
}

enum class Route { kDirect, kClipped, kNothing };

Route ChoosePathRoute(DriverState* driver, JobContext* job) {
    const LONG clip = driver->m_devmode.nClipMode;
    const int mode = job->m_nFillMode;
    bool clipFlag = false;
    if (clip & CLIP_ENABLE) {
        if (mode == 2 && !(clip & CLIP_WINDING)) return Route::kDirect;
        if (job->m_bClipIsRect == 1 && !(clip & CLIP_RECT)) {
            clipFlag = false;
        } else if (job->m_bClipInnerValid == 0) {
            clipFlag = true;
        } else {
            return Inside(FiguresBounds(job->m_path), job->m_rcClipInner) ? Route::kDirect
                                                                          : Route::kClipped;
        }
    }
    if (mode == 2) {
        // Winding fills go through the region algebra; bounds that miss the
        // clip region draw nothing at all.
        if (!job->m_pClipRgn) return Route::kDirect;
        const RECT b = FiguresBounds(job->m_path);
        CKestRgn box;
        box.CreateRectRgn(b.left, b.top, b.right, b.bottom);
        CKestRgn::CombineRgn(&box, &box, job->m_pClipRgn, RGN_AND);
        RECT ignored;
        if (box.GetRgnBox(&ignored) == NULLREGION) return Route::kNothing;
        return Route::kClipped;
    }
    return clipFlag ? Route::kClipped : Route::kDirect;
}

// The figures combined exclusive-or, intersected with the clip region.
int EmitClippedFigures(JobContext* job) {
    CKestRgn shape;
    bool first = true;
    for (const PathFigure* f : job->m_path) {
        if (!f->pPoints || f->nCount <= 0) continue;
        if (first) {
            shape.CreatePolygonRgn(f->pPoints, f->nCount, 0);
            first = false;
            continue;
        }
        CKestRgn next;
        next.CreatePolygonRgn(f->pPoints, f->nCount, 0);
        CKestRgn::CombineRgn(&shape, &shape, &next, RGN_XOR);
    }
    if (job->m_pClipRgn) CKestRgn::CombineRgn(&shape, &shape, job->m_pClipRgn, RGN_AND);
    ClosePE(job);
    return EmitRegionOutlines(job, shape.GetClipRgnRef(), true);
}

}  // namespace

int OnPolygon(HostContext* pHost, const POINT* points, int count) {
    DriverState* driver = DriverOf(pHost);
    JobContext* job = JobOf(pHost);
    if (!driver || !job) return 1;
    if (job->m_bPathOpen == 1) {
        AddFigure(job, points, count);
        return 1;
    }
    if (!points || count <= 0) return 1;
    const LONG clip = driver->m_devmode.nClipMode;
    const bool clipped = (clip & CLIP_ENABLE) && (job->m_bClipIsRect == 0 || (clip & CLIP_RECT)) &&
                         !PointsInside(points, count, job->m_rcClipInner) && job->m_pClipRgn;
    LeaveRaster(job);
    if (!clipped) {
        PathFigure figure{const_cast<POINT*>(points), count};
        EmitFigureOutlines(job, {&figure}, false);
        WriteText(job, "PM2");
        SelectFillColor(driver, job);
        WriteText(job, "FP");
        job->m_bPEAbsNext = 1;
        return 1;
    }
    CKestRgn shape;
    shape.CreatePolygonRgn(points, count, 0);
    CKestRgn::CombineRgn(&shape, &shape, job->m_pClipRgn, RGN_AND);
    if (EmitRegionOutlines(job, shape.GetClipRgnRef(), false) > 0) {
        WriteText(job, "PM2");
        SelectFillColor(driver, job);
        // The clipped form also strokes its edges with a pen of one device unit.
        if (job->m_nCurWidth != 1) SetPenWidth(job, 1);
        WriteText(job, "EP");
        WriteText(job, "FP");
        job->m_bPEAbsNext = 1;
    }
    return 1;
}

int OnBeginPath(HostContext* pHost) {
    JobContext* job = JobOf(pHost);
    if (!job) return 1;
    job->m_bPathOpen = 1;
    ClearFigures(job);
    return 1;
}

int OnEndPath(HostContext* pHost) {
    JobContext* job = JobOf(pHost);
    if (!job) return 1;
    LeaveRaster(job);
    job->m_bPathHasFigures = job->m_path.empty() ? 0 : 1;
    job->m_bPathOpen = 0;
    return 1;
}

int OnRefillPolygon(HostContext* pHost) {
    JobContext* job = JobOf(pHost);
    if (!job) return 1;
    LeaveRaster(job);
    ClosePE(job);
    WriteText(job, "FP");
    job->m_bPEAbsNext = 1;
    return 1;
}

int OnFillPath(HostContext* pHost) {
    DriverState* driver = DriverOf(pHost);
    JobContext* job = JobOf(pHost);
    if (!driver || !job) return 1;
    ClosePE(job);
    LeaveRaster(job);
    if (job->m_bPathHasFigures == 0) return 1;
    int sent = 0;
    switch (ChoosePathRoute(driver, job)) {
        case Route::kNothing: return 1;
        case Route::kDirect:
            ClosePE(job);
            sent = EmitFigureOutlines(job, job->m_path, true);
            break;
        case Route::kClipped: sent = EmitClippedFigures(job); break;
    }
    if (sent > 0) {
        WriteText(job, "PM2");
        SelectFillColor(driver, job);
        if (job->m_nFillMode == 1) {
            WriteText(job, "EP");
            WriteText(job, "FP");
        } else {
            WriteText(job, "FP1");
        }
    }
    job->m_bPEAbsNext = 1;
    return 1;
}

int OnSetFillMode(HostContext* pHost, int nMode) {
    JobContext* job = JobOf(pHost);
    if (!job) return 0;
    const int previous = job->m_nFillMode;
    job->m_nFillMode = nMode;
    return previous;
}

#include "hpgl/polyline.h"

#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "hpgl/encoded_polyline.h"
#include "hpgl/path_collector.h"
#include "hpgl/pen_table.h"
#include "job/job_context.h"
#include "pxrdriver/regions.h"

bool PointsInside(const POINT* points, int count, const RECT& inner) {
    RECT r;
    HT_GetPointsRect(points, count, &r);
    return inner.left <= r.left && inner.right >= r.right && inner.top <= r.top &&
           inner.bottom >= r.bottom;
}

int EmitPolyline(DrawAttributes* a, int count, const POINT* points) {
    if (!a) return 0;
    HostContext* host = a->m_pHost;
    JobContext* job = JobOf(host);
    if (!job) return 0;
    if (host->bPenColorSwitch) SelectColorIfChanged(job, a->m_crColor);
    if (job->m_nCurLineType != 0) SetLineTypeSolid(job);
    if (a->m_nPenWidth != job->m_nCurWidth) SetPenWidth(job, a->m_nPenWidth);
    if (a->m_nLineAttr != job->m_nCurLineAttr) SetLineAttributes(job, a->m_nLineAttr);
    if (!points) return 0;
    if (count > 0) {
        EmitPEPolyline(job, count, points);
    } else {
        const int segments = -(count / 2);
        for (int i = 0; i < segments; ++i) EmitPEPolyline(job, 2, points + 2 * i);
    }
    return 1;
}

int OnPolyline(HostContext* pHost, const POINT* points, int count) {
    DriverState* driver = DriverOf(pHost);
    JobContext* job = JobOf(pHost);
    if (!driver || !job) return 1;
    if (job->m_bPathOpen == 1) {
        AddFigure(job, points, count);
        return 1;
    }
    LeaveRaster(job);
    if (!points || count == 0) return 1;
    if (count < 0) {
        // Separate two-point segments, each clipped on its own.
        for (int i = 0; i < -(count / 2); ++i) OnPolyline(pHost, points + 2 * i, 2);
        return 1;
    }
    const LONG clip = driver->m_devmode.nClipMode;
    const bool unclipped =
        !(clip & CLIP_ENABLE) || (job->m_bClipIsRect && !(clip & CLIP_RECT)) ||
        (job->m_bClipInnerValid == 1 && PointsInside(points, count, job->m_rcClipInner)) ||
        !job->m_pClipData;  // nothing to clip against yet
    if (unclipped) {
        EmitPolyline(&driver->m_attributes, count, points);
        return 1;
    }
    HT_PointerArray pieces(0, nullptr, HT_Free);
    HT_ClipLine(job->m_pClipData, points, count, &pieces);
    for (int i = 0; i < pieces.GetCount(); ++i) {
        const auto* piece = static_cast<const unsigned char*>(pieces.GetData(i));
        const int pieceCount = *reinterpret_cast<const int*>(piece);
        const auto* piecePoints = reinterpret_cast<const POINT*>(piece + sizeof(int));
        if (pieceCount > 0) EmitPolyline(&driver->m_attributes, pieceCount, piecePoints);
    }
    pieces.Clear();
    return 1;
}

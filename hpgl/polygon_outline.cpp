#include "hpgl/polygon_outline.h"

#include "hpgl/command_boundary.h"
#include "hpgl/encoded_polyline.h"
#include "job/output_stream.h"
#include "pxrdriver/regions.h"

namespace {

struct OutlineWriter {
    JobContext* job;
    bool absoluteEach;
    bool first = true;
    int sent = 0;

    void Polygon(const POINT* points, int count) {
        if (first) {
            MovePE(job, &points[0]);  // the move happens outside polygon mode
            ClosePE(job);
            WriteText(job, "PM");
            first = false;
        } else {
            ClosePE(job);
            WriteText(job, "PM1");
            MovePE(job, &points[0]);  // pen up inside polygon mode: the next sub-polygon
        }
        MovePE(job, nullptr);
        for (int i = 1; i < count; ++i) {
            const POINT p = PlotterPoint(job, points[i]);
            EncodePECoordinate(job, p.x, p.y);
        }
        const POINT& last = points[count - 1];
        if (last.x != points[0].x || last.y != points[0].y) {
            const POINT p = PlotterPoint(job, points[0]);
            EncodePECoordinate(job, p.x, p.y);  // close the outline
        }
        if (absoluteEach) job->m_bPEAbsNext = 1;
        ++sent;
    }
    int Finish() {
        ClosePE(job);
        return sent;
    }
};

}  // namespace

int EmitFigureOutlines(JobContext* job, const std::vector<PathFigure*>& figures,
                       bool absoluteEach) {
    OutlineWriter writer{job, absoluteEach};
    for (const PathFigure* figure : figures)
        if (figure && figure->pPoints && figure->nCount > 0)
            writer.Polygon(figure->pPoints, figure->nCount);
    return writer.Finish();
}

int EmitRegionOutlines(JobContext* job, const HT_ClipRgn* region, bool absoluteEach) {
    OutlineWriter writer{job, absoluteEach};
    for (const HT_ClipRgn* e = region; e; e = e->pNext)
        if (e->pPoints && e->nCount >= 3) writer.Polygon(e->pPoints, e->nCount);
    return writer.Finish();
}

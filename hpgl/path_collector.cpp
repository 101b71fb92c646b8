#include "hpgl/path_collector.h"

#include <cstring>
#include <new>

#include "job/job_context.h"
#include "pxrdriver/regions.h"

int AddFigure(JobContext* job, const POINT* points, int count) {
    if (!job || !points || count < 2) return 0;
    if (count == 2 && points[0].x == points[1].x && points[0].y == points[1].y) return 0;
    auto* figure = static_cast<PathFigure*>(HT_Malloc(sizeof(PathFigure)));
    if (!figure) return 0;
    const size_t bytes = static_cast<size_t>(count) * sizeof(POINT);
    figure->pPoints = static_cast<POINT*>(HT_Malloc(bytes));
    if (!figure->pPoints) {
        HT_Free(figure);
        return 0;
    }
    std::memcpy(figure->pPoints, points, bytes);
    figure->nCount = count;
    try {
        job->m_path.push_back(figure);
    } catch (const std::bad_alloc&) {
        HT_Free(figure->pPoints);
        HT_Free(figure);
        return 0;
    }
    return 1;
}

void ClearFigures(JobContext* job) {
    if (!job) return;
    for (PathFigure* figure : job->m_path) {
        HT_Free(figure->pPoints);
        HT_Free(figure);
    }
    job->m_path.clear();
}

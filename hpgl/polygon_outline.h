// A list of polygons sent as one polygon-mode definition.
#pragma once

#include <vector>

#include "job/job_context.h"

struct HT_ClipRgn;

// Figures with no points are skipped. Returns the number of polygons sent;
// "PE" is closed afterwards. bAbsoluteEach makes every polygon's first pair
// after the first absolute again (paths filled by the plotter need that).
int EmitFigureOutlines(JobContext* pJob, const std::vector<PathFigure*>& figures,
                       bool bAbsoluteEach);
// Region elements with fewer than 3 points are skipped.
int EmitRegionOutlines(JobContext* pJob, const HT_ClipRgn* pRegion, bool bAbsoluteEach);

// Figures collected between the beginning and the end of a path.
#pragma once

#include <windows.h>

struct JobContext;

// Appends a copy of the points as a figure of its own; 0 (nothing kept) for
// fewer than 2 points or 2 equal points.
int AddFigure(JobContext* pJob, const POINT* pPoints, int nCount);
// Frees every figure and empties the collection.
void ClearFigures(JobContext* pJob);

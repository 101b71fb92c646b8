// The job's pen table: a colour in use maps to a pen number, defined on the
// plotter ("PC") the first time it is needed and selected ("SP") only when
// it changes; pen width ("PW"), line type ("LT") and line attributes ("LA")
// likewise go out only on change.
#pragma once

#include <windows.h>

struct JobContext;

// Line-attribute word: one line-end value plus one join value.
constexpr int LINECAP_FLAT = 1;
constexpr int LINECAP_SQUARE = 2;
constexpr int LINECAP_ROUND = 4;
constexpr int LINEJOIN_BEVEL = 8;
constexpr int LINEJOIN_ROUND = 16;
constexpr int LINEJOIN_MITER = 32;

void EmitPenCount(JobContext* pJob);
void DefinePen(JobContext* pJob, int nPen);
void SelectPenNumber(JobContext* pJob, int nPen);
// rgb: red, green, blue.
void SelectPenColor(JobContext* pJob, const BYTE* rgb);
void SetLineTypeSolid(JobContext* pJob);
// w in device units; sent in millimetres.
void SetPenWidth(JobContext* pJob, int w);
void SetLineAttributes(JobContext* pJob, int nWord);
// At every job start: the plotter forgets its pens, the table keeps its colours.
void ResetPenState(JobContext* pJob);

// Selects the pen of a COLORREF unless it is the current one.
void SelectColorIfChanged(JobContext* pJob, COLORREF color);
// After an embedded raster: the raster's configure-image-data command has
// replaced the plotter's pen palette and reset the pen widths, so every pen
// is defined, counted and selected again, and the width sent again, before
// its next use.
void ForgetPensAfterRaster(JobContext* pJob);

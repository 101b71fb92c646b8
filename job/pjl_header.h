// The PJL job-control lines at the start of a job, chosen by a bit mask.
#pragma once

struct JobContext;
struct HPGL2DevMode;

// Writes the lines of the bits set in mask, in their fixed order. The
// INKEDAREA line is written whenever the record asks for inked-area
// plotting, whatever the mask.
void WritePjlHeader(JobContext* pJob, const HPGL2DevMode& record, int nMask);

// PAPERLENGTH and PAPERWIDTH values, in 1/720 inch.
int PjlPaperLength(const HPGL2DevMode& record);
int PjlPaperWidth(const HPGL2DevMode& record);

// The PJL job-control lines at the start of a job, chosen by a bit mask.
#pragma once

struct JobContext;
struct HPGL2DevMode;

// The bits of the header mask, one PJL line each, in the order of the lines.
enum PjlHeaderLine : int {
    kPjlJobName = 0x1,
    kPjlDriverVersion = 0x2,
    kPjlPaletteSource = 0x4,
    kPjlRenderMode = 0x8,
    kPjlRet = 0x10,
    kPjlPrintAreaFullSize = 0x20,
    kPjlResolution = 0x40,
    kPjlPaperLength = 0x80,
    kPjlPaperWidth = 0x100,
    kPjlOrientation = 0x200,
    kPjlNumBands = 0x400,
    kPjlEnterLanguage = 0x800,
};

// Writes the lines of the bits set in mask, in their fixed order. The
// INKEDAREA line is written whenever the record asks for inked-area
// plotting, whatever the mask.
void WritePjlHeader(JobContext* pJob, const HPGL2DevMode& record, int nMask);

// PAPERLENGTH and PAPERWIDTH values, in 1/720 inch.
int PjlPaperLength(const HPGL2DevMode& record);
int PjlPaperWidth(const HPGL2DevMode& record);

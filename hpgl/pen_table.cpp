#include "hpgl/pen_table.h"

#include "hpgl/command_boundary.h"
#include "job/job_context.h"
#include "job/output_stream.h"

void EmitPenCount(JobContext* job) {
    WriteText(job, "NP256");
    job->m_nPenCount = kPenCount;
    job->m_nCurWidth = -1;
}

void DefinePen(JobContext* job, int n) {
    ClosePE(job);
    if (job->m_nPenCount != kPenCount) EmitPenCount(job);
    PenSlot& slot = job->m_aPens[n];
    int blue = slot.blue;
    // Pure white is never defined: the plotter takes 255,255,255 as no ink.
    if (slot.red == 255 && slot.green == 255 && slot.blue == 255) blue = 254;
    CommandText pc;
    pc.Text("PC")
        .Int(n < 0 ? 0 : n)
        .Text(",")
        .Int(slot.red)
        .Text(",")
        .Int(slot.green)
        .Text(",")
        .Int(blue);
    WriteCommand(job, pc);
    slot.bDefined = 1;
}

void SelectPenNumber(JobContext* job, int n) {
    ClosePE(job);
    if (n < 0 || n > 255 || !job->m_aPens[n].bUsed) {
        n = 0;
        PenSlot& black = job->m_aPens[0];
        if (!(black.bUsed == 1 && black.red == 0 && black.green == 0 && black.blue == 0))
            black = PenSlot{0, 0, 0, 1, 0};
    }
    if (!job->m_aPens[n].bDefined) DefinePen(job, n);
    CommandText sp;
    sp.Text("SP").Int(n < 1 ? 0 : n);
    WriteCommand(job, sp);
    job->m_nCurPen = n;
    job->m_rgbCurPen[0] = static_cast<BYTE>(job->m_aPens[n].red);
    job->m_rgbCurPen[1] = static_cast<BYTE>(job->m_aPens[n].green);
    job->m_rgbCurPen[2] = static_cast<BYTE>(job->m_aPens[n].blue);
}

void SelectPenColor(JobContext* job, const BYTE* rgb) {
    int free = 0;  // slot 0 is never remembered as free: 0 means none found
    for (int i = 0; i < kPenCount; ++i) {
        const PenSlot& slot = job->m_aPens[i];
        if (slot.bUsed) {
            if (slot.red == rgb[0] && slot.green == rgb[1] && slot.blue == rgb[2]) {
                SelectPenNumber(job, i);
                return;
            }
        } else if (free == 0 && i > 0) {
            free = i;
        }
    }
    // No pen has the colour: the first free slot takes it, or pen 0 once the
    // table is full.
    job->m_aPens[free] = PenSlot{rgb[0], rgb[1], rgb[2], 1, 0};
    SelectPenNumber(job, free);
}

void SetLineTypeSolid(JobContext* job) {
    ClosePE(job);
    WriteText(job, "LT");
    job->m_nCurLineType = 0;
}

void SetPenWidth(JobContext* job, int w) {
    ClosePE(job);
    // The width goes through single precision before it is rounded to two
    // decimals; plotters have always been sent these values.
    const int resolution = job->m_nResolution > 0 ? job->m_nResolution : 300;
    const float product = static_cast<float>(w * 25.4 / resolution);
    const float millimetres = product + 0.005f;
    CommandText pw;
    pw.Text("PW").Fixed(millimetres, 2);
    WriteCommand(job, pw);
    job->m_nCurWidth = w;
}

void SetLineAttributes(JobContext* job, int word) {
    ClosePE(job);
    if (word < 1) word = 0;
    CommandText la;
    if ((word & 7) != (job->m_nCurLineAttr & 7)) {
        const int ends = word & 7;
        la.Text("LA").Text(ends == LINECAP_SQUARE ? "1,2" : ends == LINECAP_ROUND ? "1,4" : "1,1");
    }
    if ((word & 0x38) != (job->m_nCurLineAttr & 0x38)) {
        const int joins = word & 0x38;
        la.Text(la.size() == 0 ? "LA" : ",");
        la.Text(joins == LINEJOIN_BEVEL ? "2,5" : joins == LINEJOIN_ROUND ? "2,4" : "2,1");
    }
    WriteCommand(job, la);
    job->m_nCurLineAttr = word;
}

void ResetPenState(JobContext* job) {
    for (PenSlot& slot : job->m_aPens) slot.bDefined = 0;
    job->m_nCurPen = kNoPen;
    job->m_nCurWidth = -1;
    job->m_nCurLineAttr = -1;
    job->m_nCurLineType = -1;
    job->m_nPenCount = -1;
    job->m_bPEAbsNext = 1;
}

void SelectColorIfChanged(JobContext* job, COLORREF color) {
    const BYTE rgb[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    if (job->m_nCurPen == kNoPen || rgb[0] != job->m_rgbCurPen[0] ||
        rgb[1] != job->m_rgbCurPen[1] || rgb[2] != job->m_rgbCurPen[2])
        SelectPenColor(job, rgb);
}

void ForgetPensAfterRaster(JobContext* job) {
    for (PenSlot& slot : job->m_aPens) slot.bDefined = 0;
    job->m_nCurPen = kNoPen;
    job->m_nCurWidth = -1;
    job->m_nPenCount = -1;
}

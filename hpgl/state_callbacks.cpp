#include "hpgl/state_callbacks.h"

#include "driver/driver_state.h"
#include "hpgl/command_boundary.h"
#include "hpgl/pen_table.h"
#include "job/job_context.h"
#include "job/output_stream.h"

COLORREF ConvertColor(COLORREF c, int mode) {
    if (mode == 0) return (c == 0x00FFFFFF) ? c : 0;
    if (mode == 2) {
        const DWORD grey = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3u;
        return (c & 0xFF000000u) | grey | (grey << 8) | (grey << 16);
    }
    return c;
}

int LineAttributesOfStyle(DWORD style) {
    int ends;
    switch (style & 0x0F00) {
        case 0x0100: ends = LINECAP_SQUARE; break;
        case 0x0200: ends = LINECAP_FLAT; break;
        default: ends = LINECAP_ROUND; break;
    }
    int joins;
    switch (style & 0xF000) {
        case 0x1000: joins = LINEJOIN_BEVEL; break;
        case 0x2000: joins = LINEJOIN_MITER; break;
        default: joins = LINEJOIN_ROUND; break;
    }
    return ends + joins;
}

int OnSelectPen(HostContext* pHost, const HostPenRecord* pen) {
    DriverState* driver = DriverOf(pHost);
    if (!driver || !pen) return 1;
    driver->m_attributes.m_nPenWidth = static_cast<LONG>(pen->nWidth);
    driver->m_attributes.m_crColor = ConvertColor(pen->crColor, driver->m_devmode.nColorMode);
    driver->m_penRecord = *pen;
    driver->m_attributes.m_nLineAttr = LineAttributesOfStyle(pen->nStyle);
    return 1;
}

int OnSelectBrush(HostContext* pHost, const HostBrushRecord* brush) {
    DriverState* driver = DriverOf(pHost);
    if (!driver || !brush) return 1;
    driver->m_nBrushStyle = static_cast<LONG>(brush->nStyle);
    driver->m_crBrush = brush->crColor;
    driver->m_nBrushHatch = static_cast<LONG>(brush->nHatch);
    driver->m_attributes.m_crColor = ConvertColor(brush->crColor, driver->m_devmode.nColorMode);
    return 1;
}

int OnSetRop2(HostContext* pHost, int rop2) {
    JobContext* job = JobOf(pHost);
    if (!job) return 1;
    if (rop2 == job->m_nCurRop2) return rop2;
    ClosePE(job);
    LeaveRaster(job);
    // R2_MASKPEN is destination AND source: merge control with operation 160.
    WriteText(job, rop2 == R2_MASKPEN ? "MC1,160" : "MC0");
    job->m_nCurRop2 = rop2;
    return 1;
}

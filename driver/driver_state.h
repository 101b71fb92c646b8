// What a driver keeps for its callbacks and dialogs: its name, the settings
// record, the drawing attributes the selection callbacks set and the
// primitives read, the paper list it plots on, and the callback table handed
// to the host. The callbacks reach it through the context they are given and
// the dialogs through their owner, never through the driver class, which
// sits above them.
#pragma once

#include <string>
#include <windows.h>

#include "driver/hpgl2_devmode.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/host_context.h"
#include "pxrdriver/paper.h"

struct DriverState {
    // Brings the paper size and margins of the record up to date with its
    // paper code and orientation, from the paper list.
    void RefreshPaperGeometry(HPGL2DevMode* pRecord);
    // The paper list as device capability 19 gives it: the count when
    // pOutput is null, else the records written to it.
    int PaperRecords(char* pOutput) const;

    std::string m_strName;
    HPGL2DevMode m_devmode{};
    DrawAttributes m_attributes{};  // first member m_pHost: the attached context
    HostPenRecord m_penRecord{};
    LONG m_nBrushStyle = 0;
    COLORREF m_crBrush = 0;
    LONG m_nBrushHatch = 0;
    std::string m_strPaperFile;
    PaperSize m_customPaper{};
    DriverCallbacks m_callbacks{};
};

// The state of the driver attached to pHost; null without a context.
DriverState* DriverOf(HostContext* pHost);

// The per-attachment state of the job stream: created when the driver is
// attached to a drawing context, freed when it is detached.
#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "pxrdriver/host_context.h"

class OutputChannel;
class CKestRgn;
struct HT_ClipRgn;

// One entry of the pen table.
struct PenSlot {
    int red;
    int green;
    int blue;
    int bUsed;     // the slot holds a colour
    int bDefined;  // the plotter has been sent this slot's "PC" since the last reset
};

// A figure collected while a path is open; record and points come from HT_Malloc.
struct PathFigure {
    POINT* pPoints;
    int nCount;
};

constexpr int kPenCount = 256;
constexpr int kNoPen = 256;  // m_nCurPen when no pen is selected

struct JobContext {
    // Output stream and destination.
    OutputChannel* m_pOutput = nullptr;
    std::string m_strTarget;
    int m_nResolution = 0;
    POINT m_ptOrigin{0, 0};
    POINT m_ptExtent{0, 0};
    double m_dPlotWidth = 0;
    double m_dPlotLength = 0;
    HWND m_hParentWnd = nullptr;

    // Clipping.
    int m_bClipIsRect = 1;
    HT_ClipRgn* m_pClipData = nullptr;
    CKestRgn* m_pClipRgn = nullptr;
    RECT m_rcClipBounds{0, 0, 0, 0};
    RECT m_rcClipInner{0, 0, 0, 0};
    int m_bClipInnerValid = 0;

    // Pens and line attributes: what the plotter was last told.
    PenSlot m_aPens[kPenCount] = {};
    int m_nCurPen = 0;
    BYTE m_rgbCurPen[3] = {0, 0, 0};
    int m_nPenCount = 0;
    int m_nCurWidth = 0;
    int m_nCurLineAttr = 0;
    int m_nCurLineType = 0;
    int m_nCurRop2 = 13;

    // Encoded-polyline stream and raster mode.
    int m_bInPE = 0;
    int m_bPEAbsNext = 0;
    POINT m_ptPE{0, 0};
    int m_bInRaster = 0;

    // Path collection and fills.
    int m_bPathOpen = 0;
    std::vector<PathFigure*> m_path;
    int m_bPathHasFigures = 0;
    int m_nFillMode = 1;
};

inline JobContext* JobOf(HostContext* pHost) {
    return pHost ? static_cast<JobContext*>(pHost->pJob) : nullptr;
}

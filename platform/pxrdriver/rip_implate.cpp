// CRIPImplate: a raster rendered band by band into bounded buffers and
// handed to the callback top to bottom.
//
// With a metafile to replay (m_hPlayMetaFile), every band plays it afresh
// under m_xformPlay, so the raster is never held whole and bands may render
// on several threads. Without one, what was drawn through GetRIPDC is
// delivered: that DC covers the whole raster when it takes at most
// kRipWholeDcBudget bytes; a larger raster's DC covers only its first band,
// and EndRIP then fails (returns 0, delivers nothing) rather than hand over
// a raster of which most was never drawn. Pixels are always delivered at
// four bytes (0x00RRGGBB), also when m_bMonochrome asks for one bit: the
// caller's writer reduces them.
#include "pxrdriver/rip_implate.h"

#include <algorithm>
#include <new>

#include "rip_internal.h"

struct RipImplateState {
    RipBandPlan plan;
    RECT dest{0, 0, 0, 0};
    RipCanvas firstBand;                 // made with the buffer: proves the memory is there
    std::unique_ptr<RipCanvas> drawing;  // the DC of GetRIPDC, made when asked for
    bool drawingWhole = false;
};

CRIPImplate::CRIPImplate(CRipCallBack* pCallBack) : m_pCallBack(pCallBack) {}

CRIPImplate::~CRIPImplate() {
    delete m_pState;
}

int CRIPImplate::CreateRIPBuffer(unsigned nWidth, unsigned nHeight, int nBitsPerPixel, DWORD) {
    delete m_pState;
    m_pState = nullptr;
    if (nBitsPerPixel != 32) return 0;
    RipBandPlan plan;
    if (!PlanRipBands(nWidth, nHeight, RipThreadsWanted(), RipBandRowsForced(), &plan)) return 0;
    auto* state = new (std::nothrow) RipImplateState;
    if (!state) return 0;
    state->plan = plan;
    state->dest = RECT{0, 0, static_cast<LONG>(nWidth), static_cast<LONG>(nHeight)};
    if (!state->firstBand.Create(plan.width, plan.bandRows)) {
        delete state;
        return 0;
    }
    m_pState = state;
    return 1;
}

void CRIPImplate::BeginRIP(const CRect& rcDest, const CRect&) {
    if (!m_pState) return;
    const RipBandPlan& plan = m_pState->plan;
    if (rcDest.right <= rcDest.left || rcDest.bottom <= rcDest.top)
        m_pState->dest = RECT{0, 0, static_cast<LONG>(plan.width), static_cast<LONG>(plan.height)};
    else
        m_pState->dest = RECT{rcDest.left, rcDest.top, rcDest.right, rcDest.bottom};
    if (m_pState->drawing) m_pState->drawing->PlaceAt(m_pState->dest, 0);
}

HDC CRIPImplate::GetRIPDC() {
    if (!m_pState) return nullptr;
    RipImplateState& s = *m_pState;
    if (!s.drawing) {
        const size_t wholeBytes = size_t{s.plan.width} * s.plan.height * 4;
        const bool whole = wholeBytes <= kRipWholeDcBudget;
        auto canvas = std::unique_ptr<RipCanvas>(new (std::nothrow) RipCanvas);
        if (!canvas || !canvas->Create(s.plan.width, whole ? s.plan.height : s.plan.bandRows) ||
            !canvas->PlaceAt(s.dest, 0))
            return nullptr;
        s.drawing = std::move(canvas);
        s.drawingWhole = whole;
    }
    return s.drawing->Dc();
}

int CRIPImplate::EndRIP() {
    if (!m_pState || !m_pCallBack) return 0;
    const RipImplateState& s = *m_pState;
    const RipBandPlan& plan = s.plan;
    const RECT whole{0, 0, static_cast<LONG>(plan.width), static_cast<LONG>(plan.height)};
    const RipDeliver deliver = [&](unsigned top, unsigned rows, const BYTE* bits) {
        const RECT band{0, static_cast<LONG>(top), static_cast<LONG>(plan.width),
                        static_cast<LONG>(top + rows)};
        const RipBandBits data{static_cast<int>(plan.width), static_cast<int>(rows), 4, bits};
        try {
            return m_pCallBack->OnBand(nullptr, &whole, &band, &data);
        } catch (...) {
            return 0;
        }
    };
    if (!m_hPlayMetaFile) {
        // What was drawn through GetRIPDC; white when nothing was.
        const RipCanvas* drawn = s.drawing ? s.drawing.get() : nullptr;
        if (drawn && !s.drawingWhole) return 0;
        if (!drawn) m_pState->firstBand.Clear();
        for (unsigned top = 0; top < plan.height; top += plan.bandRows) {
            const unsigned rows = std::min(plan.bandRows, plan.height - top);
            const BYTE* bits =
                drawn ? drawn->Bits() + size_t{top} * plan.width * 4 : s.firstBand.Bits();
            if (!deliver(top, rows, bits)) return 0;
        }
        return 1;
    }
    const RipPicture picture{m_hPlayMetaFile, m_xformPlay, s.dest};
    if (!RenderRipBands(plan, picture, m_pState->firstBand, deliver)) return 0;
    DeleteEnhMetaFile(m_hPlayMetaFile);
    m_hPlayMetaFile = nullptr;
    return 1;
}

extern "C" BOOL HT_IsWindowNT() {
    return TRUE;
}

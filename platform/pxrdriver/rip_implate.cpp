// CRIPImplate: a raster rendered band by band into bounded buffers and
// handed to the callback top to bottom.
//
// With a metafile to replay (m_hPlayMetaFile), the metafile is placed under
// m_xformPlay as the page's picture (rip_picture.h), and every band draws
// its rows of it, so the raster is never held whole and bands may render
// on several threads.
// A callback that prepares bands (CRTLRip codes its rows) does so on the
// thread that rendered the band; the calling thread only hands bands over,
// in order. Without a metafile, what was drawn through GetRIPDC is
// delivered: that DC covers the whole raster when it takes at most
// kRipWholeDcBudget bytes; a larger raster's DC covers only its first band,
// and EndRIP then fails (returns 0, delivers nothing) rather than hand over
// a raster of which most was never drawn. Pixels are always delivered at
// four bytes (0x00RRGGBB), also when m_bMonochrome asks for one bit: the
// caller's writer reduces them.
#include "pxrdriver/rip_implate.h"

#include <algorithm>
#include <climits>
#include <new>
#include <string>

#include "rip_internal.h"
#include "rip_picture.h"

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
    // A row more than a band: the row above a band carried on.
    if (!state->firstBand.Create(plan.width, plan.bandRows + 1)) {
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
    if (m_pState->drawing) m_pState->drawing->PlaceAt(m_pState->dest);
}

HDC CRIPImplate::GetRIPDC() {
    if (!m_pState) return nullptr;
    RipImplateState& s = *m_pState;
    if (!s.drawing) {
        const size_t wholeBytes = size_t{s.plan.width} * s.plan.height * 4;
        const bool whole = wholeBytes <= kRipWholeDcBudget;
        auto canvas = std::unique_ptr<RipCanvas>(new (std::nothrow) RipCanvas);
        if (!canvas || !canvas->Create(s.plan.width, whole ? s.plan.height : s.plan.bandRows) ||
            !canvas->PlaceAt(s.dest))
            return nullptr;
        s.drawing = std::move(canvas);
        s.drawingWhole = whole;
    }
    return s.drawing->Dc();
}

int CRIPImplate::EndRIP() {
    if (!m_pState || !m_pCallBack) return 0;
    RipImplateState& s = *m_pState;
    const RipBandPlan& plan = s.plan;
    const RECT whole{0, 0, static_cast<LONG>(plan.width), static_cast<LONG>(plan.height)};
    const auto rectOf = [&](const RipBand& band) {
        return RECT{0, static_cast<LONG>(band.top), static_cast<LONG>(plan.width),
                    static_cast<LONG>(band.top + band.rows)};
    };
    const auto bitsOf = [&](const RipBand& band, const RipRendered& rendered) {
        return RipBandBits{static_cast<int>(plan.width), static_cast<int>(band.rows), 4,
                           rendered.canvas->Row(rendered.first)};
    };
    bool prepares = false;
    try {
        prepares = m_pCallBack->PreparesBands() != 0;
    } catch (...) {
        return 0;
    }
    RipPrepare prepare;
    if (prepares)
        prepare = [&](const RipBand& band, const RipRendered& rendered, RipBandWrites* writes) {
            const RECT rect = rectOf(band);
            const RipBandBits bits = bitsOf(band, rendered);
            const BYTE* above = band.continues ? rendered.canvas->Row(rendered.first - 1) : nullptr;
            return m_pCallBack->PrepareBand(&whole, &rect, &bits, above, writes);
        };
    const RipDeliver deliver = [&](const RipBand& band, const RipRendered& rendered,
                                   RipBandWrites* prepared) {
        const RECT rect = rectOf(band);
        const RipBandBits bits = bitsOf(band, rendered);
        return m_pCallBack->OnBand(prepared, &whole, &rect, &bits);
    };
    if (!m_hPlayMetaFile) {
        // What was drawn through GetRIPDC; white when nothing was.
        const RipCanvas* drawn = s.drawing ? s.drawing.get() : nullptr;
        if (drawn && !s.drawingWhole) return 0;
        RipBandPlan single = plan;
        single.threads = 1;
        const RipRender render = [&](const RipBand& band, RipCanvas& canvas, RipRendered* out) {
            // The rows above a band are there too, when the band carries them on.
            *out = drawn ? RipRendered{drawn, band.top} : RipRendered{&canvas, band.continues};
            return true;
        };
        return RenderRipBands(single, s.firstBand.Rows(), s.firstBand, render, prepare, deliver)
                   ? 1
                   : 0;
    }
    RipPictureRows picture;
    try {
        picture = MakeRipPicture(m_hPlayMetaFile, m_xformPlay, s.dest, plan);
    } catch (...) {
        return 0;
    }
    if (!picture) return 0;
    const RipRender render = [&](const RipBand& band, RipCanvas& canvas, RipRendered* out) {
        // A band carried on from the rows before it brings the row above:
        // the writer codes its first row against that one.
        const unsigned above = prepares && band.continues ? 1 : 0;
        canvas.Clear();
        RECT drawn;
        if (!picture(canvas.Dc(), band.top - above, band.rows + above, &drawn)) return false;
        canvas.MarkDrawn(drawn);
        *out = RipRendered{&canvas, above};
        return true;
    };
    if (!RenderRipBands(plan, s.firstBand.Rows(), s.firstBand, render, prepare, deliver)) return 0;
    DeleteEnhMetaFile(m_hPlayMetaFile);
    m_hPlayMetaFile = nullptr;
    return 1;
}

extern "C" BOOL HT_IsWindowNT() {
    return TRUE;
}

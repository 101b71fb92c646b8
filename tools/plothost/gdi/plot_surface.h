// The attached driver as the player draws on it: the callbacks of its
// table, with what the host has told it remembered, so that a pen, brush,
// fill mode, raster operation or clip region goes out only when it changes.
#pragma once

#include <memory>
#include <span>

#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/regions.h"

class PlotSurface {
public:
    // host must be attached and its document started; its table must have
    // the vector entries.
    explicit PlotSurface(HostContext* host);

    int DeviceCaps(int index) const;

    // The driver draws lines and fills in whichever colour was selected
    // last, so the callers select the pen right before a stroke and the
    // brush right before a fill; a selection that is already in force is
    // not repeated.
    void UsePen(const HostPenRecord& pen);
    void UseBrush(const HostBrushRecord& brush);
    void SetFillMode(int mode);
    void SetRop2(int rop2);
    // The clip region in device pixels; null for the whole page. It reaches
    // the driver before the next drawing, and only when it differs from the
    // one the driver has.
    void SetClip(std::shared_ptr<CKestRgn> clip);
    // True when the clip region leaves nothing to draw on: every drawing
    // call then does nothing (the driver would read an empty region as none).
    bool ClippedAway() const { return m_clippedAway; }

    void Polyline(std::span<const POINT> points);
    // A filled polygon, no outline.
    void Polygon(std::span<const POINT> points);
    // Figures filled together as one path under the current fill mode.
    void FillPath(std::span<const std::span<const POINT>> figures);
    // A bitmap with the arguments of StretchDIBits, the destination in
    // device pixels; alpha draws through the alpha entry. False when the
    // driver did not send it.
    bool DrawBitmap(const RECT& dest, const RECT& source, const void* bits, const BITMAPINFO* info,
                    UINT usage, DWORD rop, bool alpha);

    // Whether the driver renders metafiles into rectangles of the plot.
    bool RendersMetafileRegions() const { return m_table->RenderMetafileRegion != nullptr; }
    // Has the driver render the metafile onto rect (plotter pixels), placed
    // as PlayEnhMetaFile places it; false when it has no such entry.
    bool RenderMetafileRegion(HENHMETAFILE metafile, const RECT& rect);

private:
    bool ReadyToDraw();

    HostContext* m_host;
    const DriverCallbacks* m_table;
    enum class Selected { None, Pen, Brush } m_selected = Selected::None;
    HostPenRecord m_pen{};
    HostBrushRecord m_brush{};
    int m_fillMode = ALTERNATE;  // the driver's job starts in alternate mode
    int m_rop2 = 13;             // and with R2_COPYPEN
    std::shared_ptr<CKestRgn> m_clip;
    std::shared_ptr<CKestRgn> m_clipSent;
    bool m_clipPending = false;
    bool m_clippedAway = false;
};

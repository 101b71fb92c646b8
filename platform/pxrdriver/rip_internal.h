// The raster image processor's parts: how a raster is cut into bands, the
// canvas a band renders into, and the pipeline that renders bands on
// worker threads and hands them over in order.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "pxrdriver/rip.h"

// The bytes every band buffer of one raster may take together, and the
// most one band may take: a row wider than that cannot be a band.
inline constexpr size_t kRipBandBuffersBudget = size_t{32} << 20;
inline constexpr size_t kRipMaxBandBytes = size_t{8} << 20;
// The bytes a band renders into: bands as tall as keeps the primitives that
// each band draws afresh from costing more than their pixels, and the
// buffers of two threads within a few MiB.
inline constexpr size_t kRipBandBytes = size_t{4} << 20;
inline constexpr size_t kRipMinBandRows = 16;
// A raster drawn through GetRIPDC without a metafile to replay is kept
// whole up to this size; beyond it only its first band is drawn into.
inline constexpr size_t kRipWholeDcBudget = size_t{16} << 20;
inline constexpr unsigned kRipMaxThreads = 64;

// One band: rows [top, top + rows) of the raster.
struct RipBand {
    unsigned top = 0;
    unsigned rows = 0;
    bool continues = false;  // carries on the rows before it (see blockRows)
};

struct RipBandPlan {
    unsigned width = 0;
    unsigned height = 0;
    // The raster's rows start afresh every blockRows rows, the rows of a
    // band of kRipMaxBandBytes (for a writer, whose coding then never
    // depends on the threads or the band height); no band spans two blocks.
    unsigned blockRows = 0;
    unsigned bandRows = 0;
    unsigned threads = 1;  // renderers; each beyond the first adds a buffer
    unsigned Bands() const;
    RipBand Band(unsigned index) const;
    // Band buffers in use at once: one rendering per thread, one handed to
    // the callback.
    unsigned Buffers() const { return threads > 1 ? threads + 1 : 1; }
};

// The threads PXR_RIP_THREADS asks for, else the machine's cores.
unsigned RipThreadsWanted();
// The band height PXR_RIP_BAND_ROWS forces (tests of band edges), else 0.
unsigned RipBandRowsForced();
// The plan of a raster; false when no band can hold one of its rows or the
// size is empty or beyond what a RECT counts.
bool PlanRipBands(unsigned width, unsigned height, unsigned threadsWanted, unsigned forcedRows,
                  RipBandPlan* plan);

// A memory DC over a top-down DIB section of width x rows pixels.
class RipCanvas {
public:
    RipCanvas() = default;
    ~RipCanvas();
    RipCanvas(const RipCanvas&) = delete;
    RipCanvas& operator=(const RipCanvas&) = delete;

    bool Create(unsigned width, unsigned rows);
    HDC Dc() const { return m_dc; }
    const BYTE* Bits() const { return reinterpret_cast<const BYTE*>(m_bits); }
    const BYTE* Row(unsigned y) const { return Bits() + size_t{y} * m_width * 4; }
    unsigned Rows() const { return m_rows; }
    // Whites what was drawn since the last Clear (the canvas is white when
    // made); MarkDrawn tells what a drawing may have changed.
    void Clear();
    void MarkDrawn(const RECT& area);
    // Places the DC's origin so that the drawing's pixel (dest.left,
    // dest.top) is the canvas's first pixel.
    bool PlaceAt(const RECT& dest);

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
    unsigned m_width = 0;
    unsigned m_rows = 0;
    RECT m_drawn{0, 0, 0, 0};
};

// A band rendered into a canvas: the band's rows begin at its row
// `first`, the row above them (when rendered) at first - 1.
struct RipRendered {
    const RipCanvas* canvas = nullptr;
    unsigned first = 0;
};

// Renders a band into the canvas; false when it fails.
using RipRender = std::function<bool(const RipBand& band, RipCanvas& canvas, RipRendered* out)>;
// Prepares a rendered band's writes on the thread that rendered it; 0 stops.
using RipPrepare =
    std::function<int(const RipBand& band, const RipRendered& rendered, RipBandWrites* writes)>;
// Hands one band to the callback on the calling thread, with its prepared
// writes or null; nonzero to go on.
using RipDeliver =
    std::function<int(const RipBand& band, const RipRendered& rendered, RipBandWrites* prepared)>;

// Renders the bands on plan.threads threads into plan.Buffers() canvases
// of canvasRows rows (the first one given, already made), prepares each on
// the thread that rendered it when prepare is set, and delivers them on
// the calling thread, in order. False when a band failed to render or to
// prepare or was refused; no worker runs any more on return.
bool RenderRipBands(const RipBandPlan& plan, unsigned canvasRows, RipCanvas& first,
                    const RipRender& render, const RipPrepare& prepare, const RipDeliver& deliver);

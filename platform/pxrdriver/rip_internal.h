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

// The bytes every band buffer of one raster may take together, and the
// most one band may take: a row wider than that cannot be a band.
inline constexpr size_t kRipBandBuffersBudget = size_t{32} << 20;
inline constexpr size_t kRipMaxBandBytes = size_t{8} << 20;
// A raster drawn through GetRIPDC without a metafile to replay is kept
// whole up to this size; beyond it only its first band is drawn into.
inline constexpr size_t kRipWholeDcBudget = size_t{16} << 20;
inline constexpr unsigned kRipMaxThreads = 64;

struct RipBandPlan {
    unsigned width = 0;
    unsigned height = 0;
    unsigned bandRows = 0;
    unsigned threads = 1;  // renderers; each beyond the first adds a buffer
    unsigned Bands() const { return (height + bandRows - 1) / bandRows; }
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

// What every band plays: the metafile placed on dest under world (GM_ADVANCED).
struct RipPicture {
    HENHMETAFILE metafile = nullptr;
    XFORM world{1, 0, 0, 1, 0, 0};
    RECT dest{0, 0, 0, 0};  // the raster's device pixels in the drawing
};

// A memory DC over a top-down DIB section of bandRows x width pixels,
// white before each band.
class RipCanvas {
public:
    RipCanvas() = default;
    ~RipCanvas();
    RipCanvas(const RipCanvas&) = delete;
    RipCanvas& operator=(const RipCanvas&) = delete;

    bool Create(unsigned width, unsigned rows);
    HDC Dc() const { return m_dc; }
    const BYTE* Bits() const { return reinterpret_cast<const BYTE*>(m_bits); }
    unsigned Rows() const { return m_rows; }
    void Clear();
    // Places the DC's origin so that raster row top is the canvas's first
    // row and the drawing's pixel (dest.left, dest.top) is the raster's
    // first pixel.
    bool PlaceAt(const RECT& dest, unsigned top);
    // Renders rows [top, top + rows) of the picture; false when it fails.
    bool Render(const RipPicture& picture, unsigned top);

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
    unsigned m_width = 0;
    unsigned m_rows = 0;
};

// Hands one band to the callback: nonzero to go on.
using RipDeliver = std::function<int(unsigned top, unsigned rows, const BYTE* bits)>;

// Renders the picture band by band on plan.threads threads into
// plan.Buffers() canvases (the first one given, already made) and delivers
// each band on the calling thread, in order. False when a band failed to
// render or was refused; no worker runs any more on return.
bool RenderRipBands(const RipBandPlan& plan, const RipPicture& picture, RipCanvas& first,
                    const RipDeliver& deliver);

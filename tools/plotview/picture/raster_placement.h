// Places the rows of one HP RTL raster on the page as they are decoded.
//
// Every picture pixel takes the raster pixel under its centre (a centre on
// a pixel edge takes the pixel before it, as cairo's nearest filter does),
// and is drawn when its centre lies strictly inside the raster; with
// antialiasing, edge pixels are drawn in proportion to the area the raster
// covers. Which picture rows a slice of raster rows settles depends only on
// the raster's placement and on how many rows have come, so that a raster
// drawn slice by slice is exactly the raster drawn whole; a picture row not
// yet settled (its coverage waits for the raster's height) is kept sampled
// until it is.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "picture/plot_canvas.h"
#include "reader/raster_slice.h"

namespace plot {

struct RasterGeometry {
    double x = 0;  // top-left corner, device pixel edges
    double y = 0;
    double pixelWidth = 1;  // device pixels a raster pixel
    double pixelHeight = 1;
    int width = 0;  // raster pixels a row
    bool whiteTransparent = false;
};

class RasterPlacement {
public:
    RasterPlacement(PlotCanvas* pCanvas, const RasterGeometry& geometry);

    // Draws the picture rows that the rows up to the slice's end settle.
    void Place(const RasterSlice& slice);
    // The raster ended with `rows` rows: the rows kept are drawn or not.
    void Finish(int64_t rows);

    // Picture pixels drawn in one piece at most.
    static constexpr int kBandPixels = 1 << 20;

private:
    struct SampledRow {
        int row = 0;
        std::vector<uint32_t> colours;  // 0xFFRRGGBB, or 0 where nothing is drawn
    };
    // A picture row's centre in raster rows, in 1/65536 as pixman has it.
    double RowCentre(int row) const;
    static int64_t Sample(double centre);
    bool Settled(int row, int64_t rows) const;
    double RowCover(int row, int64_t rows) const;
    void SampleRow(const RasterSlice& slice, int64_t rasterRow, std::vector<uint32_t>* pOut) const;
    void Draw(int row, const std::vector<uint32_t>& colours, double cover);
    void Flush();

    PlotCanvas* m_pCanvas;
    RasterGeometry m_geometry;
    double m_scale;
    bool m_antialias;
    int m_pictureHeight;
    // The picture columns the raster reaches, from m_left, with the raster
    // column each takes and the share of it the raster covers.
    int m_left = 0;
    std::vector<int64_t> m_columns;
    std::vector<double> m_columnCover;
    int m_nextRow = 0;  // the first picture row not yet sampled
    std::deque<SampledRow> m_unsettled;
    std::vector<uint32_t> m_sampled;
    std::vector<uint32_t> m_band;  // premultiplied ARGB, from m_bandTop
    int m_bandTop = 0;
    int m_bandRows = 0;
};

}  // namespace plot

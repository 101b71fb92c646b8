#include "picture/raster_placement.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {

// pixman's fixed point: 1/65536 of a pixel.
constexpr double kFixedOne = 65536;

// A picture pixel's centre in raster pixels, in 1/65536.
double Centre(int pixel, double scale, double origin, double size) {
    return std::round(((pixel + 0.5) * scale - origin) / size * kFixedOne);
}

double Overlap(int pixel, double from, double to) {
    return std::clamp(std::min(pixel + 1.0, to) - std::max(double(pixel), from), 0.0, 1.0);
}

}  // namespace

RasterPlacement::RasterPlacement(PlotCanvas* pCanvas, const RasterGeometry& geometry)
    : m_pCanvas(pCanvas),
      m_geometry(geometry),
      m_scale(pCanvas->Scale()),
      m_antialias(pCanvas->Antialias()),
      m_pictureHeight(pCanvas->PictureHeight()) {
    const RasterGeometry& g = m_geometry;
    const double end = g.width * kFixedOne;
    const double left = g.x / m_scale, right = (g.x + g.width * g.pixelWidth) / m_scale;
    for (int i = 0; i < pCanvas->PictureWidth(); ++i) {
        const double centre = Centre(i, m_scale, g.x, g.pixelWidth);
        // Without antialiasing a centre on the right edge is outside.
        if (centre <= 0 || centre > end || (!m_antialias && centre == end)) {
            if (m_columns.empty()) continue;
            break;
        }
        if (m_columns.empty()) m_left = i;
        m_columns.push_back(Sample(centre));
        m_columnCover.push_back(m_antialias ? Overlap(i, left, right) : 1.0);
    }
    m_sampled.resize(m_columns.size());
}

double RasterPlacement::RowCentre(int row) const {
    return Centre(row, m_scale, m_geometry.y, m_geometry.pixelHeight);
}

int64_t RasterPlacement::Sample(double centre) {
    return int64_t(std::floor((centre - 1) / kFixedOne));
}

bool RasterPlacement::Settled(int row, int64_t rows) const {
    if (!m_antialias) return RowCentre(row) < double(rows) * kFixedOne;
    // Its coverage is whole once the raster reaches the row's bottom edge.
    return Sample(RowCentre(row)) < rows &&
           (row + 1) * m_scale <= m_geometry.y + double(rows) * m_geometry.pixelHeight;
}

double RasterPlacement::RowCover(int row, int64_t rows) const {
    if (!m_antialias) return 1;
    const double top = m_geometry.y / m_scale;
    if (rows < 0) return Overlap(row, top, row + 1.0);  // settled: the bottom is below
    return Overlap(row, top, (m_geometry.y + double(rows) * m_geometry.pixelHeight) / m_scale);
}

void RasterPlacement::SampleRow(const RasterSlice& slice, int64_t rasterRow,
                                std::vector<uint32_t>* pOut) const {
    const uint8_t* row = slice.Row(int(rasterRow - slice.firstRow));
    const RasterPixelFormat& format = *slice.format;
    for (size_t k = 0; k < m_columns.size(); ++k) {
        const uint32_t colour = format.Colour(row, m_columns[k]);
        (*pOut)[k] = m_geometry.whiteTransparent && colour == 0xFFFFFF ? 0 : 0xFF000000u | colour;
    }
}

void RasterPlacement::Place(const RasterSlice& slice) {
    if (m_columns.empty()) return;
    const int64_t rows = slice.EndRow();
    while (!m_unsettled.empty() && Settled(m_unsettled.front().row, rows)) {
        Draw(m_unsettled.front().row, m_unsettled.front().colours,
             RowCover(m_unsettled.front().row, -1));
        m_unsettled.pop_front();
    }
    for (; m_nextRow < m_pictureHeight; ++m_nextRow) {
        const double centre = RowCentre(m_nextRow);
        if (centre <= 0) continue;  // above the raster
        const int64_t rasterRow = Sample(centre);
        if (rasterRow >= rows) break;
        if (rasterRow < slice.firstRow) continue;  // a row skipped with "\e*b#Y"
        SampleRow(slice, rasterRow, &m_sampled);
        if (m_unsettled.empty() && Settled(m_nextRow, rows))
            Draw(m_nextRow, m_sampled, RowCover(m_nextRow, -1));
        else
            m_unsettled.push_back(SampledRow{m_nextRow, m_sampled});
    }
    Flush();
}

void RasterPlacement::Finish(int64_t rows) {
    for (const SampledRow& sampled : m_unsettled) {
        if (!m_antialias && RowCentre(sampled.row) >= double(rows) * kFixedOne) continue;
        Draw(sampled.row, sampled.colours, RowCover(sampled.row, rows));
    }
    m_unsettled.clear();
    Flush();
}

void RasterPlacement::Draw(int row, const std::vector<uint32_t>& colours, double cover) {
    const size_t width = m_columns.size();
    const int bandRows = std::max(1, int(kBandPixels / width));
    if (m_bandRows > 0 && (row != m_bandTop + m_bandRows || m_bandRows >= bandRows)) Flush();
    if (m_bandRows == 0) m_bandTop = row;
    m_band.resize((size_t(m_bandRows) + 1) * width);
    uint32_t* out = m_band.data() + size_t(m_bandRows) * width;
    ++m_bandRows;
    for (size_t k = 0; k < width; ++k) {
        const uint32_t colour = colours[k];
        const int alpha =
            m_antialias ? int(std::lround(255 * m_columnCover[k] * cover)) : (colour ? 255 : 0);
        if (colour == 0 || alpha == 0) {
            out[k] = 0;
        } else if (alpha == 255) {
            out[k] = colour;
        } else {
            // Premultiplied, as cairo keeps ARGB.
            uint32_t pixel = uint32_t(alpha) << 24;
            for (int shift = 0; shift < 24; shift += 8)
                pixel |= uint32_t(((colour >> shift) & 0xFF) * alpha / 255) << shift;
            out[k] = pixel;
        }
    }
}

void RasterPlacement::Flush() {
    if (m_bandRows == 0) return;
    m_pCanvas->PaintPixels(m_left, m_bandTop, int(m_columns.size()), m_bandRows, m_band.data());
    m_bandRows = 0;
}

}  // namespace plot

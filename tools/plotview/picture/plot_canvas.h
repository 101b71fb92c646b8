// The drawing surface of the plot reader: a cairo image in device pixels of
// the plot (optionally reduced or enlarged) on white paper.
//
// Coordinates are device pixels of the plot. For strokes and fills an
// integer coordinate is the centre of its pixel, so that a one-pixel line
// along y = 10 inks exactly the row 10; rasters and clip rectangles take
// pixel edges.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/plot_image.h"

namespace plot {

struct Point {
    double x = 0;
    double y = 0;
};

// Edges in device pixels: left <= x < right, top <= y < bottom.
struct EdgeRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

enum class LineCap { Butt, Square, Round };
enum class LineJoin { Miter, Round, Bevel };

struct StrokeStyle {
    uint32_t colour = 0;
    double width = 1;  // device pixels
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    double miterLimit = 5;
};

class PlotCanvas {
public:
    // A page of width x height device pixels, drawn at 1 / scale (a scale
    // below 1 enlarges).
    PlotCanvas(int width, int height, double scale, bool antialias);
    ~PlotCanvas();
    PlotCanvas(const PlotCanvas&) = delete;
    PlotCanvas& operator=(const PlotCanvas&) = delete;

    // Vector drawing is clipped to this rectangle (the input window); none
    // clips to the page alone. Rasters are not clipped by it.
    void SetClip(std::optional<EdgeRect> clip) { m_clip = clip; }
    // Merge control "destination AND source": colours multiply.
    void SetMultiply(bool multiply) { m_multiply = multiply; }

    void Stroke(const std::vector<Point>& polyline, const StrokeStyle& style);
    // Closed sub-polygons filled together.
    void Fill(const std::vector<std::vector<Point>>& polygons, uint32_t colour, bool evenOdd);
    // Composes width x height picture pixels, premultiplied ARGB rows of
    // `width`, with their top-left corner at picture pixel (left, top); not
    // clipped by the input window.
    void PaintPixels(int left, int top, int width, int height, const uint32_t* argb);

    Image Snapshot() const;
    // Empty while cairo is well; its error text once an operation failed
    // (after which cairo draws nothing more).
    std::string Error() const;
    int DeviceWidth() const { return m_width; }
    int DeviceHeight() const { return m_height; }
    // Device pixels a picture pixel.
    double Scale() const { return m_scale; }
    bool Antialias() const { return m_antialias; }
    int PictureWidth() const;
    int PictureHeight() const;

private:
    void Begin(bool vector);
    void End();
    void SetColour(uint32_t colour);

    int m_width;
    int m_height;
    double m_scale;
    bool m_antialias;
    bool m_multiply = false;
    std::optional<EdgeRect> m_clip;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
};

}  // namespace plot

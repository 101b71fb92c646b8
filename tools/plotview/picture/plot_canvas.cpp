#include "picture/plot_canvas.h"

#include <algorithm>
#include <cmath>

namespace plot {

PlotCanvas::PlotCanvas(int width, int height, double scale, bool antialias)
    : m_width(width), m_height(height), m_scale(scale > 0 ? scale : 1), m_antialias(antialias) {
    const int w = std::max(1, int(std::ceil(width / m_scale - 1e-9)));
    const int h = std::max(1, int(std::ceil(height / m_scale - 1e-9)));
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    m_cr = cairo_create(m_surface);
    cairo_set_source_rgb(m_cr, 1, 1, 1);
    cairo_paint(m_cr);
}

PlotCanvas::~PlotCanvas() {
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

void PlotCanvas::Begin(bool vector) {
    cairo_save(m_cr);
    cairo_scale(m_cr, 1.0 / m_scale, 1.0 / m_scale);
    cairo_set_antialias(m_cr, m_antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(m_cr, m_multiply ? CAIRO_OPERATOR_MULTIPLY : CAIRO_OPERATOR_OVER);
    if (vector && m_clip) {
        cairo_rectangle(m_cr, m_clip->left, m_clip->top, m_clip->right - m_clip->left,
                        m_clip->bottom - m_clip->top);
        cairo_clip(m_cr);
    }
    if (vector) cairo_translate(m_cr, 0.5, 0.5);  // integer coordinates are pixel centres
}

void PlotCanvas::End() {
    cairo_restore(m_cr);
}

void PlotCanvas::SetColour(uint32_t colour) {
    cairo_set_source_rgb(m_cr, RedOf(colour) / 255.0, GreenOf(colour) / 255.0,
                         BlueOf(colour) / 255.0);
}

void PlotCanvas::Stroke(const std::vector<Point>& polyline, const StrokeStyle& style) {
    if (polyline.empty()) return;
    Begin(true);
    SetColour(style.colour);
    // Never thinner than one pixel of the picture, so that hairlines survive
    // the reduction.
    cairo_set_line_width(m_cr, std::max(style.width, m_scale));
    cairo_set_line_cap(m_cr, style.cap == LineCap::Round    ? CAIRO_LINE_CAP_ROUND
                             : style.cap == LineCap::Square ? CAIRO_LINE_CAP_SQUARE
                                                            : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(m_cr, style.join == LineJoin::Round   ? CAIRO_LINE_JOIN_ROUND
                              : style.join == LineJoin::Bevel ? CAIRO_LINE_JOIN_BEVEL
                                                              : CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(m_cr, std::max(1.0, style.miterLimit));
    cairo_move_to(m_cr, polyline[0].x, polyline[0].y);
    if (polyline.size() == 1) {
        // A dot: a zero-length segment, which only round or square ends show.
        cairo_line_to(m_cr, polyline[0].x, polyline[0].y);
    }
    for (size_t i = 1; i < polyline.size(); ++i) cairo_line_to(m_cr, polyline[i].x, polyline[i].y);
    cairo_stroke(m_cr);
    End();
}

void PlotCanvas::Fill(const std::vector<std::vector<Point>>& polygons, uint32_t colour,
                      bool evenOdd) {
    Begin(true);
    SetColour(colour);
    cairo_set_fill_rule(m_cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    for (const auto& polygon : polygons) {
        if (polygon.empty()) continue;
        cairo_move_to(m_cr, polygon[0].x, polygon[0].y);
        for (size_t i = 1; i < polygon.size(); ++i) cairo_line_to(m_cr, polygon[i].x, polygon[i].y);
        cairo_close_path(m_cr);
    }
    cairo_fill(m_cr);
    End();
}

void PlotCanvas::PaintPixels(int left, int top, int width, int height, const uint32_t* argb) {
    if (width <= 0 || height <= 0) return;
    // cairo reads the pixels in place; a source is never written.
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(argb)), CAIRO_FORMAT_ARGB32, width,
        height, width * 4);
    cairo_save(m_cr);
    cairo_set_operator(m_cr, m_multiply ? CAIRO_OPERATOR_MULTIPLY : CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(m_cr, image, left, top);
    cairo_rectangle(m_cr, left, top, width, height);
    cairo_fill(m_cr);
    cairo_restore(m_cr);
    cairo_surface_destroy(image);
}

int PlotCanvas::PictureWidth() const {
    return cairo_image_surface_get_width(m_surface);
}

int PlotCanvas::PictureHeight() const {
    return cairo_image_surface_get_height(m_surface);
}

std::string PlotCanvas::Error() const {
    const cairo_status_t status = cairo_status(m_cr);
    return status == CAIRO_STATUS_SUCCESS ? std::string() : cairo_status_to_string(status);
}

Image PlotCanvas::Snapshot() const {
    cairo_surface_flush(m_surface);
    const int w = cairo_image_surface_get_width(m_surface);
    const int h = cairo_image_surface_get_height(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < w; ++x) image.At(x, y) = row[x] & 0xFFFFFF;
    }
    return image;
}

}  // namespace plot

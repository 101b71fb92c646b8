#include "picture/plot_image.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace plot {

bool IsInk(uint32_t colour, int threshold) {
    const int darkest = std::min({RedOf(colour), GreenOf(colour), BlueOf(colour)});
    return 255 - darkest > threshold;
}

InkBox FindInkBox(const Image& image, int threshold) {
    InkBox box;
    box.left = image.width;
    box.top = image.height;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!IsInk(image.At(x, y), threshold)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    if (box.Empty()) return InkBox{};
    return box;
}

std::string ToString(const InkBox& box) {
    if (box.Empty()) return "none";
    // Appended piece by piece: GCC 12 at -O3 warns falsely of overlapping
    // copies in a literal + string chain.
    std::string text = "[";
    text += std::to_string(box.left) + "," + std::to_string(box.top) + "]-[";
    text += std::to_string(box.right) + "," + std::to_string(box.bottom) + "]";
    return text;
}

bool LoadPng(const std::string& path, Image* pImage, std::string* pError) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    const cairo_status_t status = cairo_surface_status(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        *pError = std::string("cannot read ") + path + ": " + cairo_status_to_string(status);
        return false;
    }
    // Convert whatever cairo decoded to opaque RGB on white.
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    cairo_surface_t* flat = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(flat);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(flat);
    const unsigned char* data = cairo_image_surface_get_data(flat);
    const int stride = cairo_image_surface_get_stride(flat);
    *pImage = Image(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < w; ++x) pImage->At(x, y) = row[x] & 0xFFFFFF;
    }
    cairo_surface_destroy(flat);
    cairo_surface_destroy(surface);
    return true;
}

namespace {

struct Tap {
    int source;
    double weight;
};

// Source pixels and their weights for each target pixel along one axis.
std::vector<std::vector<Tap>> AxisTaps(int sourceSize, int targetSize) {
    std::vector<std::vector<Tap>> taps;
    taps.resize(size_t(targetSize));
    const double ratio = double(sourceSize) / double(targetSize);
    for (int t = 0; t < targetSize; ++t) {
        if (ratio <= 1.0) {
            const int s = std::min(sourceSize - 1, int(std::floor((t + 0.5) * ratio)));
            taps[size_t(t)].push_back({s, 1.0});
            continue;
        }
        const double from = t * ratio;
        const double to = (t + 1) * ratio;
        for (int s = int(std::floor(from)); s < sourceSize && s < to; ++s) {
            const double overlap = std::min(to, s + 1.0) - std::max(from, double(s));
            if (overlap > 0) taps[size_t(t)].push_back({s, overlap / ratio});
        }
    }
    return taps;
}

}  // namespace

Image Resample(const Image& image, int w, int h) {
    if (w == image.width && h == image.height) return image;
    Image result(w, h);
    if (image.Empty() || w <= 0 || h <= 0) return result;
    const auto xTaps = AxisTaps(image.width, w);
    const auto yTaps = AxisTaps(image.height, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double r = 0, g = 0, b = 0;
            for (const Tap& ty : yTaps[size_t(y)]) {
                for (const Tap& tx : xTaps[size_t(x)]) {
                    const uint32_t c = image.At(tx.source, ty.source);
                    const double weight = tx.weight * ty.weight;
                    r += weight * RedOf(c);
                    g += weight * GreenOf(c);
                    b += weight * BlueOf(c);
                }
            }
            result.At(x, y) = Rgb(int(std::lround(r)), int(std::lround(g)), int(std::lround(b)));
        }
    }
    return result;
}

Image TurnClockwise(const Image& image, int quarterTurns) {
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (turns == 0) return image;
    const bool across = turns % 2 == 1;
    Image turned(across ? image.height : image.width, across ? image.width : image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int w = image.width, h = image.height;
            const int tx = turns == 1 ? h - 1 - y : turns == 2 ? w - 1 - x : y;
            const int ty = turns == 1 ? x : turns == 2 ? h - 1 - y : w - 1 - x;
            turned.At(tx, ty) = image.At(x, y);
        }
    }
    return turned;
}

}  // namespace plot

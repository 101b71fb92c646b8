// An RGB picture in memory, the common currency of the plot renderer and the
// image comparison: one 0x00RRGGBB word per pixel, rows top to bottom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plot {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Image() = default;
    Image(int w, int h, uint32_t fill = 0xFFFFFF)
        : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool Empty() const { return width <= 0 || height <= 0; }
};

constexpr uint32_t Rgb(int r, int g, int b) {
    return (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
}
constexpr int RedOf(uint32_t c) {
    return int((c >> 16) & 255);
}
constexpr int GreenOf(uint32_t c) {
    return int((c >> 8) & 255);
}
constexpr int BlueOf(uint32_t c) {
    return int(c & 255);
}

// A pixel is ink when some channel lies more than threshold below white.
bool IsInk(uint32_t colour, int threshold);

// Inclusive pixel rectangle; empty when nothing is inked.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool Empty() const { return right < left || bottom < top; }
};
InkBox FindInkBox(const Image& image, int threshold);
std::string ToString(const InkBox& box);

// PNG files. Written through libpng at its fastest compression, since a
// page at plotter resolution has millions of pixels and the preview must
// not wait on the packing; read through cairo, a picture with transparency
// laid on white.
bool SavePng(const Image& image, const std::string& path, std::string* pError);
bool LoadPng(const std::string& path, Image* pImage, std::string* pError);

// Resamples to w x h: the mean of the covered source area when shrinking,
// the nearest source pixel when growing.
Image Resample(const Image& image, int w, int h);

// The picture turned clockwise by quarterTurns quarter turns.
Image TurnClockwise(const Image& image, int quarterTurns);

}  // namespace plot

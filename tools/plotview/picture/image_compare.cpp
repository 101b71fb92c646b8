#include "picture/image_compare.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace plot {

namespace {

using Mask = std::vector<uint8_t>;

Mask InkMask(const Image& image, int threshold) {
    Mask mask(image.pixels.size());
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = IsInk(image.pixels[i], threshold) ? 1 : 0;
    return mask;
}

// Square dilation by the radius, as two passes of a running maximum.
Mask Dilate(const Mask& mask, int w, int h, int radius) {
    Mask across(mask.size()), result(mask.size());
    for (int y = 0; y < h; ++y) {
        int last = -1000000;  // the last ink column seen
        std::vector<int> nextInk(size_t(w), 1000000);
        for (int x = w - 1, next = 1000000; x >= 0; --x) {
            if (mask[size_t(y) * size_t(w) + size_t(x)]) next = x;
            nextInk[size_t(x)] = next;
        }
        for (int x = 0; x < w; ++x) {
            if (mask[size_t(y) * size_t(w) + size_t(x)]) last = x;
            across[size_t(y) * size_t(w) + size_t(x)] =
                (x - last <= radius || nextInk[size_t(x)] - x <= radius) ? 1 : 0;
        }
    }
    for (int x = 0; x < w; ++x) {
        int last = -1000000;
        std::vector<int> nextInk(size_t(h), 1000000);
        for (int y = h - 1, next = 1000000; y >= 0; --y) {
            if (across[size_t(y) * size_t(w) + size_t(x)]) next = y;
            nextInk[size_t(y)] = next;
        }
        for (int y = 0; y < h; ++y) {
            if (across[size_t(y) * size_t(w) + size_t(x)]) last = y;
            result[size_t(y) * size_t(w) + size_t(x)] =
                (y - last <= radius || nextInk[size_t(y)] - y <= radius) ? 1 : 0;
        }
    }
    return result;
}

int ChannelDistance(uint32_t a, uint32_t b) {
    return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                     std::abs(BlueOf(a) - BlueOf(b))});
}

// The plot's picture turned and laid on white paper of the reference's size.
Image PlacePlot(const Image& plot, const Image& reference, const CompareOptions& options) {
    const Image turned = TurnClockwise(plot, options.plotQuarterTurns);
    const Placement& p = options.placement;
    if (p.width <= 0 || p.height <= 0) return Resample(turned, reference.width, reference.height);
    const Image scaled = Resample(turned, p.width, p.height);
    Image placed(reference.width, reference.height);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const int tx = p.left + x, ty = p.top + y;
            if (tx >= 0 && ty >= 0 && tx < placed.width && ty < placed.height)
                placed.At(tx, ty) = scaled.At(x, y);
        }
    }
    return placed;
}

}  // namespace

ImageComparison CompareImages(const Image& plotIn, const Image& referenceIn,
                              const CompareOptions& options) {
    ImageComparison c;
    const int w = options.width > 0 ? options.width : referenceIn.width;
    const int h = options.height > 0 ? options.height : referenceIn.height;
    if (w <= 0 || h <= 0 || plotIn.Empty() || referenceIn.Empty()) {
        c.error = "nothing to compare";
        return c;
    }
    const Image plot = Resample(PlacePlot(plotIn, referenceIn, options), w, h);
    const Image reference = Resample(referenceIn, w, h);
    c.width = w;
    c.height = h;
    const Mask plotInk = InkMask(plot, options.inkThreshold);
    const Mask referenceInk = InkMask(reference, options.inkThreshold);
    const Mask plotNear = Dilate(plotInk, w, h, options.radius);
    const Mask referenceNear = Dilate(referenceInk, w, h, options.radius);
    c.referenceBox = FindInkBox(reference, options.inkThreshold);
    c.plotBox = FindInkBox(plot, options.inkThreshold);

    if (options.makeDifference) c.difference = Image(w, h);
    auto mark = [&](size_t i, uint32_t colour) {
        if (options.makeDifference) c.difference.pixels[i] = colour;
    };
    size_t covered = 0, coloured = 0, precise = 0;
    double colourError = 0;
    const int r = options.radius;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            if (plotInk[i]) {
                ++c.plotInk;
                precise += referenceNear[i];
                if (!referenceNear[i]) mark(i, Rgb(0, 0, 255));
                const InkBox& box = c.referenceBox;
                if (box.Empty() || x < box.left - r || x > box.right + r || y < box.top - r ||
                    y > box.bottom + r)
                    ++c.inkOutsideReferenceBox;
            }
            if (!referenceInk[i]) continue;
            ++c.referenceInk;
            covered += plotNear[i];
            // The closest colour among the plot's pixels nearby, ink or not:
            // a white plot pixel is a fair match for a faint reference one.
            int best = 255;
            for (int dy = -r; dy <= r; ++dy) {
                const int yy = y + dy;
                if (yy < 0 || yy >= h) continue;
                for (int dx = -r; dx <= r; ++dx) {
                    const int xx = x + dx;
                    if (xx < 0 || xx >= w) continue;
                    best = std::min(best, ChannelDistance(reference.pixels[i], plot.At(xx, yy)));
                }
            }
            colourError += best;
            coloured += best <= options.colourTolerance ? 1 : 0;
            mark(i, !plotNear[i]                      ? Rgb(255, 0, 0)
                    : best <= options.colourTolerance ? Rgb(190, 190, 190)
                                                      : Rgb(255, 160, 0));
        }
    }
    c.coverage = c.referenceInk ? double(covered) / double(c.referenceInk) : 1.0;
    c.colourCoverage = c.referenceInk ? double(coloured) / double(c.referenceInk) : 1.0;
    c.meanColourError = c.referenceInk ? colourError / double(c.referenceInk) : 0.0;
    c.precision = c.plotInk ? double(precise) / double(c.plotInk) : 1.0;
    c.ok = true;
    return c;
}

ImageComparison ComparePlotToReference(const Image& plot, const std::string& referencePng,
                                       const CompareOptions& options) {
    Image reference;
    std::string error;
    if (!LoadPng(referencePng, &reference, &error)) {
        ImageComparison c;
        c.error = error;
        return c;
    }
    return CompareImages(plot, reference, options);
}

std::string ImageComparison::ToString() const {
    if (!ok) return "comparison failed: " + error;
    char text[400];
    std::snprintf(text, sizeof text,
                  "%dx%d coverage=%.4f precision=%.4f colour=%.4f colourError=%.2f "
                  "referenceInk=%zu plotInk=%zu outside=%zu",
                  width, height, coverage, precision, colourCoverage, meanColourError, referenceInk,
                  plotInk, inkOutsideReferenceBox);
    return std::string(text) + " referenceBox=" + plot::ToString(referenceBox) +
           " plotBox=" + plot::ToString(plotBox);
}

}  // namespace plot

// Compares a rendered plot with a reference picture of the drawing it came
// from: is the drawing where it belongs, in its colours, with nothing
// missing and nothing added? Both pictures are brought to one size first;
// small misregistration is forgiven within a radius.
#pragma once

#include <cstddef>
#include <string>

#include "picture/plot_image.h"

namespace plot {

// Where the plot's picture lies on the reference, in reference pixels: a
// plot of the printable area covers less than a reference of the sheet.
struct Placement {
    int left = 0;
    int top = 0;
    int width = 0;  // 0: the whole reference
    int height = 0;
};

struct CompareOptions {
    // The plot's picture is first turned clockwise by this many quarter
    // turns (a plot of a landscape drawing on portrait paper), then
    // resampled onto its placement on white paper of the reference's size.
    int plotQuarterTurns = 0;
    Placement placement;
    // The common size both are then brought to; 0 keeps the reference's.
    int width = 0;
    int height = 0;
    // Ink found within this many pixels (square neighbourhood) counts as
    // in place.
    int radius = 2;
    // A pixel is ink when some channel lies more than this below white.
    int inkThreshold = 32;
    // Colours this close (largest channel difference) count as the same.
    int colourTolerance = 48;
    // Fill ImageComparison::difference.
    bool makeDifference = false;
};

struct ImageComparison {
    bool ok = false;  // false when a picture could not be read
    std::string error;
    int width = 0;
    int height = 0;
    size_t referenceInk = 0;
    size_t plotInk = 0;
    // Share of the reference's ink that has plot ink within the radius:
    // nothing missing.
    double coverage = 0;
    // Share of the plot's ink that has reference ink within the radius:
    // nothing added.
    double precision = 0;
    // Share of the reference's ink that has plot ink of its colour (within
    // the tolerance) within the radius: the right colours.
    double colourCoverage = 0;
    // Mean over the reference's ink of the largest channel difference to
    // the closest-coloured plot pixel within the radius, 0 to 255.
    double meanColourError = 0;
    // Plot ink farther than the radius from the reference's ink box.
    size_t inkOutsideReferenceBox = 0;
    InkBox referenceBox;
    InkBox plotBox;
    // When asked for, at the common size: reference ink that the plot
    // matches in grey, in a wrong colour orange, missing red; plot ink far
    // from the reference's blue.
    Image difference;

    std::string ToString() const;
};

ImageComparison CompareImages(const Image& plot, const Image& reference,
                              const CompareOptions& options = {});
ImageComparison ComparePlotToReference(const Image& plot, const std::string& referencePng,
                                       const CompareOptions& options = {});

}  // namespace plot

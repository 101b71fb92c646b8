// A glyph as its face draws it: closed contours of lines and quadratic and
// cubic Bézier curves in em units, and the polygons they flatten to. The
// face gives the curves once; flattening decides how many points they cost,
// in em units for outlines that serve any transform, or straight into
// device pixels for a glyph too large for that, where curves that cannot
// show on the page become their chords.
#pragma once

#include <cstdint>
#include <vector>

#include "win32/types.h"

// Glyph curves are flattened to a fifth of a device pixel.
constexpr double kGlyphFlatness = 0.2;

struct GlyphPoint {
    double x = 0;
    double y = 0;
};

// A box that holds every point of a glyph, control points included: the
// curves never leave it.
struct GlyphBox {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
    bool Empty() const { return !(right > left) || !(top > bottom); }
};

struct GlyphShape {
    // How many points each verb takes: a move and a line one, a quadratic
    // curve two (control, end), a cubic three.
    enum Verb : uint8_t { kMove, kLine, kConic, kCubic };
    std::vector<Verb> verbs;
    std::vector<GlyphPoint> points;
    double advance = 0;  // horizontal advance, em units
    GlyphBox box;        // of every point; empty for a glyph without contours
};

// Closed contours, filled under the non-zero winding rule.
struct GlyphOutline {
    std::vector<std::vector<GlyphPoint>> contours;
    double advance = 0;  // horizontal advance
};

// An affine map of the plane: (x, y) goes to (xx x + yx y + dx, xy x + yy y + dy).
struct GlyphTransform {
    double xx = 1, xy = 0, yx = 0, yy = 1, dx = 0, dy = 0;
    GlyphPoint Apply(GlyphPoint p) const {
        return {xx * p.x + yx * p.y + dx, xy * p.x + yy * p.y + dy};
    }
};

// Where the flattened contours can show, after the transform; right and
// bottom exclusive.
struct GlyphArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// The shape's contours through the transform, curves cut into chords that
// stray at most tolerance (after the transform) from them. With an area,
// a curve (or a piece of one) whose points all lie beyond one side of it
// becomes its chord: the curve and its chord bound a loop wholly outside,
// so no fill inside changes, and a glyph far larger than the area costs the
// points of what crosses it. maxPoints bounds the points of the whole glyph
// (the last curves become chords once it is reached). Contours of fewer
// than three points are dropped.
WIN32_API void FlattenGlyph(const GlyphShape& shape, const GlyphTransform& transform,
                            double tolerance, const GlyphArea* area, size_t maxPoints,
                            std::vector<std::vector<GlyphPoint>>* contours);

// Ends a shape read from a face: its box from every point, its storage
// trimmed to what it holds (shapes stay in the glyph cache).
WIN32_API void FinishGlyphShape(GlyphShape* shape);

// The box of the shape's box through the transform.
WIN32_API GlyphArea TransformedBox(const GlyphBox& box, const GlyphTransform& transform);

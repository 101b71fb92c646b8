#include "playback/page_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr double kMillimetresPerInch = 25.4;
// A drawing that overhangs the area by less than this still counts as
// fitting: frames are often rounded up by a hundredth of a millimetre.
constexpr double kFitSlackMM = 0.05;

struct FrameMM {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The frame in millimetres on the reference device; the bounds (device
// pixels) stand in for a frame that is empty.
FrameMM ReadFrame(const ENHMETAHEADER& header, const ReferenceDevice& device) {
    const RECTL& f = header.rclFrame;
    if (f.right > f.left && f.bottom > f.top)
        return {f.left / 100.0, f.top / 100.0, (static_cast<double>(f.right) - f.left) / 100.0,
                (static_cast<double>(f.bottom) - f.top) / 100.0};
    const RECTL& b = header.rclBounds;
    const double mmX = device.millimetresX / device.pixelsX;
    const double mmY = device.millimetresY / device.pixelsY;
    if (b.right >= b.left && b.bottom >= b.top)
        return {b.left * mmX, b.top * mmY, (static_cast<double>(b.right) - b.left + 1) * mmX,
                (static_cast<double>(b.bottom) - b.top + 1) * mmY};
    return {};
}

// A frame edge in plotter pixels, the edge's own pixel included. The frame
// only clips: beyond the largest page it clips nothing more, so a drawing
// scaled past 2^31 pixels keeps the largest edge a RECT holds.
LONG FrameEdge(double pixels) {
    const double edge = std::round(pixels) + 1;
    return edge < std::numeric_limits<LONG>::max() ? static_cast<LONG>(edge)
                                                   : std::numeric_limits<LONG>::max();
}

std::string BeyondRecordsMessage(const ReferenceDevice& device, double scale) {
    char text[320];
    std::snprintf(text, sizeof text,
                  "at scale %g the page reaches beyond the 32-bit coordinates of the drawing's "
                  "metafile (its reference device is %.0f x %.0f pixels on %g x %g mm)",
                  scale, device.pixelsX, device.pixelsY, device.millimetresX, device.millimetresY);
    return text;
}

}  // namespace

bool ToRecordLong(double v, LONG* out) {
    if (!(v >= std::numeric_limits<LONG>::min() && v <= std::numeric_limits<LONG>::max()))
        return false;
    *out = static_cast<LONG>(v);
    return true;
}

bool PageInDrawingUnits(const Placement& placement, const ReferenceDevice& device,
                        const PrintableArea& area, PageInDrawing* page) {
    const Affine& t = placement.toDevice;  // reference pixels -> plotter pixels, no turn
    // Hundredths of a millimetre per reference pixel.
    const double unitsX = device.millimetresX / device.pixelsX * 100;
    const double unitsY = device.millimetresY / device.pixelsY * 100;
    const double left = -t.dx / t.m11, top = -t.dy / t.m22;
    const double right = left + area.widthPixels / t.m11;
    const double bottom = top + area.heightPixels / t.m22;
    RECTL& f = page->frame;
    RECTL& b = page->bounds;
    return ToRecordLong(std::round(left * unitsX), &f.left) &&
           ToRecordLong(std::round(top * unitsY), &f.top) &&
           ToRecordLong(std::round(right * unitsX), &f.right) &&
           ToRecordLong(std::round(bottom * unitsY), &f.bottom) &&
           ToRecordLong(std::floor(left), &b.left) && ToRecordLong(std::floor(top), &b.top) &&
           ToRecordLong(std::ceil(right) - 1, &b.right) &&
           ToRecordLong(std::ceil(bottom) - 1, &b.bottom);
}

bool PlaceDrawing(const ENHMETAHEADER& header, const ReferenceDevice& device,
                  const PrintableArea& area, ScaleChoice choice, double fixedScale,
                  Placement* placement, std::string* error) {
    if (area.widthPixels <= 0 || area.heightPixels <= 0 || !(area.dpi > 0)) {
        *error = "the plotter reports a printable area of " + std::to_string(area.widthPixels) +
                 " x " + std::to_string(area.heightPixels) + " pixels";
        return false;
    }
    if (choice == ScaleChoice::Fixed && !(std::isfinite(fixedScale) && fixedScale > 0)) {
        *error = "the scale must be a positive number";
        return false;
    }
    const FrameMM frame = ReadFrame(header, device);
    Placement p;
    p.areaWidthMM = area.widthPixels * kMillimetresPerInch / area.dpi;
    p.areaHeightMM = area.heightPixels * kMillimetresPerInch / area.dpi;
    double fitted = 1;
    if (frame.width > 0 && frame.height > 0)
        fitted = std::min(p.areaWidthMM / frame.width, p.areaHeightMM / frame.height);
    const bool fitsAsIs =
        frame.width <= p.areaWidthMM + kFitSlackMM && frame.height <= p.areaHeightMM + kFitSlackMM;
    switch (choice) {
        case ScaleChoice::Auto: p.scale = fitsAsIs ? 1 : fitted; break;
        case ScaleChoice::Fit: p.scale = fitted; break;
        case ScaleChoice::Fixed: p.scale = fixedScale; break;
    }
    p.drawingWidthMM = frame.width * p.scale;
    p.drawingHeightMM = frame.height * p.scale;
    p.fits = p.drawingWidthMM <= p.areaWidthMM + kFitSlackMM &&
             p.drawingHeightMM <= p.areaHeightMM + kFitSlackMM;
    // Reference pixels -> millimetres from the frame's corner -> scaled ->
    // plotter pixels.
    const double pixelsPerMM = area.dpi / kMillimetresPerInch;
    const double sx = device.millimetresX / device.pixelsX * p.scale * pixelsPerMM;
    const double sy = device.millimetresY / device.pixelsY * p.scale * pixelsPerMM;
    // A line drawn along the frame's right or bottom edge lies on the
    // edge's pixel, which belongs to the page.
    p.frame = RECT{0, 0, FrameEdge(p.drawingWidthMM * pixelsPerMM),
                   FrameEdge(p.drawingHeightMM * pixelsPerMM)};
    if (frame.width <= 0 || frame.height <= 0) p.frame = RECT{0, 0, 0, 0};
    p.toDevice = Affine{
        sx, 0, 0, sy, -frame.left * p.scale * pixelsPerMM, -frame.top * p.scale * pixelsPerMM};
    // Both plot modes refuse such a page: the page metafile of a whole-page
    // plot could not hold it, and a vector plot would draw the drawing
    // shrunk to nothing.
    PageInDrawing inDrawing;
    if (!PageInDrawingUnits(p, device, area, &inDrawing)) {
        *error = BeyondRecordsMessage(device, p.scale);
        return false;
    }
    *placement = p;
    return true;
}

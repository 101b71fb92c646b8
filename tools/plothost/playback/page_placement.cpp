#include "playback/page_placement.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

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
    p.frame = RECT{0, 0, static_cast<LONG>(std::lround(p.drawingWidthMM * pixelsPerMM)) + 1,
                   static_cast<LONG>(std::lround(p.drawingHeightMM * pixelsPerMM)) + 1};
    if (frame.width <= 0 || frame.height <= 0) p.frame = RECT{0, 0, 0, 0};
    p.toDevice = Affine{
        sx, 0, 0, sy, -frame.left * p.scale * pixelsPerMM, -frame.top * p.scale * pixelsPerMM};
    *placement = p;
    return true;
}

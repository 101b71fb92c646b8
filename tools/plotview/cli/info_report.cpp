#include "cli/info_report.h"

#include <charconv>
#include <cstdio>

namespace plotview {

namespace {

// Fixed decimals, independent of the C locale.
std::string Fixed(double value, int decimals) {
    char text[48];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return ec == std::errc() ? std::string(text, end) : std::string("?");
}
std::string Mm(double value) {
    return Fixed(value, 1);
}

std::string Hex(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", unsigned(colour & 0xFFFFFF));
    return text;
}

}  // namespace

InkBoxMm InkInMillimetres(const plot::PlotSummary& summary) {
    InkBoxMm box;
    if (summary.ink.Empty() || summary.pictureDpi <= 0) return box;
    const double k = 25.4 / summary.pictureDpi;
    box.empty = false;
    // Pixel edges: the right and bottom pixels count whole.
    box.left = summary.ink.left * k;
    box.top = summary.ink.top * k;
    box.right = (summary.ink.right + 1) * k;
    box.bottom = (summary.ink.bottom + 1) * k;
    return box;
}

std::string InfoReport(const std::string& path, size_t fileBytes,
                       const plot::PlotRendering& rendering) {
    const plot::PlotSummary& s = rendering.summary;
    std::string text = "file: " + path + " (" + std::to_string(fileBytes) + " bytes)\n";
    if (s.pageWidthMm > 0)
        text += "plot size: " + Mm(s.pageWidthMm) + " x " + Mm(s.pageHeightMm) + " mm (rotation " +
                std::to_string(s.rotation) + ")\n";
    else
        text += "plot size: none\n";
    text += "resolution: " + std::to_string(int(s.resolution + 0.5)) + " dpi\n";
    text += "pages: " + std::to_string(rendering.pages.size()) + "\n";
    text += "pens: " + std::to_string(s.pensUsed.size()) + "\n";
    for (const plot::PenUse& pen : s.pensUsed)
        text += "  pen " + std::to_string(pen.pen) + ": " + Hex(pen.colour) + ", " +
                Fixed(pen.widthMm, 2) + " mm, " + std::to_string(pen.uses) +
                (pen.uses == 1 ? " use\n" : " uses\n");
    text += "lines: " + std::to_string(s.polylines) + "\n";
    text += "fills: " + std::to_string(s.polygons) + "\n";
    text += "edges: " + std::to_string(s.edges) + "\n";
    text +=
        "rasters: " + std::to_string(s.rasters) + " (" + std::to_string(s.rasterRows) + " rows)\n";
    const InkBoxMm ink = InkInMillimetres(s);
    if (ink.empty)
        text += "ink: none\n";
    else
        text += "ink: " + Mm(ink.left) + "," + Mm(ink.top) + " to " + Mm(ink.right) + "," +
                Mm(ink.bottom) + " mm (" + Mm(ink.right - ink.left) + " x " +
                Mm(ink.bottom - ink.top) + " mm)\n";
    for (const std::string& warning : rendering.warnings) text += "warning: " + warning + "\n";
    if (!rendering.ok)
        text += std::string(rendering.truncated ? "warning: the plot is cut short: " : "error: ") +
                rendering.error + "\n";
    return text;
}

}  // namespace plotview

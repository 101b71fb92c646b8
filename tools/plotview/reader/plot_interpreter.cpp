#include "reader/plot_interpreter.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {

constexpr double kPluPerInch = 1016;  // plotter units of 0.025 mm
constexpr double kFarAway = 4e6;      // device pixels; cairo's fixed point ends near 8e6

}  // namespace

PlotInterpreter::PlotInterpreter(const RenderOptions& options, PlotRendering* pResult)
    : m_options(options), m_pResult(pResult), m_raster(&pResult->warnings) {
    ResetGraphicsState();
}

bool PlotInterpreter::Fail(const std::string& text) {
    if (m_pResult->error.empty()) {
        const size_t offset = m_pCommand ? m_pCommand->offset : 0;
        m_pResult->error = text + (m_pCommand ? " in " + Describe(*m_pCommand) : std::string()) +
                           " at byte " + std::to_string(offset);
        m_pResult->errorOffset = offset;
    }
    return false;
}

bool PlotInterpreter::Unknown(const std::string& text) {
    if (!m_options.skipUnknown) return Fail(text);
    WarnOnce(text + " \"" + (m_pCommand ? Describe(*m_pCommand) : std::string()) + "\" skipped");
    return true;
}

void PlotInterpreter::WarnOnce(const std::string& text) {
    if (std::find(m_warnedOnce.begin(), m_warnedOnce.end(), text) != m_warnedOnce.end()) return;
    m_warnedOnce.push_back(text);
    const size_t offset = m_pCommand ? m_pCommand->offset : 0;
    m_pResult->warnings.push_back(text + " (first at byte " + std::to_string(offset) + ")");
}

void PlotInterpreter::ResetGraphicsState() {
    m_scaled = false;
    m_rotation = 0;
    m_hasPlotSize = false;
    m_plotSizeX = m_plotSizeY = 0;
    m_p1 = Point{0, 0};
    m_p2 = Point{0, 0};
    m_window.reset();
    m_penCount = 8;
    m_penColours.assign(256, 0);
    for (int i = 0; i < 256; ++i) m_penColours[size_t(i)] = DefaultPenColour(i);
    m_penDefined.assign(256, false);
    m_penWidthsMm.assign(256, 0.35);
    m_penFromRaster.assign(256, false);
    m_pen = 0;
    std::fill(std::begin(m_range), std::end(m_range), 0.0);
    m_range[1] = m_range[3] = m_range[5] = 255;
    m_cap = LineCap::Butt;
    m_join = LineJoin::Miter;
    m_miterLimit = 5;
    m_transparent = true;
    m_multiply = false;
    m_penAt = Point{0, 0};
    m_penDown = false;
    m_relative = false;
    m_stroke.clear();
    m_inPolygon = false;
    m_newSubPolygon = false;
    m_polygon.clear();
}

// ---- Coordinates -------------------------------------------------------

void PlotInterpreter::Extents(double* pX, double* pY) const {
    // "PS" gives the length along the paper, then the width; "RO90" and
    // "RO270" turn the x axis across the paper. A plot wider than it is long
    // has its axes turned by a quarter already, before any "RO": under
    // "RO180" its x axis runs across the paper too.
    const bool turned = (m_rotation == 90 || m_rotation == 270) != (m_plotSizeY > m_plotSizeX);
    *pX = turned ? m_plotSizeY : m_plotSizeX;
    *pY = turned ? m_plotSizeX : m_plotSizeY;
}

Point PlotInterpreter::UserToPlu(double ux, double uy) const {
    if (!m_scaled) return Point{ux, uy};
    return Point{m_p1.x + (ux - m_scale[0]) * (m_p2.x - m_p1.x) / (m_scale[1] - m_scale[0]),
                 m_p1.y + (uy - m_scale[2]) * (m_p2.y - m_p1.y) / (m_scale[3] - m_scale[2])};
}

Point PlotInterpreter::PluToUser(Point plu) const {
    if (!m_scaled) return plu;
    return Point{m_scale[0] + (plu.x - m_p1.x) * (m_scale[1] - m_scale[0]) / (m_p2.x - m_p1.x),
                 m_scale[2] + (plu.y - m_p1.y) * (m_scale[3] - m_scale[2]) / (m_p2.y - m_p1.y)};
}

// Device pixels: x along the plot's x axis, y down from its top edge.
Point PlotInterpreter::PluToDevice(Point plu) const {
    double x, y;
    Extents(&x, &y);
    const double k = m_resolution / kPluPerInch;
    return Point{std::clamp(plu.x * k, -kFarAway, kFarAway),
                 std::clamp((y - plu.y) * k, -kFarAway, kFarAway)};
}

Point PlotInterpreter::DeviceToPlu(Point device) const {
    double x, y;
    Extents(&x, &y);
    const double k = kPluPerInch / m_resolution;
    return Point{device.x * k, y - device.y * k};
}

bool PlotInterpreter::EnsureResolution() {
    if (m_resolution > 0) return true;
    if (!m_scaled) return Fail("drawing before scaling (\"SC\"): the user units are unknown");
    if (m_p2.x == m_p1.x) return Fail("P1 and P2 share their x: no scale");
    // User units per inch along x: one user unit is one device pixel.
    m_resolution = std::fabs((m_scale[1] - m_scale[0]) * kPluPerInch / (m_p2.x - m_p1.x));
    if (!(m_resolution >= 1 && m_resolution <= 10000))
        return Fail("a resolution of " + std::to_string(m_resolution) + " pixels per inch");
    m_pResult->summary.resolution = m_resolution;
    return true;
}

void PlotInterpreter::NoteGeometry(double ux, double uy) {
    PlotSummary& s = m_pResult->summary;
    if (!s.hasGeometry) {
        s.minX = s.maxX = ux;
        s.minY = s.maxY = uy;
        s.hasGeometry = true;
        return;
    }
    s.minX = std::min(s.minX, ux);
    s.maxX = std::max(s.maxX, ux);
    s.minY = std::min(s.minY, uy);
    s.maxY = std::max(s.maxY, uy);
}

bool PlotInterpreter::EnsureCanvas() {
    if (m_canvas) return true;
    if (!EnsureResolution()) return false;
    double width = m_options.pageWidth, height = m_options.pageHeight;
    if (width <= 0 || height <= 0) {
        if (!m_hasPlotSize) return Fail("drawing without a plot size (\"PS\")");
        Extents(&width, &height);
        width = std::ceil(width * m_resolution / kPluPerInch - 1e-6);
        height = std::ceil(height * m_resolution / kPluPerInch - 1e-6);
    }
    const double scale =
        m_options.dpi > 0 ? m_resolution / m_options.dpi : double(std::max(1, m_options.scale));
    // Two pictures of this size live at once (the page and its copy).
    if (width < 1 || height < 1 || (width / scale) * (height / scale) > 1.2e8)
        return Fail("a page of " + std::to_string(int64_t(width)) + " x " +
                    std::to_string(int64_t(height)) + " pixels (reduce it with a scale)");
    m_canvas = std::make_unique<PlotCanvas>(int(width), int(height), scale, m_options.antialias);
    PlotSummary& summary = m_pResult->summary;
    if (summary.pictureDpi == 0) {
        summary.pictureDpi = m_resolution / scale;
        // The size the plot announced, not its whole pixels.
        double x = width * kPluPerInch / m_resolution, y = height * kPluPerInch / m_resolution;
        if (m_options.pageWidth <= 0 || m_options.pageHeight <= 0) Extents(&x, &y);
        summary.pageWidthMm = x * 25.4 / kPluPerInch;
        summary.pageHeightMm = y * 25.4 / kPluPerInch;
        summary.rotation = m_rotation;
    }
    m_canvas->SetClip(m_window);
    m_canvas->SetMultiply(m_multiply);
    return true;
}

bool PlotInterpreter::CanvasWell() {
    const std::string error = m_canvas ? m_canvas->Error() : std::string();
    return error.empty() || Fail("drawing failed: " + error);
}

void PlotInterpreter::EndPage() {
    if (!m_canvas) return;
    m_pResult->pages.push_back(m_canvas->Snapshot());
    m_pResult->summary.pages = m_pResult->pages.size();
    m_canvas.reset();
}

void PlotInterpreter::Finish() {
    if (m_raster.Active()) {
        // The rows that came are drawn, as the rest of a plot cut short is.
        if (m_pResult->error.empty())
            WarnOnce("raster graphics not ended (\"\\e*rC\") when the plot ended");
        EndRaster();
    }
    if (m_canvas) {
        if (m_pResult->error.empty())
            m_pResult->warnings.push_back("the last page was not ended by \"PG\"");
        EndPage();
    }
}

// ---- Dispatch ----------------------------------------------------------

bool PlotInterpreter::Execute(const PlotCommand& command) {
    m_pCommand = &command;
    ++m_pResult->summary.commands;
    if (command.kind != CommandKind::Pjl && command.kind != CommandKind::UniversalExit)
        ++m_pResult->summary.plotCommands;
    switch (command.kind) {
        case CommandKind::Pjl: return true;
        case CommandKind::UniversalExit:
            if (m_inPolygon) return Fail("job ended inside polygon mode");
            if (m_raster.Active() && !EndRaster()) return false;
            if (!FlushStroke()) return false;
            if (m_canvas) {
                WarnOnce("a job ended without \"PG\"");
                EndPage();
            }
            ResetAll();
            return true;
        case CommandKind::Escape:
            if (!FlushStroke()) return false;
            return Escape(command);
        case CommandKind::Hpgl: return Hpgl(command);
        case CommandKind::PolylineEncoded: return PolylineEncoded(command);
    }
    return Fail("unknown command");
}

bool PlotInterpreter::Hpgl(const PlotCommand& c) {
    const std::string& m = c.text;
    if (!FlushStroke()) return false;
    if (m_inPolygon && m != "PU" && m != "PD" && m != "PA" && m != "PR" && m != "PM")
        return Fail("instruction inside polygon mode");
    if (m == "PU" || m == "PD" || m == "PA" || m == "PR") return PlotTo(c);
    if (m == "PM" || m == "FP" || m == "EP") return PolygonCommand(c);
    if (m == "NP" || m == "PC" || m == "SP" || m == "CR" || m == "PW") return PenCommand(c);
    if (m == "LT" || m == "LA" || m == "MC" || m == "TR") return LineCommand(c);
    if (m == "IW") return InputWindow(c);
    if (m == "PG") {
        EndPage();
        return true;
    }
    return FrameCommand(c);
}

// BP, EC, PS, RO, IP, IR, SC, WU: where the plot lies and what a user unit is.
bool PlotInterpreter::FrameCommand(const PlotCommand& c) {
    const std::string& m = c.text;
    const std::vector<double>& p = c.params;
    if (m == "BP" || m == "EC")
        return true;  // begin-plot options and the cutter change nothing drawn
    if (m == "WU") {
        if (!p.empty() && p[0] != 0) return Fail("pen widths in relative units are not read");
        return true;
    }
    if (m == "PS") {
        if (p.size() != 2 || p[0] <= 0 || p[1] <= 0)
            return Fail("plot size needs two positive lengths");
        m_plotSizeX = p[0];
        m_plotSizeY = p[1];
        m_hasPlotSize = true;
        return true;
    }
    if (m == "RO") {
        const double angle = p.empty() ? 0 : p[0];
        if (p.size() > 1 || (angle != 0 && angle != 90 && angle != 180 && angle != 270))
            return Fail("rotation other than 0, 90, 180 or 270");
        m_rotation = int(angle);
        return true;
    }
    if (m == "IP" || m == "IR") {
        double x, y;
        Extents(&x, &y);
        if (m == "IR" && !m_hasPlotSize)
            return Fail("relative scaling points before the plot size");
        if (p.empty()) {
            m_p1 = Point{0, 0};
            m_p2 = Point{x, y};
            return true;
        }
        if (p.size() != 2 && p.size() != 4) return Fail("scaling points need 2 or 4 numbers");
        // IR gives percentages of the plot area.
        const double kx = m == "IR" ? x / 100 : 1, ky = m == "IR" ? y / 100 : 1;
        const Point offset{m_p2.x - m_p1.x, m_p2.y - m_p1.y};
        m_p1 = Point{p[0] * kx, p[1] * ky};
        m_p2 = p.size() == 4 ? Point{p[2] * kx, p[3] * ky}
                             : Point{m_p1.x + offset.x, m_p1.y + offset.y};
        return true;
    }
    if (m == "SC") {
        if (p.empty()) {
            m_scaled = false;
            return true;
        }
        if ((p.size() != 4 && p.size() != 5) || (p.size() == 5 && p[4] != 0))
            return Fail("only anisotropic scaling \"SC xmin,xmax,ymin,ymax[,0]\" is read");
        if (p[0] == p[1] || p[2] == p[3]) return Fail("scaling with an empty range");
        if (m_p1.x == m_p2.x || m_p1.y == m_p2.y) return Fail("scaling with P1 and P2 in one line");
        std::copy(p.begin(), p.begin() + 4, m_scale);
        m_scaled = true;
        return true;
    }
    return Unknown("unknown HP-GL/2 instruction");
}

// The HP-GL/2 default colour of a pen: 0 white, 1 black, then red, green,
// yellow, blue, magenta and cyan. The driver defines every pen it selects;
// pens it does not define are drawn black and reported.
uint32_t DefaultPenColour(int pen) {
    static const uint32_t kColours[8] = {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00,
                                         0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF};
    return pen == 0 ? kColours[0] : kColours[1 + (pen - 1) % 7];
}

}  // namespace plot

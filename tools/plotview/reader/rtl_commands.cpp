// Escape sequences of the plot reader: language switches, printer reset and
// the HP RTL raster commands.
#include <cmath>

#include "reader/plot_interpreter.h"

namespace plot {

namespace {

constexpr double kDecipointsPerInch = 720;

}  // namespace

void PlotInterpreter::ResetAll() {
    ResetGraphicsState();
    m_raster.ResetConfiguration();
    m_resolution = 0;
    m_inRtl = true;
    m_capAt = Point{0, 0};
}

bool PlotInterpreter::Escape(const PlotCommand& c) {
    const EscapeSequence& s = c.escape;
    if (s.parameterized == 0) {
        if (s.letter == 'E') {
            // Printer reset: ends the page and returns every setting to its
            // power-on value.
            if (m_inPolygon) return Fail("reset inside polygon mode");
            if (m_raster.Active() && !EndRaster()) return false;
            EndPage();
            ResetAll();
            return true;
        }
        if (s.letter == 'v') {
            // "\ev1N" and "\ev1O" mean the transparency modes "\e*v1N" and
            // "\e*v1O", but without the asterisk a device reads a
            // two-character sequence and "1N" as data; nothing changes.
            std::string text = "\"";
            text += Describe(c) + "\" is not a PCL sequence (\"\\e*v\" was meant); ignored";
            WarnOnce(text);
            return true;
        }
        return Unknown("two-character escape sequence");
    }
    if (s.parameterized == '%') {
        if (s.parts.size() != 1) return Fail("language switch");
        const EscapePart& part = s.parts.front();
        if (!part.hasValue || (part.value != 0 && part.value != 1) ||
            (part.parameter != 'A' && part.parameter != 'B'))
            return Fail("language switch");
        if (part.parameter == 'A') {
            if (m_inPolygon) return Fail("raster mode entered inside polygon mode");
            if (m_raster.Active()) return Fail("raster mode entered again inside raster graphics");
            // "\e%1A": the active position takes the pen position.
            if (part.value == 1) {
                if (!EnsureResolution()) return false;
                m_capAt = PluToDevice(m_penAt);
            }
            m_inRtl = true;
            return true;
        }
        if (m_raster.Active()) {
            WarnOnce("raster graphics ended by the switch to HP-GL/2, without \"\\e*rC\"");
            if (!EndRaster()) return false;
        }
        // "\e%1B": the pen takes the active position; "\e%0B" keeps the pen
        // where HP-GL/2 left it. In HP-GL/2 already, neither changes anything.
        if (m_inRtl && part.value == 1 && m_resolution > 0) m_penAt = DeviceToPlu(m_capAt);
        m_inRtl = false;
        return true;
    }
    if (!m_inRtl) return Fail("escape sequence in HP-GL/2 mode");
    return RasterEscape(c);
}

bool PlotInterpreter::RasterEscape(const PlotCommand& c) {
    const EscapeSequence& s = c.escape;
    if (s.parameterized == '&' && s.group == 'a' && s.parts.size() == 1 &&
        s.parts[0].parameter == 'N')
        return true;  // negative motion: allowed or not, nothing is drawn
    if (s.parameterized != '*') return Unknown("escape sequence not read");
    for (const EscapePart& part : s.parts) {
        const char p = part.parameter;
        const double v = part.value;
        const bool duringRaster = (s.group == 'b' && (p == 'M' || p == 'Y' || p == 'W')) ||
                                  (s.group == 'r' && (p == 'C' || p == 'B'));
        if (m_raster.Active() && s.group == 'p' && p == 'P') {
            // The page trailer pushes the palette before "\e*rC"; the
            // picture does not change whether a device ends the raster there.
            // A raster keeps the colours it started with.
            WarnOnce(v == 0
                         ? "palette pushed inside raster graphics"
                         : "palette popped inside raster graphics: the raster keeps its colours");
        } else if (m_raster.Active() && !duringRaster) {
            return Fail("configuration inside raster graphics");
        }
        std::string error;
        switch (s.group) {
            case 'r':
                if (p == 'S' || p == 'T') {
                    if (!part.hasValue || !IsWhole(v) || v < 1) return Fail("raster size");
                    (p == 'S' ? m_raster.sourceWidth : m_raster.sourceHeight) = int(v);
                } else if (p == 'A') {
                    if (!IsWhole(v) || v < 0 || v > 3) return Fail("start raster mode");
                    if (!StartRaster(int(v))) return false;
                } else if (p == 'C' || p == 'B') {
                    if (m_raster.Active() && !EndRaster()) return false;
                } else {
                    return Unknown("raster command");
                }
                break;
            case 't':
                if (!part.hasValue || v <= 0) return Fail("raster resolution or size");
                if (p == 'R') {
                    if (!IsWhole(v)) return Fail("raster resolution");
                    m_raster.resolution = int(v);
                } else if (p == 'H') {
                    m_raster.destinationWidth = v;
                } else if (p == 'V') {
                    m_raster.destinationHeight = v;
                } else {
                    return Unknown("raster command");
                }
                break;
            case 'v':
                if (p == 'W') {
                    error = m_raster.ConfigureImageData(part.data, m_options.lenientPalette);
                    // The lenient reading shows the pens the driver meant.
                    if (error.empty() && !m_options.lenientPalette)
                        PensFromRasterPalette(part.data);
                } else if (p == 'A' || p == 'B' || p == 'C')
                    m_raster.SetComponent(p - 'A', v);
                else if (p == 'I')
                    error = m_raster.AssignIndex(v, m_options.lenientPalette);
                else if (p == 'N')
                    m_transparent = v == 0;  // source transparency, shared with "TR"
                else if (p != 'O')           // pattern transparency: no patterns here
                    return Unknown("colour command");
                break;
            case 'p':
                if (p != 'P' || (v != 0 && v != 1))
                    return Fail("palette stack or position command");
                if (v == 0)
                    m_raster.PushPalette();
                else
                    error = m_raster.PopPalette();
                break;
            case 'b':
                if (p == 'M') {
                    error = m_raster.SetCompression(v);
                } else if (p == 'Y') {
                    if (m_raster.Active()) {
                        if (!PlaceRasterRows(true)) return false;
                        error = m_raster.SkipRows(v);
                    } else if (v != 0) {
                        return Fail("vertical move outside raster graphics");
                    }
                } else if (p == 'W') {
                    if (!m_raster.Active()) {
                        WarnOnce(
                            "raster data without \"\\e*r#A\": raster graphics started implicitly "
                            "at the active position");
                        if (!StartRaster(1)) return false;
                    }
                    error = m_raster.TransferRow(part.data);
                    ++m_pResult->summary.rasterRows;
                    if (error.empty() && !PlaceRasterRows(false)) return false;
                } else {
                    return Fail("raster transfer command");
                }
                break;
            default: return Unknown("escape sequence not read");
        }
        if (!error.empty()) return Fail(error);
    }
    return true;
}

bool PlotInterpreter::StartRaster(int mode) {
    if (!EnsureResolution()) return false;
    // Modes 0 and 2 start at the left edge, 1 and 3 at the active position;
    // 2 and 3 scale the raster to the destination size.
    m_rasterOrigin = Point{mode == 0 || mode == 2 ? 0.0 : m_capAt.x, m_capAt.y};
    m_rasterScaled = mode >= 2;
    // Scaled to a height without one given in rows, the raster's rows take
    // their size from its height: nothing is placed before it ends.
    const bool holdRows =
        m_rasterScaled && m_raster.destinationHeight > 0 && m_raster.sourceHeight == 0;
    const std::string error = m_raster.Start(m_options.rasterSliceRows, holdRows);
    if (!error.empty()) return Fail(error);
    m_placement.reset();
    return true;
}

bool PlotInterpreter::PlaceRasterRows(bool any) {
    while (const RasterSlice* slice = m_raster.DueSlice(any)) {
        if (!m_placement && !StartPlacement()) return false;
        m_placement->Place(*slice);
        m_raster.SlicePlaced();
        if (!CanvasWell()) return false;
    }
    return true;
}

bool PlotInterpreter::StartPlacement() {
    double pixelWidth = 0, pixelHeight = 0;
    const double k = m_resolution / kDecipointsPerInch;  // device pixels per decipoint
    const double width = m_raster.destinationWidth, height = m_raster.destinationHeight;
    const int columns = m_raster.sourceWidth;
    const double rows = m_raster.sourceHeight > 0 ? m_raster.sourceHeight : double(m_raster.Rows());
    if (m_rasterScaled && (width > 0 || height > 0) && columns > 0 && rows > 0) {
        pixelWidth = width > 0 ? width * k / columns : 0;
        pixelHeight = height > 0 ? height * k / rows : 0;
        // One size alone keeps the raster's proportions.
        if (pixelWidth == 0) pixelWidth = pixelHeight;
        if (pixelHeight == 0) pixelHeight = pixelWidth;
    } else {
        if (m_rasterScaled)
            WarnOnce("scaled raster without a destination size: drawn at its resolution");
        double resolution = m_raster.resolution;
        if (resolution <= 0) {
            WarnOnce("raster without a resolution (\"\\e*t#R\"): taken as the plot's");
            resolution = m_resolution;
        }
        pixelWidth = pixelHeight = m_resolution / resolution;
    }
    if (!(pixelWidth >= 1e-3 && pixelWidth <= 1e5 && pixelHeight >= 1e-3 && pixelHeight <= 1e5))
        return Fail("raster pixels of " + std::to_string(pixelWidth) + " x " +
                    std::to_string(pixelHeight) + " device pixels");
    if (!EnsureCanvas()) return false;
    m_rasterGeometry = RasterGeometry{m_rasterOrigin.x, m_rasterOrigin.y, pixelWidth,
                                      pixelHeight,      columns,          m_transparent};
    m_placement = std::make_unique<RasterPlacement>(m_canvas.get(), m_rasterGeometry);
    return true;
}

bool PlotInterpreter::EndRaster() {
    const int64_t rows = m_raster.End();
    bool placed = rows == 0 || PlaceRasterRows(true);
    while (placed && m_raster.ReplayHeld()) placed = PlaceRasterRows(false);
    placed = placed && PlaceRasterRows(true);
    // Only rows skipped: nothing is drawn, but the raster is placed all the same.
    if (placed && rows > 0 && !m_placement) placed = StartPlacement();
    std::unique_ptr<RasterPlacement> placement = std::move(m_placement);
    m_raster.Discard();
    if (!placed) return false;
    if (rows == 0) return true;  // no rows: nothing drawn, the active position stays
    placement->Finish(rows);
    if (!CanvasWell()) return false;
    ++m_pResult->summary.rasters;
    const RasterGeometry& g = m_rasterGeometry;
    const Point a = PluToUser(DeviceToPlu(m_rasterOrigin));
    // The far corner's pixel, not its edge.
    const Point b = PluToUser(DeviceToPlu(
        Point{g.x + g.width * g.pixelWidth - 1, g.y + double(rows) * g.pixelHeight - 1}));
    NoteGeometry(a.x, a.y);
    NoteGeometry(b.x, b.y);
    m_capAt.y = g.y + double(rows) * g.pixelHeight;
    return true;
}

}  // namespace plot

// Pens, line attributes, transparency, merge control and the input window
// of the plot reader.
#include <algorithm>
#include <cmath>

#include "reader/plot_interpreter.h"

namespace plot {

bool PlotInterpreter::PenCommand(const PlotCommand& c) {
    const std::string& m = c.text;
    const std::vector<double>& p = c.params;
    auto penNumber = [&](double v, int* pPen) {
        if (!IsWhole(v) || v < 0 || v >= m_penCount)
            return Fail("pen " + std::to_string(v) + " outside the palette of " +
                        std::to_string(m_penCount) + " pens");
        *pPen = int(v);
        return true;
    };
    if (m == "NP") {
        const double n = p.empty() ? 8 : p[0];
        if (p.size() > 1 || !IsWhole(n) || n < 2 || n > 256) return Fail("palette size");
        // A new palette: every pen back to its default colour.
        m_penCount = int(n);
        for (int i = 0; i < 256; ++i) m_penColours[size_t(i)] = DefaultPenColour(i);
        m_penDefined.assign(256, false);
        m_penFromRaster.assign(256, false);
        return true;
    }
    if (m == "CR") {
        if (p.empty()) {
            const double defaults[6] = {0, 255, 0, 255, 0, 255};
            std::copy(defaults, defaults + 6, m_range);
            return true;
        }
        if (p.size() != 6 || p[0] == p[1] || p[2] == p[3] || p[4] == p[5])
            return Fail("colour range needs three distinct pairs");
        std::copy(p.begin(), p.end(), m_range);
        return true;
    }
    if (m == "PC") {
        if (p.empty()) {
            for (int i = 0; i < 256; ++i) m_penColours[size_t(i)] = DefaultPenColour(i);
            m_penDefined.assign(256, false);
            m_penFromRaster.assign(256, false);
            return true;
        }
        int pen;
        if (!penNumber(p[0], &pen)) return false;
        m_penFromRaster[size_t(pen)] = false;
        if (p.size() == 1) {
            m_penColours[size_t(pen)] = DefaultPenColour(pen);
            m_penDefined[size_t(pen)] = false;
            return true;
        }
        if (p.size() != 4) return Fail("pen colour needs a pen and three components");
        uint32_t colour = 0;
        for (int k = 0; k < 3; ++k) {
            const double lo = m_range[2 * k], hi = m_range[2 * k + 1];
            const double v = std::clamp((p[size_t(k) + 1] - lo) / (hi - lo), 0.0, 1.0);
            colour = (colour << 8) | uint32_t(std::lround(v * 255));
        }
        m_penColours[size_t(pen)] = colour;
        m_penDefined[size_t(pen)] = true;
        m_pensGivenColour.insert(pen);
        m_pResult->summary.pensDefined = m_pensGivenColour.size();
        return true;
    }
    if (m == "SP") {
        int pen = 0;
        if (p.size() > 1) return Fail("select pen needs one pen number");
        if (!p.empty() && !penNumber(p[0], &pen)) return false;
        m_pen = pen;
        ++m_pResult->summary.penSelections;
        return true;
    }
    // PW width[,pen], millimetres under "WU0".
    if (p.size() > 2 || (!p.empty() && p[0] < 0)) return Fail("pen width");
    const double width = p.empty() ? 0.35 : p[0];
    if (p.size() == 2) {
        int pen;
        if (!penNumber(p[1], &pen)) return false;
        m_penWidthsMm[size_t(pen)] = width;
    } else {
        m_penWidthsMm.assign(256, width);
    }
    return true;
}

bool PlotInterpreter::LineCommand(const PlotCommand& c) {
    const std::string& m = c.text;
    const std::vector<double>& p = c.params;
    if (m == "LT") {
        if (!p.empty()) {
            if (!m_options.skipUnknown) return Fail("line types other than solid are not read");
            WarnOnce("line types other than solid are drawn solid");
        }
        return true;
    }
    if (m == "TR") {
        if (p.size() > 1 || (!p.empty() && p[0] != 0 && p[0] != 1))
            return Fail("transparency mode");
        m_transparent = p.empty() || p[0] == 1;
        return true;
    }
    if (m == "MC") {
        // Merge control: only "destination AND source" (160) changes the
        // picture here; 252 and 204 paint the source as it is.
        bool multiply = false;
        if (p.size() > 2 || (!p.empty() && p[0] != 0 && p[0] != 1))
            return Fail("merge control mode");
        if (!p.empty() && p[0] == 1) {
            const double rop = p.size() == 2 ? p[1] : 252;
            if (rop == 160)
                multiply = true;
            else if (rop != 252 && rop != 204)
                return Fail("raster operation " + std::to_string(int(rop)) + " is not read");
        }
        m_multiply = multiply;
        if (m_canvas) m_canvas->SetMultiply(multiply);
        return true;
    }
    // LA kind,value pairs: 1 line ends, 2 joins, 3 miter limit.
    if (p.empty()) {
        m_cap = LineCap::Butt;
        m_join = LineJoin::Miter;
        m_miterLimit = 5;
        return true;
    }
    if (p.size() % 2 != 0) return Fail("line attributes come in pairs");
    for (size_t i = 0; i < p.size(); i += 2) {
        const double kind = p[i], value = p[i + 1];
        if (kind == 1 && value >= 1 && value <= 4 && IsWhole(value)) {
            // Triangular ends (3) are drawn round.
            m_cap = value == 1 ? LineCap::Butt : value == 2 ? LineCap::Square : LineCap::Round;
        } else if (kind == 2 && value >= 1 && value <= 6 && IsWhole(value)) {
            // 1 and 2 mitred, 3 triangular and 4 round drawn round, 5 and 6 bevelled.
            m_join = value <= 2 ? LineJoin::Miter : value <= 4 ? LineJoin::Round : LineJoin::Bevel;
        } else if (kind == 3 && value >= 1) {
            m_miterLimit = value;
        } else {
            return Fail("line attribute " + std::to_string(kind) + "," + std::to_string(value));
        }
    }
    return true;
}

bool PlotInterpreter::InputWindow(const PlotCommand& c) {
    const std::vector<double>& p = c.params;
    if (p.empty()) {
        m_window.reset();
    } else {
        if (p.size() != 4) return Fail("input window needs four numbers");
        if (!EnsureResolution()) return false;
        const Point a = PluToDevice(UserToPlu(p[0], p[1]));
        const Point b = PluToDevice(UserToPlu(p[2], p[3]));
        // The window includes its edges: device pixels from the first
        // corner's to the second's, both inclusive.
        m_window = EdgeRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
                            std::max(a.y, b.y) + 1};
    }
    if (m_canvas) m_canvas->SetClip(m_window);
    return true;
}

void PlotInterpreter::PensFromRasterPalette(std::string_view configuration) {
    // The third byte is the bits per index, which size the new palette in
    // every pixel encoding; 0 is taken as 1, as the raster reads it.
    const int bits = configuration.size() >= 3 ? static_cast<uint8_t>(configuration[2]) : 1;
    const std::vector<uint32_t> palette = DefaultPalette(bits == 0 ? 1 : bits);
    for (size_t i = 0; i < 256; ++i) {
        // Pen numbers beyond a smaller palette wrap around it.
        m_penColours[i] = palette[i % palette.size()];
        m_penDefined[i] = true;
        m_penFromRaster[i] = true;
    }
    m_penWidthsMm.assign(256, 0.35);
}

bool PlotInterpreter::PenUsable(uint32_t* pColour) {
    if (m_penFromRaster[size_t(m_pen)])
        WarnOnce("drawing with pen " + std::to_string(m_pen) +
                 " after a raster configuration replaced the palette, before \"PC\" defined "
                 "it again: it draws in the raster palette's colour at the default width");
    if (m_pen == 0)
        WarnOnce("drawing with pen 0, which a plotter takes for no pen");
    else if (!m_penDefined[size_t(m_pen)])
        WarnOnce("drawing with pen " + std::to_string(m_pen) + " never defined by \"PC\"");
    *pColour = m_penDefined[size_t(m_pen)] ? m_penColours[size_t(m_pen)] : 0x000000;
    // Transparency mode: white leaves the paper as it is.
    if (m_transparent && *pColour == 0xFFFFFF) return false;
    NotePenUse(*pColour);
    return true;
}

void PlotInterpreter::NotePenUse(uint32_t colour) {
    std::vector<PenUse>& pens = m_pResult->summary.pensUsed;
    const double width = m_penWidthsMm[size_t(m_pen)];
    for (PenUse& use : pens) {
        if (use.pen == m_pen && use.colour == colour && use.widthMm == width) {
            ++use.uses;
            return;
        }
    }
    pens.push_back(PenUse{m_pen, colour, width, 1});
}

StrokeStyle PlotInterpreter::CurrentStroke(uint32_t colour) const {
    StrokeStyle style;
    style.colour = colour;
    // "PW0" is the thinnest line a device draws: one pixel. Widths beyond
    // any page are cut to keep cairo's numbers in range.
    style.width = std::clamp(m_penWidthsMm[size_t(m_pen)] / 25.4 * m_resolution, 1.0, 1e5);
    style.cap = m_cap;
    style.join = m_join;
    style.miterLimit = m_miterLimit;
    return style;
}

}  // namespace plot

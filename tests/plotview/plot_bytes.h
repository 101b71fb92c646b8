// Hand-made plot streams for the renderer's own tests, written without the
// driver so that the two do not share a mistake.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "reader/plot_reader.h"

namespace plotbytes {

#define ESC "\x1b"

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

inline std::string Bytes(std::initializer_list<int> values) {
    std::string text;
    for (const int v : values) text += char(v);
    return text;
}

// One "PE" number: zig-zag value (2d, or 2|d| + 1 for d < 0) in base-64
// digits, least significant first; 63.. continuing, 191.. the last.
inline std::string Number(int64_t d) {
    uint64_t v = d >= 0 ? 2 * uint64_t(d) : 2 * uint64_t(-d) + 1;
    std::string digits;
    while (v >= 64) {
        digits += char(v % 64 + 63);
        v /= 64;
    }
    return digits + char(v + 191);
}

// "PE" data along absolute points; the builder knows where the pen is.
class Pe {
public:
    Pe(int x = 0, int y = 0) : m_x(x), m_y(y) {}
    Pe& Move(int x, int y) { return Step("<", x, y, false); }
    Pe& MoveAbsolute(int x, int y) { return Step("<=", x, y, true); }
    Pe& Draw(int x, int y) { return Step("", x, y, false); }
    Pe& DrawAbsolute(int x, int y) { return Step("=", x, y, true); }
    std::string Text() const { return "PE" + m_text + ";"; }

private:
    Pe& Step(const char* flags, int x, int y, bool absolute) {
        m_text += flags;
        m_text += absolute ? Number(x) + Number(y) : Number(x - m_x) + Number(y - m_y);
        m_x = x;
        m_y = y;
        return *this;
    }
    int m_x, m_y;
    std::string m_text;
};

// The frame the driver opens a job with, for a plot of length x width
// plotter units at 300 dots per inch: one user unit is one pixel, y down.
inline std::string Header(int length = 4000, int width = 2000) {
    return ESC "%0BBP5,1PS" + std::to_string(length) + "," + std::to_string(width) +
           "ECRO90IP0,0,1016,-1016IR0,100TR1MC0WU0SC0,300.000000,0,300.000000;"
           "CR0,255,0,255,0,255SP1";
}
inline const std::string kEnd = ";PUSP0PG;" ESC "%-12345X@PJL EOJ ";

// A filled polygon the way the driver sends one: move, "PM", outline, "PM2".
inline std::string Polygon(std::initializer_list<std::pair<int, int>> points) {
    auto p = points.begin();
    std::string text = Pe().MoveAbsolute(p->first, p->second).Text() + "PM";
    Pe outline(p->first, p->second);
    for (++p; p != points.end(); ++p) outline.Draw(p->first, p->second);
    outline.Draw(points.begin()->first, points.begin()->second);
    return text + outline.Text() + "PM2";
}

// One raster row transfer with its byte count.
inline std::string Transfer(const std::string& data) {
    return ESC "*b" + std::to_string(data.size()) + "W" + data;
}

inline bool HasWarning(const plot::PlotRendering& r, const std::string& text) {
    for (const auto& w : r.warnings)
        if (w.find(text) != std::string::npos) return true;
    return false;
}

inline plot::PlotRendering Render(const std::string& bytes, bool lenientPalette = false) {
    plot::RenderOptions options;
    options.lenientPalette = lenientPalette;
    return plot::RenderPlot(bytes, options);
}

}  // namespace plotbytes

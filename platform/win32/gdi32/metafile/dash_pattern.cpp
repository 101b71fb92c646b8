#include "win32/gdi32/metafile/dash_pattern.h"

#include <algorithm>
#include <cmath>

#include <windows.h>
#include "win32/gdi32/metafile/gdi_transform.h"

namespace {

// Patterns shorter than a pixel over a whole period cannot be shown as
// dashes; such lines are drawn solid rather than cut into countless specks.
constexpr double kShortestPeriod = 1.0;
// A line longer than this many periods (far off any sheet, or of a
// malformed metafile) is drawn solid rather than cut into millions of
// dashes.
constexpr double kMostPeriods = 1e6;

std::vector<double> Scaled(std::initializer_list<double> units, double unit) {
    std::vector<double> lengths;
    for (double u : units) lengths.push_back(u * unit);
    return lengths;
}

}  // namespace

std::vector<double> DashPattern(const GdiPen& pen, double deviceWidth, double cosmeticUnit,
                                double logicalScale) {
    const bool geometric = !pen.cosmetic;
    std::vector<double> lengths;
    switch (pen.DashKind()) {
        case PS_DASH:
            lengths = geometric ? Scaled({3, 1}, deviceWidth) : Scaled({18, 6}, cosmeticUnit);
            break;
        case PS_DOT:
            lengths = geometric ? Scaled({1, 1}, deviceWidth) : Scaled({3, 3}, cosmeticUnit);
            break;
        case PS_DASHDOT:
            lengths =
                geometric ? Scaled({3, 1, 1, 1}, deviceWidth) : Scaled({9, 6, 3, 6}, cosmeticUnit);
            break;
        case PS_DASHDOTDOT:
            lengths = geometric ? Scaled({3, 1, 1, 1, 1, 1}, deviceWidth)
                                : Scaled({9, 3, 3, 3, 3, 3}, cosmeticUnit);
            break;
        case PS_ALTERNATE: lengths = Scaled({1, 1}, cosmeticUnit); break;
        case PS_USERSTYLE:
            for (DWORD entry : pen.userStyle)
                lengths.push_back(geometric ? entry * logicalScale : entry * cosmeticUnit);
            break;
        default: return {};
    }
    // The caps of a geometric pen's standard style take their room out of
    // its dashes: each dash is a width shorter and each gap a width longer,
    // so that a dot of PS_DOT with round ends is its two caps.
    const DWORD cap = pen.style & PS_ENDCAP_MASK;
    if (geometric && pen.DashKind() != PS_USERSTYLE && cap != PS_ENDCAP_FLAT)
        for (size_t i = 0; i < lengths.size(); ++i)
            lengths[i] = i % 2 ? lengths[i] + deviceWidth : std::max(0.0, lengths[i] - deviceWidth);
    // An odd count repeats once more with dashes and gaps swapped, as GDI
    // reads a user style.
    if (lengths.size() % 2 == 1) {
        const size_t n = lengths.size();
        for (size_t i = 0; i < n; ++i) lengths.push_back(lengths[i]);
    }
    double period = 0;
    for (double length : lengths) {
        if (!std::isfinite(length) || length < 0) return {};
        period += length;
    }
    if (period < kShortestPeriod) return {};
    return lengths;
}

void CutIntoDashes(std::span<const POINT> points, std::span<const double> pattern,
                   const std::function<void(std::span<const POINT>)>& emit, bool pixelSteps,
                   bool gaps) {
    if (points.size() < 2) return;
    double period = 0;
    for (double length : pattern) period += length;
    // How long a segment is: along the line, or in pixel steps.
    const auto measure = [pixelSteps](const DPoint& a, const DPoint& b) {
        return pixelSteps ? std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y))
                          : std::hypot(b.x - a.x, b.y - a.y);
    };
    const auto at = [&](size_t i) {
        return DPoint{static_cast<double>(points[i].x), static_cast<double>(points[i].y)};
    };
    double total = 0;
    for (size_t i = 1; i < points.size(); ++i) total += measure(at(i - 1), at(i));
    if (pattern.empty() || period <= 0 || total / period > kMostPeriods) {
        if (!gaps) emit(points);
        return;
    }
    size_t element = 0;        // the pattern entry in force: even a dash, odd a gap
    double left = pattern[0];  // what remains of it
    // The entries drawn: the dashes (even), or the gaps (odd).
    const size_t drawn = gaps ? 1 : 0;
    std::vector<POINT> dash;  // the piece being drawn
    const auto add = [&](POINT p) {
        if (dash.empty() || dash.back().x != p.x || dash.back().y != p.y) dash.push_back(p);
    };
    const auto finishDash = [&] {
        // A dash of no length (a dot of round or square ends) is its caps.
        if (!gaps && dash.size() == 1 && pattern[element] == 0) dash.push_back(dash.front());
        if (dash.size() >= 2) emit(dash);
        dash.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        const DPoint a = at(i - 1), b = at(i);
        const double length = measure(a, b);
        double done = 0;  // along this segment
        if (element % 2 == drawn) add(points[i - 1]);
        while (length - done > left) {
            done += left;
            const double t = done / length;
            add(RoundToDevice({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}));
            if (element % 2 == drawn) finishDash();  // the piece ends here; else one starts
            element = (element + 1) % pattern.size();
            left = pattern[element];
        }
        left -= length - done;
        if (element % 2 == drawn) add(points[i]);
    }
    if (element % 2 == drawn) finishDash();
}

int PenDeviceWidth(const GdiPen& pen, const Affine& toDevice) {
    if (pen.cosmetic || pen.width <= 0) return 1;
    const double width = pen.width * LengthScale(toDevice);
    if (!(width >= 1)) return 1;
    // Wider than any sheet: the number only has to stay an integer.
    return static_cast<int>(std::lround(std::min(width, 1e6)));
}

HatchOffsets HatchCellOffsets(int cell) {
    return HatchOffsets{3 * cell / 8, cell / 2, cell - 1};
}

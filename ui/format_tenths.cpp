#include "ui/format_tenths.h"

#include <cmath>
#include <string>

CString FormatTenths(double value) {
    // Paper files can hold negative numbers: they are rounded like their
    // magnitude, so -1.5 shows as -1.5 and never as a wrong "-2.5".
    if (value < 0) {
        const CString magnitude = FormatTenths(-value);
        return magnitude == CString("0") ? magnitude : CString("-") + magnitude;
    }
    // 12.34 -> 12.3, 12.96 -> 13, 0.25 -> 0.3. Integers are formatted
    // without printf, so no locale can change the decimal point.
    const double v = value * 10 + 0.5;
    const long long whole = static_cast<long long>(std::floor(v / 10));
    const long long tenth = static_cast<long long>(v - static_cast<double>(whole) * 10);
    std::string text = std::to_string(whole);
    if (tenth != 0) {
        text += '.';
        text += std::to_string(tenth);
    }
    return CString(text);
}

#include "support/pcl_row_decoder.h"

namespace pcl {

Bytes ReferenceRunLengthRow(const Bytes& row) {
    Bytes out;
    int count = 0;
    uint8_t value = 0;
    for (uint8_t b : row) {
        if (count > 0 && b == value) {
            if (++count == 255) {
                out.insert(out.end(), {254, value});
                count = 0;
            }
        } else {
            if (count > 0) out.insert(out.end(), {static_cast<uint8_t>(count - 1), value});
            value = b;
            count = 1;
        }
    }
    if (count > 0) out.insert(out.end(), {static_cast<uint8_t>(count - 1), value});
    return out;
}

Bytes ReferenceDeltaRow(const Bytes& seed, const Bytes& row) {
    Bytes out;
    auto put = [&](size_t first, size_t count, size_t offset) {
        const auto countBits = static_cast<uint8_t>((count - 1) << 5);
        if (offset < 31) {
            out.push_back(static_cast<uint8_t>(countBits | offset));
        } else {
            out.push_back(static_cast<uint8_t>(countBits | 31));
            size_t rest = offset - 31;
            for (; rest >= 255; rest -= 255) out.push_back(255);
            out.push_back(static_cast<uint8_t>(rest));
        }
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(first),
                   row.begin() + static_cast<std::ptrdiff_t>(first + count));
    };
    // Matching: equal bytes add to the offset. Collecting: differing bytes
    // wait; an equal byte emits them and starts the next offset at 1; eight
    // waiting bytes are emitted at once and the offset restarts at 0.
    size_t offset = 0, start = 0, pending = 0;
    for (size_t i = 0; i < row.size(); ++i) {
        if (row[i] == seed[i]) {
            if (pending) {
                put(start, pending, offset);
                pending = 0;
                offset = 0;
            }
            ++offset;
            continue;
        }
        if (!pending) start = i;
        if (++pending == 8) {
            put(start, pending, offset);
            pending = 0;
            offset = 0;
        }
    }
    if (pending) {
        put(start, pending, offset);
    } else if (offset) {
        put(row.size() - 1, 1, offset - 1);
    }
    return out;
}

namespace {

constexpr char kEsc = '\x1b';

bool IsParameterized(char c) {
    return c >= 0x21 && c <= 0x2F;
}
bool IsGroup(char c) {
    return c >= 0x60 && c <= 0x7E;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

RasterRows DecodeRasterRows(std::string_view stream, size_t nRowBytes) {
    RasterRows result;
    Bytes seed(nRowBytes, 0);
    int nMethod = 0;
    size_t i = 0;
    auto fail = [&](const std::string& text) {
        result.error = text + " at byte " + std::to_string(i);
        return result;
    };
    while (i < stream.size()) {
        if (stream[i] != kEsc) {
            ++i;  // HP-GL/2 text, PJL: not raster data
            continue;
        }
        if (i + 1 >= stream.size()) {
            return fail("escape at end of stream");
        }
        const char parameterized = stream[i + 1];
        if (!IsParameterized(parameterized)) {
            i += 2;  // a two-character sequence such as "\eE"
            continue;
        }
        i += 2;
        char group = 0;
        if (parameterized != '%' && i < stream.size() && IsGroup(stream[i])) {
            group = stream[i++];
        }
        // One or more value/parameter pairs; a lower-case parameter
        // continues the sequence, an upper-case one ends it.
        for (;;) {
            bool bNegative = false;
            if (i < stream.size() && (stream[i] == '-' || stream[i] == '+')) {
                bNegative = stream[i++] == '-';
            }
            long long nValue = 0;
            while (i < stream.size() && IsDigit(stream[i])) {
                nValue = nValue * 10 + (stream[i++] - '0');
                if (nValue > (1ll << 40)) {
                    return fail("number too large");
                }
            }
            if (i >= stream.size()) {
                return fail("escape sequence cut short");
            }
            if (bNegative) {
                nValue = -nValue;
            }
            const char parameter = stream[i++];
            const char upper = (parameter >= 'a' && parameter <= 'z')
                                   ? static_cast<char>(parameter - 'a' + 'A')
                                   : parameter;
            if (parameterized == '*' && group == 'b' && upper == 'M') {
                nMethod = static_cast<int>(nValue);
            } else if (parameterized == '*' && group == 'b' && upper == 'Y') {
                seed.assign(nRowBytes, 0);
            } else if (parameterized == '*' && upper == 'W') {
                if (nValue < 0 || static_cast<size_t>(nValue) > stream.size() - i) {
                    return fail("data past the end of the stream");
                }
                const auto* pData = reinterpret_cast<const uint8_t*>(stream.data() + i);
                const size_t nLength = static_cast<size_t>(nValue);
                i += nLength;
                if (group == 'b') {
                    Bytes row;
                    if (nMethod == 1) {
                        if (!DecodeRunLengthRow(pData, nLength, &row)) {
                            return fail("odd method-1 row");
                        }
                        if (row.size() != nRowBytes) {
                            return fail("method-1 row of " + std::to_string(row.size()) + " bytes");
                        }
                    } else if (nMethod == 3) {
                        row = seed;
                        if (!ApplyDeltaRow(pData, nLength, &row)) {
                            return fail("malformed method-3 row");
                        }
                    } else {
                        return fail("transfer under method " + std::to_string(nMethod));
                    }
                    seed = row;
                    result.rows.push_back(std::move(row));
                }
            }
            if (parameter >= 0x40 && parameter <= 0x5E) {
                break;
            }
            if (!(parameter >= 0x60 && parameter <= 0x7E)) {
                return fail("bad parameter character");
            }
        }
    }
    return result;
}

}  // namespace pcl

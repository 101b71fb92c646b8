#include "reader/hpgl_parser.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace plot {

namespace {

constexpr char kEsc = '\x1b';
constexpr std::string_view kUel = "\x1b%-12345X";

enum class Mode { Pcl, Hpgl, Pjl };

std::string Hex(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// HP-GL/2 instructions whose parameters are text, not numbers: the numeric
// parameter reader would take their letters for instructions.
bool TakesText(std::string_view mnemonic) {
    for (std::string_view m : {"LB", "DT", "SM", "CO", "BL", "WD"})
        if (mnemonic == m) return true;
    return false;
}

class StreamParser {
public:
    explicit StreamParser(std::string_view bytes) : m_bytes(bytes) {}

    ParseResult Run() {
        while (m_i < m_bytes.size() && m_result.error.empty()) {
            switch (m_mode) {
                case Mode::Pjl: PjlStep(); break;
                case Mode::Pcl:
                    if (m_bytes[m_i] != kEsc)
                        Fail("byte " + Hex(Byte(m_i)) +
                             " outside an escape sequence in PCL/RTL mode");
                    else
                        Escape();
                    break;
                case Mode::Hpgl: HpglStep(); break;
            }
        }
        return std::move(m_result);
    }

private:
    unsigned char Byte(size_t i) const { return static_cast<unsigned char>(m_bytes[i]); }

    void Fail(const std::string& text, size_t offset) {
        if (m_result.error.empty()) {
            m_result.error = text;
            m_result.errorOffset = offset;
        }
    }
    void Fail(const std::string& text) { Fail(text, m_i); }
    // The stream ends inside a command: a file cut short.
    void FailCut(const std::string& text, size_t offset) {
        if (m_result.error.empty()) m_result.truncated = true;
        Fail(text, offset);
    }
    void Warn(const std::string& text, size_t offset) {
        m_result.warnings.push_back(text + " at byte " + std::to_string(offset));
    }

    PlotCommand& Add(CommandKind kind, size_t offset) {
        PlotCommand& c = m_result.commands.emplace_back();
        c.kind = kind;
        c.offset = offset;
        return c;
    }

    void PjlStep() {
        if (m_bytes[m_i] == kEsc) {
            m_mode = Mode::Pcl;
            return;
        }
        if (m_afterUel && m_bytes[m_i] == ' ') {
            Warn("blank between the universal exit and \"@PJL\"", m_i);
            while (m_i < m_bytes.size() && m_bytes[m_i] == ' ') ++m_i;
            return;
        }
        if (m_bytes.substr(m_i, 4) != "@PJL") {
            Fail("expected \"@PJL\" in PJL mode, found byte " + Hex(Byte(m_i)));
            return;
        }
        m_afterUel = false;
        const size_t start = m_i;
        size_t end = m_bytes.find('\n', m_i);
        m_i = end == std::string_view::npos ? m_bytes.size() : end + 1;
        std::string line(
            m_bytes.substr(start, (end == std::string_view::npos ? m_bytes.size() : end) - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        PlotCommand& c = Add(CommandKind::Pjl, start);
        c.length = m_i - start;
        c.text = line;
        // "@PJL ENTER LANGUAGE = HPGL2": the next bytes are HP-GL/2.
        std::string upper;
        for (char ch : line)
            if (ch != ' ') upper += Upper(ch);
        if (upper.rfind("@PJLENTERLANGUAGE=", 0) == 0)
            m_mode = upper.substr(18) == "HPGL2" ? Mode::Hpgl : Mode::Pcl;
    }

    // A number of an escape sequence or an HP-GL/2 parameter: optional sign,
    // digits, optional fraction. False when no digit is there.
    bool Number(double* pValue) {
        size_t j = m_i;
        bool negative = false;
        if (j < m_bytes.size() && (m_bytes[j] == '+' || m_bytes[j] == '-')) {
            negative = m_bytes[j] == '-';
            ++j;
        }
        double value = 0;
        bool digits = false;
        while (j < m_bytes.size() && IsDigit(m_bytes[j])) {
            value = value * 10 + (m_bytes[j++] - '0');
            digits = true;
        }
        if (j < m_bytes.size() && m_bytes[j] == '.') {
            ++j;
            double scale = 0.1;
            while (j < m_bytes.size() && IsDigit(m_bytes[j])) {
                value += scale * (m_bytes[j++] - '0');
                scale /= 10;
                digits = true;
            }
        }
        if (!digits) return false;
        if (value > 1e12) {
            Fail("number too large", m_i);
            return false;
        }
        *pValue = negative ? -value : value;
        m_i = j;
        return true;
    }

    void Escape() {
        const size_t start = m_i;
        if (m_bytes.substr(m_i, kUel.size()) == kUel) {
            m_i += kUel.size();
            Add(CommandKind::UniversalExit, start).length = kUel.size();
            m_mode = Mode::Pjl;
            m_afterUel = true;
            return;
        }
        if (m_i + 1 >= m_bytes.size()) {
            FailCut("escape at the end of the stream", m_i);
            return;
        }
        const char c = m_bytes[m_i + 1];
        EscapeSequence sequence;
        m_i += 2;
        if (c >= 0x21 && c <= 0x2F) {
            sequence.parameterized = c;
            if (c != '%' && m_i < m_bytes.size() && Byte(m_i) >= 0x60 && Byte(m_i) <= 0x7E)
                sequence.group = m_bytes[m_i++];
            if (!Parts(&sequence, start)) return;
        } else if (c == 'v') {
            // "\ev1N": the letter v cannot follow the escape of a
            // parameterised sequence, so a device reads the two-character
            // sequence "\ev" and then "1N" as data. Kept whole here so that
            // the plot reader can report it.
            sequence.letter = c;
            if (!Parts(&sequence, start)) return;
        } else if (c >= 0x30 && c <= 0x7E) {
            sequence.letter = c;
        } else {
            Fail("byte " + Hex(static_cast<unsigned char>(c)) + " after an escape", start + 1);
            return;
        }
        PlotCommand& command = Add(CommandKind::Escape, start);
        command.length = m_i - start;
        command.escape = std::move(sequence);
        const EscapeSequence& s = command.escape;
        if (s.parameterized == '%' && !s.parts.empty()) {
            if (s.parts.back().parameter == 'A')
                m_mode = Mode::Pcl;
            else if (s.parts.back().parameter == 'B')
                m_mode = Mode::Hpgl;
        } else if (s.parameterized == 0 && s.letter == 'E') {
            m_mode = Mode::Pcl;
        }
    }

    // Value/parameter pairs: a lower-case parameter continues the sequence,
    // an upper-case one ends it. "W" (and the plane transfer "V") carry as
    // many data bytes as their value says.
    bool Parts(EscapeSequence* pSequence, size_t start) {
        for (;;) {
            EscapePart part;
            part.hasValue = Number(&part.value);
            if (!m_result.error.empty()) return false;
            if (m_i >= m_bytes.size()) {
                FailCut("escape sequence cut short", start);
                return false;
            }
            const char parameter = m_bytes[m_i];
            const bool more = parameter >= 0x60 && parameter <= 0x7E;
            if (!more && !(parameter >= 0x40 && parameter <= 0x5E)) {
                Fail("bad parameter byte " + Hex(Byte(m_i)) + " in an escape sequence");
                return false;
            }
            ++m_i;
            part.parameter = Upper(parameter);
            const bool carriesData =
                pSequence->parameterized == '*' &&
                (part.parameter == 'W' || (pSequence->group == 'b' && part.parameter == 'V'));
            if (carriesData) {
                if (!part.hasValue || part.value < 0 || part.value != std::floor(part.value)) {
                    Fail("data count of an escape sequence is not a whole number", start);
                    return false;
                }
                if (part.value > double(m_bytes.size() - m_i)) {
                    FailCut("escape sequence announces " + std::to_string(int64_t(part.value)) +
                                " data bytes, " + std::to_string(m_bytes.size() - m_i) +
                                " are left",
                            start);
                    return false;
                }
                part.data = std::string(m_bytes.substr(m_i, size_t(part.value)));
                m_i += size_t(part.value);
            }
            pSequence->parts.push_back(std::move(part));
            if (!more) return true;
        }
    }

    void HpglStep() {
        const char c = m_bytes[m_i];
        if (c == kEsc) {
            Escape();
            return;
        }
        if (c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++m_i;
            return;
        }
        if (!IsLetter(c)) {
            Fail("byte " + Hex(Byte(m_i)) + " where an HP-GL/2 instruction should start");
            return;
        }
        const size_t start = m_i;
        if (m_i + 1 >= m_bytes.size()) {
            FailCut("incomplete HP-GL/2 mnemonic", m_i);
            return;
        }
        if (!IsLetter(m_bytes[m_i + 1])) {
            Fail("incomplete HP-GL/2 mnemonic");
            return;
        }
        std::string mnemonic{Upper(m_bytes[m_i]), Upper(m_bytes[m_i + 1])};
        m_i += 2;
        if (TakesText(mnemonic)) {
            Fail("instruction " + mnemonic + " (text parameters) is not read", start);
            return;
        }
        if (mnemonic == "PE") {
            PolylineEncoded(start);
            return;
        }
        std::vector<double> params;
        while (m_i < m_bytes.size()) {
            const char p = m_bytes[m_i];
            if (p == ';') {
                ++m_i;
                break;
            }
            if (p == ',' || p == ' ' || p == '\t' || p == '\r' || p == '\n') {
                ++m_i;
                continue;
            }
            if (IsLetter(p) || p == kEsc) break;
            double value;
            if (!Number(&value)) {
                Fail("byte " + Hex(Byte(m_i)) + " in the parameters of " + mnemonic);
                return;
            }
            params.push_back(value);
        }
        PlotCommand& command = Add(CommandKind::Hpgl, start);
        command.length = m_i - start;
        command.text = mnemonic;
        command.params = std::move(params);
    }

    // "PE" data in 8-bit mode: flags "<" (pen up) and "=" (absolute) before
    // a pair; numbers as base-64 digits, least significant first, bytes
    // 63..126 continuing and 191..254 ending a number.
    void PolylineEncoded(size_t start) {
        PlotCommand command;
        command.kind = CommandKind::PolylineEncoded;
        command.offset = start;
        command.text = "PE";
        PeVertex pending;
        bool haveX = false;
        uint64_t value = 0;
        int digits = 0;
        auto midPair = [&]() { return digits > 0 || haveX; };
        for (;;) {
            if (m_i >= m_bytes.size()) {
                // The pairs read so far are drawn: the file was cut here.
                if (!command.vertices.empty()) {
                    command.length = m_i - start;
                    m_result.commands.push_back(std::move(command));
                }
                FailCut("\"PE\" not closed at the end of the stream", start);
                return;
            }
            const unsigned char b = Byte(m_i);
            if (b == ';' || b == kEsc) {
                if (midPair()) {
                    Fail(digits > 0 ? "\"PE\" number cut short"
                                    : "\"PE\" ends after an x coordinate");
                    return;
                }
                if (pending.penUp || pending.absolute) {
                    Fail("\"PE\" flag without a coordinate pair");
                    return;
                }
                if (b == ';') {
                    ++m_i;
                } else {
                    command.peUnterminated = true;
                    Warn("\"PE\" ended by an escape sequence instead of \";\"", m_i);
                }
                break;
            }
            if (b == '<' || b == '=') {
                if (midPair()) {
                    Fail("\"PE\" flag inside a coordinate pair");
                    return;
                }
                (b == '<' ? pending.penUp : pending.absolute) = true;
            } else if (b == '>' || b == '7' || b == ':') {
                Fail(std::string("\"PE\" flag '") + char(b) + "' is not expected in this stream");
                return;
            } else if ((b >= 63 && b <= 126) || (b >= 191 && b <= 254)) {
                const bool last = b >= 191;
                if (digits >= 8) {
                    Fail("\"PE\" number of more than 8 digits");
                    return;
                }
                value += uint64_t(last ? b - 191 : b - 63) << (6 * digits);
                ++digits;
                if (last) {
                    const int64_t number = DecodeZigZag(value);
                    if (!haveX) {
                        pending.x = number;
                        haveX = true;
                    } else {
                        pending.y = number;
                        command.vertices.push_back(pending);
                        pending = PeVertex{};
                        haveX = false;
                    }
                    value = 0;
                    digits = 0;
                }
            } else {
                Fail("byte " + Hex(b) + " in \"PE\" data");
                return;
            }
            ++m_i;
        }
        command.length = m_i - start;
        m_result.commands.push_back(std::move(command));
    }

    std::string_view m_bytes;
    size_t m_i = 0;
    Mode m_mode = Mode::Pcl;
    bool m_afterUel = false;
    ParseResult m_result;
};

}  // namespace

int64_t DecodeZigZag(uint64_t v) {
    return (v & 1) ? -int64_t(v >> 1) : int64_t(v >> 1);
}

ParseResult ParsePlotStream(std::string_view bytes) {
    return StreamParser(bytes).Run();
}

std::string Describe(const PlotCommand& command) {
    switch (command.kind) {
        case CommandKind::Pjl: return command.text;
        case CommandKind::UniversalExit: return "\\e%-12345X";
        case CommandKind::PolylineEncoded:
            return "PE(" + std::to_string(command.vertices.size()) + " pairs)";
        case CommandKind::Hpgl: {
            std::string text = command.text;
            for (size_t k = 0; k < command.params.size(); ++k) {
                char number[32];
                std::snprintf(number, sizeof number, "%g", command.params[k]);
                if (k) text += ',';
                text += number;
            }
            return text;
        }
        case CommandKind::Escape: {
            const EscapeSequence& s = command.escape;
            std::string text = "\\e";
            if (s.parameterized) text += s.parameterized;
            if (s.group) text += s.group;
            if (s.letter) text += s.letter;
            for (size_t k = 0; k < s.parts.size(); ++k) {
                const EscapePart& p = s.parts[k];
                if (p.hasValue) {
                    char number[32];
                    std::snprintf(number, sizeof number, "%g", p.value);
                    text += number;
                }
                const bool last = k + 1 == s.parts.size();
                text += last ? p.parameter : static_cast<char>(std::tolower(p.parameter));
            }
            return text;
        }
    }
    return "?";
}

}  // namespace plot

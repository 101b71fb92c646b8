// Splits a plot byte stream into its commands: PJL lines, PCL / HP RTL
// escape sequences (with their binary data), HP-GL/2 instructions with
// numeric parameters, and "PE" encoded polylines decoded into coordinate
// pairs. The parser follows the language switches (UEL, "\e%#B", "\e%#A",
// "@PJL ENTER LANGUAGE") so that every byte is read in the right language;
// what the commands mean is the plot reader's business.
//
// Strict on purpose: a byte that no language of the stream can take there is
// an error with its offset, so that tests catch a driver that writes one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plot {

enum class CommandKind {
    Pjl,             // one "@PJL" line, without its line end
    UniversalExit,   // "\e%-12345X"
    Escape,          // any other escape sequence
    Hpgl,            // a two-letter HP-GL/2 instruction
    PolylineEncoded  // "PE" with its decoded data
};

// One value/parameter pair of a parameterised escape sequence, such as the
// "1a" of "\e*v1a1b1c1I". The parameter letter is stored in upper case.
struct EscapePart {
    double value = 0;
    bool hasValue = false;
    char parameter = 0;
    std::string data;  // the binary data that follows a "W" (or "V") parameter
};

struct EscapeSequence {
    // '%', '*', '&', ... for a parameterised sequence; 0 for a two-character
    // sequence such as "\eE", whose letter is in `letter`.
    char parameterized = 0;
    char group = 0;  // 'r', 'b', 't', 'v', 'p', 'a' ... or 0
    char letter = 0;
    std::vector<EscapePart> parts;
};

// One coordinate pair of "PE" data with the flags that preceded it.
struct PeVertex {
    bool penUp = false;     // "<"
    bool absolute = false;  // "="
    int64_t x = 0;
    int64_t y = 0;
};

struct PlotCommand {
    CommandKind kind = CommandKind::Hpgl;
    size_t offset = 0;  // of the command's first byte
    size_t length = 0;
    std::string text;            // PJL line, or HP-GL/2 mnemonic in upper case
    std::vector<double> params;  // HP-GL/2 parameters
    std::vector<PeVertex> vertices;
    bool peUnterminated = false;  // "PE" ended by an escape rather than ";"
    EscapeSequence escape;
};

struct ParseResult {
    std::vector<PlotCommand> commands;
    std::vector<std::string> warnings;
    std::string error;  // empty when the whole stream parsed
    size_t errorOffset = 0;
    // The error is the end of the stream inside a command: a file cut short
    // rather than a byte no language can take.
    bool truncated = false;
    bool Ok() const { return error.empty(); }
};

ParseResult ParsePlotStream(std::string_view bytes);

// The value of one "PE" number from its base-64 digits: zig-zag coded,
// even values are v / 2, odd ones -(v - 1) / 2.
int64_t DecodeZigZag(uint64_t v);

// Readable form of a command for messages, e.g. "SP3", "\e*b12W", "PE(4 pairs)".
std::string Describe(const PlotCommand& command);

}  // namespace plot

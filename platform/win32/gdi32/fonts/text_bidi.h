// The Unicode bidirectional algorithm over one line of text: which runs of
// characters read right to left, and the order the runs stand in on the
// line.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Characters start to end (logical order) of one embedding level: odd
// levels read right to left.
struct BidiRun {
    size_t start = 0;
    size_t end = 0;
    int level = 0;
};

// The runs of a line in logical order, with the paragraph's direction
// given (as ExtTextOutW takes it; not guessed from the text). Whitespace
// at the line's end takes the paragraph's level.
std::vector<BidiRun> BidiRunsOf(std::span<const char32_t> text, bool rightToLeft);

// The runs' indexes from left to right: higher levels reversed within
// lower ones.
std::vector<size_t> VisualOrderOf(std::span<const BidiRun> runs);

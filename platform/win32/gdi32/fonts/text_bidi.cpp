#include "gdi32/fonts/text_bidi.h"

#include <fribidi.h>

#include <algorithm>

std::vector<BidiRun> BidiRunsOf(std::span<const char32_t> text, bool rightToLeft) {
    const int base = rightToLeft ? 1 : 0;
    if (text.empty()) return {};
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    std::vector<FriBidiChar> chars(text.begin(), text.end());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size(), static_cast<FriBidiLevel>(base));
    fribidi_get_bidi_types(chars.data(), n, types.data());
    fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
    FriBidiParType direction = rightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction,
                                            levels.data()) == 0) {
        std::fill(levels.begin(), levels.end(), static_cast<FriBidiLevel>(base));
    } else {
        // Rule L1: tabs and the whitespace before them, and whitespace at
        // the end of the line, stand at the paragraph's level.
        const auto blank = [&](size_t i) {
            return FRIBIDI_IS_EXPLICIT_OR_BN_OR_WS(types[i]) || FRIBIDI_IS_ISOLATE(types[i]);
        };
        for (size_t end = text.size(); end > 0; --end) {
            const bool tab = types[end - 1] == FRIBIDI_TYPE_SS;
            if (!tab && end != text.size()) continue;
            size_t i = tab ? end - 1 : end;
            if (tab) levels[i] = static_cast<FriBidiLevel>(base);
            while (i > 0 && blank(i - 1)) levels[--i] = static_cast<FriBidiLevel>(base);
        }
    }
    std::vector<BidiRun> runs;
    for (size_t i = 0; i < text.size(); ++i) {
        if (runs.empty() || runs.back().level != levels[i])
            runs.push_back({i, i + 1, levels[i]});
        else
            runs.back().end = i + 1;
    }
    return runs;
}

std::vector<size_t> VisualOrderOf(std::span<const BidiRun> runs) {
    std::vector<size_t> order(runs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    int highest = 0, lowestOdd = 1 << 30;
    for (const BidiRun& r : runs) {
        highest = std::max(highest, r.level);
        if (r.level % 2) lowestOdd = std::min(lowestOdd, r.level);
    }
    // Rule L2: from the highest level down to the lowest odd one, reverse
    // every sequence of runs at that level or higher.
    for (int level = highest; level >= lowestOdd; --level) {
        for (size_t i = 0; i < order.size();) {
            if (runs[order[i]].level < level) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < order.size() && runs[order[j]].level >= level) ++j;
            std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                         order.begin() + static_cast<std::ptrdiff_t>(j));
            i = j;
        }
    }
    return order;
}

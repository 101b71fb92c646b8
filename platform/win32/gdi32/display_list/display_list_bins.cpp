#include "gdi32/display_list/display_list_bins.h"

#include <algorithm>

namespace {

// The bins of a level covering height rows.
size_t BinsOn(unsigned height, unsigned rowsPerBin, unsigned level) {
    const unsigned long long rows = static_cast<unsigned long long>(rowsPerBin) << level;
    return static_cast<size_t>((height + rows - 1) / rows);
}

}  // namespace

void RowIndex::Build(unsigned height, unsigned rowsPerBin, size_t count,
                     const std::function<void(size_t, unsigned*, unsigned*)>& rowsOf) {
    m_height = std::max(1u, height);
    m_rowsPerBin = std::max(1u, rowsPerBin);
    m_levelStart.clear();
    size_t bins = 0;
    for (unsigned level = 0;; ++level) {
        m_levelStart.push_back(bins);
        const size_t n = BinsOn(m_height, m_rowsPerBin, level);
        bins += n;
        if (n <= 2) break;
    }
    const unsigned levels = static_cast<unsigned>(m_levelStart.size());
    // Where a primitive goes: its level and its first and last bin there.
    const auto place = [&](size_t i, size_t* first, size_t* last) {
        unsigned top = 0, bottom = 0;
        rowsOf(i, &top, &bottom);
        top = std::min(top, m_height - 1);
        bottom = std::clamp(bottom, top + 1, m_height);
        unsigned level = 0;
        while (level + 1 < levels &&
               ((bottom - 1) >> level) / m_rowsPerBin - (top >> level) / m_rowsPerBin > 1)
            ++level;
        *first = m_levelStart[level] + (top >> level) / m_rowsPerBin;
        *last = m_levelStart[level] + ((bottom - 1) >> level) / m_rowsPerBin;
    };
    m_binStart.assign(bins + 1, 0);
    for (size_t i = 0; i < count; ++i) {
        size_t first, last;
        place(i, &first, &last);
        ++m_binStart[first + 1];
        if (last != first) ++m_binStart[last + 1];
    }
    for (size_t b = 0; b < bins; ++b) m_binStart[b + 1] += m_binStart[b];
    m_entries.assign(m_binStart[bins], 0);
    std::vector<uint32_t> next(m_binStart.begin(), m_binStart.end() - 1);
    for (size_t i = 0; i < count; ++i) {
        size_t first, last;
        place(i, &first, &last);
        m_entries[next[first]++] = static_cast<uint32_t>(i);
        if (last != first) m_entries[next[last]++] = static_cast<uint32_t>(i);
    }
}

void RowIndex::Collect(unsigned top, unsigned bottom, std::vector<uint32_t>* out) const {
    out->clear();
    if (m_binStart.empty() || top >= m_height || bottom <= top) return;
    bottom = std::min(bottom, m_height);
    for (unsigned level = 0; level < m_levelStart.size(); ++level) {
        const size_t first = m_levelStart[level] + (top >> level) / m_rowsPerBin;
        const size_t last = m_levelStart[level] + ((bottom - 1) >> level) / m_rowsPerBin;
        out->insert(out->end(), m_entries.begin() + m_binStart[first],
                    m_entries.begin() + m_binStart[last + 1]);
    }
    std::sort(out->begin(), out->end());
    out->erase(std::unique(out->begin(), out->end()), out->end());
}

size_t RowIndex::Bytes() const {
    return m_levelStart.capacity() * sizeof(size_t) +
           (m_binStart.capacity() + m_entries.capacity()) * sizeof(uint32_t);
}

// Which primitives of a page touch which rows. Rows are cut into bins of a
// few rows, and bins of twice, four times ... as many rows above them; a
// primitive is filed in the finest bins of which at most two hold all its
// rows. So every primitive takes one or two entries however tall it is, and
// the primitives a band of rows gathers are those of its bins on every level
// (those filed higher up touch the band's neighbourhood: at worst a few
// times as many as touch the band itself).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class RowIndex {
public:
    // Files count primitives whose rows [top, bottom) rowsOf gives, on a
    // page of height rows, in bins of rowsPerBin rows at the finest level.
    // Rows outside the page count as its first or last row.
    void Build(unsigned height, unsigned rowsPerBin, size_t count,
               const std::function<void(size_t, unsigned* top, unsigned* bottom)>& rowsOf);
    // The primitives filed where they may touch rows [top, bottom), in
    // drawing order, each once.
    void Collect(unsigned top, unsigned bottom, std::vector<uint32_t>* out) const;
    size_t Bytes() const;

private:
    unsigned m_height = 0;
    unsigned m_rowsPerBin = 1;
    std::vector<size_t> m_levelStart;  // each level's first bin in m_binStart
    std::vector<uint32_t> m_binStart;  // each bin's first entry; one more at the end
    std::vector<uint32_t> m_entries;
};

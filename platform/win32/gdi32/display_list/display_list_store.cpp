#include "gdi32/display_list/display_list_store.h"

#include <algorithm>

POINT* PointArena::Allocate(size_t count) {
    if (count > kBlockPoints - m_used) {
        // A figure longer than a block gets a block of its own.
        const size_t size = std::max(count, kBlockPoints);
        m_blocks.push_back(std::make_unique_for_overwrite<POINT[]>(size));
        m_bytes += size * sizeof(POINT);
        m_used = 0;
        if (size > kBlockPoints) {
            m_used = kBlockPoints;  // full: the next figure starts a block
            return m_blocks.back().get();
        }
    }
    POINT* points = m_blocks.back().get() + m_used;
    m_used += count;
    return points;
}

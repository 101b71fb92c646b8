// The growable byte block both row coders code into.
#pragma once

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <windows.h>

// Moves the bytes in use into a new block of the given capacity; false, with
// the old block kept, when memory fails.
inline bool ReallocateRowStorage(std::unique_ptr<BYTE[]>* data, size_t length, size_t capacity) {
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[capacity]);
    if (!block) return false;
    if (length > 0) std::memcpy(block.get(), data->get(), length);
    *data = std::move(block);
    return true;
}

// The transfer command and the channel's Write take a row's coded length as
// an int, and a coded row may be twice its source.
inline bool RowFitsOneTransfer(size_t rowBytes) {
    return rowBytes <= static_cast<size_t>(INT_MAX) / 2;
}

// Room for exactly `needed` bytes, reserved before a row is coded; false,
// with nothing changed, when the memory is not there.
inline bool ReserveRowStorage(std::unique_ptr<BYTE[]>* data, size_t length, size_t* capacity,
                              size_t needed) {
    if (needed <= *capacity) return true;
    if (!ReallocateRowStorage(data, length, needed)) return false;
    *capacity = needed;
    return true;
}

// Room for `needed` bytes in a row nobody reserved: the block grows
// geometrically, so that a row fed a byte at a time stays linear.
inline void GrowRowStorage(std::unique_ptr<BYTE[]>* data, size_t length, size_t* capacity,
                           size_t needed, size_t minimum) {
    if (needed <= *capacity) return;
    const size_t grown = std::max({needed, *capacity * 2, minimum});
    if (!ReallocateRowStorage(data, length, grown)) throw std::bad_alloc();
    *capacity = grown;
}

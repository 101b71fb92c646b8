// The growable byte block both row coders code into.
#pragma once

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

// Global memory handles. A handle is the address of a small header before
// the block; every live handle is registered, so that a stale or foreign
// handle is refused (null, 0) instead of being followed.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "win32/kernel32/global_memory.h"

namespace {

struct Block {
    SIZE_T size;
    unsigned locks;
    alignas(std::max_align_t) unsigned char data[1];
};

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}
std::unordered_set<const void*>& Registry() {
    static std::unordered_set<const void*> live;
    return live;
}

Block* Find(HGLOBAL hMem) {
    if (!hMem || Registry().count(hMem) == 0) return nullptr;
    return static_cast<Block*>(hMem);
}

}  // namespace

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    if (dwBytes > static_cast<SIZE_T>(1) << 40) return nullptr;
    const SIZE_T total = offsetof(Block, data) + (dwBytes ? dwBytes : 1);
    void* memory = std::malloc(total);
    if (!memory) return nullptr;
    Block* block = static_cast<Block*>(memory);
    block->size = dwBytes;
    block->locks = 0;
    if (uFlags & GMEM_ZEROINIT) std::memset(block->data, 0, dwBytes ? dwBytes : 1);
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().insert(memory);
    return memory;
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Block* block = Find(hMem);
    if (!block) return nullptr;
    ++block->locks;
    return block->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Block* block = Find(hMem);
    if (!block || block->locks == 0) return FALSE;
    return --block->locks != 0;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
    if (!hMem) return nullptr;
    std::lock_guard<std::mutex> guard(RegistryLock());
    if (!Find(hMem)) return hMem;  // not ours: the failure result is the handle itself
    Registry().erase(hMem);
    std::free(hMem);
    return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Block* block = Find(hMem);
    return block ? block->size : 0;
}

}  // extern "C"

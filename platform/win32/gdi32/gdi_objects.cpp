#include "gdi32/gdi_objects.h"

#include <mutex>
#include <unordered_map>

namespace {

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_map<const void*, RasterGdiObject*>& Registry() {
    static std::unordered_map<const void*, RasterGdiObject*> registry;
    return registry;
}

}  // namespace

void RegisterRasterGdiObject(RasterGdiObject* object) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry()[object] = object;
}

void UnregisterRasterGdiObject(RasterGdiObject* object) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().erase(object);
}

RasterGdiObject* FindRasterGdiObject(const void* h, RasterGdiKind kind) {
    if (!h) return nullptr;
    std::lock_guard<std::mutex> guard(RegistryLock());
    const auto it = Registry().find(h);
    return it != Registry().end() && it->second->kind == kind ? it->second : nullptr;
}

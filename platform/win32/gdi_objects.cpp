#include "gdi_objects.h"

#include <mutex>
#include <unordered_map>

namespace {

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_map<const void*, GdiObject*>& Registry() {
    static std::unordered_map<const void*, GdiObject*> registry;
    return registry;
}

}  // namespace

void RegisterGdiObject(GdiObject* object) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry()[object] = object;
}

void UnregisterGdiObject(GdiObject* object) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().erase(object);
}

GdiObject* FindGdiObject(const void* h, GdiKind kind) {
    if (!h) return nullptr;
    std::lock_guard<std::mutex> guard(RegistryLock());
    const auto it = Registry().find(h);
    return it != Registry().end() && it->second->kind == kind ? it->second : nullptr;
}

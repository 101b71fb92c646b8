#include "ui/module_resources.h"

#include <cstddef>
#include <mutex>

// The compiled resource script, generated at build time.
extern const unsigned char kHpgl2Resources[];
extern const std::size_t kHpgl2ResourcesSize;

HMODULE ModuleResourceHandle() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        RegisterModuleResources(kModuleFileName, kHpgl2Resources, kHpgl2ResourcesSize);
    });
    return GetModuleHandleA(kModuleFileName);
}

ModuleResourceScope::ModuleResourceScope() : m_hPrevious(AfxGetResourceHandle()) {
    AfxSetResourceHandle(ModuleResourceHandle());
}

ModuleResourceScope::~ModuleResourceScope() {
    AfxSetResourceHandle(m_hPrevious);
}

// The module's resources on Linux: the compiled resource script the module
// carries, registered with the Win32 subset under the module's file name.
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

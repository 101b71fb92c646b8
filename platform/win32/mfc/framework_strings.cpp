// The framework's own messages on Linux: its compiled string table is
// registered as a module of its own, as the loader would map it.
#include <mutex>
#include <string>

#include "mfc/ddx.h"
#include "win32/kernel32/resources.h"

// The framework's compiled string table, generated at build time.
extern const unsigned char kFrameworkResources[];
extern const std::size_t kFrameworkResourcesSize;

std::string AfxFrameworkString(UINT nId) {
    static const char kModule[] = "pxrwin32.mfc";
    static std::once_flag registered;
    std::call_once(registered, [] {
        RegisterModuleResources(kModule, kFrameworkResources, kFrameworkResourcesSize);
    });
    char text[256];
    LoadStringA(GetModuleHandleA(kModule), nId, text, sizeof text);
    return text;
}

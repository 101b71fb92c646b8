// The framework's own messages on Windows: the string table linked into
// PXRDriver.dll, the library the framework lives in.
#include <string>

#include "mfc/ddx.h"

std::string AfxFrameworkString(UINT nId) {
    HMODULE self = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&AfxFrameworkString), &self);
    char text[256] = {};
    LoadStringA(self, nId, text, sizeof text);
    return text;
}

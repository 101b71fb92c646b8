#include "host/module_library.h"

#include <windows.h>

void* OpenModuleLibrary(const std::string& path, std::string* why) {
    // The module's own folder first for the libraries it imports, as a
    // host loading a plug-in by full path wants.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        const DWORD code = GetLastError();
        char text[512] = {};
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, code, 0, text, sizeof text, nullptr);
        std::string message(text, n);
        while (!message.empty() &&
               (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
            message.pop_back();
        *why = message.empty() ? "error " + std::to_string(code) : message;
    }
    return module;
}

void* ModuleLibrarySymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void CloseModuleLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}

#include "host/module_library.h"

#include <dlfcn.h>

void* OpenModuleLibrary(const std::string& path, std::string* why) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) *why = dlerror();
    return handle;
}

void* ModuleLibrarySymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}

void CloseModuleLibrary(void* handle) {
    dlclose(handle);
}

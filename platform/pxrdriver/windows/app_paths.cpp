#include "pxrdriver/app_paths.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

std::string ExecutableFolder() {
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return ".";
    std::string path(buffer, n);
    return path.substr(0, path.find_last_of("\\/"));
}

const char* NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

// As on Linux, the answers live per thread and follow the environment; the
// user's data folder is %APPDATA%\pxr.
const char* KestGetAppFullPath() {
    thread_local std::string path;
    const char* dir = NonEmptyEnv("PXR_APP_DIR");
    path = WithoutTrailingSeparator(dir ? dir : ExecutableFolder());
    return path.c_str();
}

const char* KestGetAppDataPath() {
    thread_local std::string path;
    if (const char* dir = NonEmptyEnv("PXR_DATA_DIR"))
        path = dir;
    else if (const char* appData = NonEmptyEnv("APPDATA"))
        path = std::string(appData) + "\\pxr";
    else
        path = ExecutableFolder() + "\\pxr";
    path = WithoutTrailingSeparator(path);
    return path.c_str();
}

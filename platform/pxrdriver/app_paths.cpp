#include "pxrdriver/app_paths.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

std::string ExecutableFolder() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

const char* NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

// The answers live per thread and are recomputed on every call, so that a
// host may point the framework elsewhere through the environment.
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
    else if (const char* xdg = NonEmptyEnv("XDG_DATA_HOME"))
        path = std::string(xdg) + "/pxr";
    else if (const char* home = NonEmptyEnv("HOME"))
        path = std::string(home) + "/.local/share/pxr";
    else
        path = "/tmp/pxr";
    path = WithoutTrailingSeparator(path);
    return path.c_str();
}

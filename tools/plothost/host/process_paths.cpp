#include "host/process_paths.h"

#include <cstdlib>
#include <unistd.h>

std::string FolderOfExecutable() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/'));
}

void SetEnvironmentValue(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}

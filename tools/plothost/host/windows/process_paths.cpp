#include "host/process_paths.h"

#include <windows.h>

#include <cstdlib>

std::string FolderOfExecutable() {
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return ".";
    std::string path(buffer, n);
    return path.substr(0, path.find_last_of("\\/"));
}

// The C runtime's copy of the environment, which getenv reads.
void SetEnvironmentValue(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}

#include "win32/kernel32/native_path.h"

std::string NativePath(const char* path) {
    std::string native = path ? path : "";
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

#include "win32/kernel32/native_path.h"

// Windows takes "\" and "/" alike: a path is native as it is.
std::string NativePath(const char* path) {
    return path ? path : "";
}

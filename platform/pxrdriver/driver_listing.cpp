#include "pxrdriver/driver_listing.h"

#include <cstring>
#include <string>
#include <vector>
#include <windows.h>
#include <cstdio>

#include "win32/kernel32/native_path.h"

namespace {

// The section names of the ini file as one doubly terminated list; empty
// when the file cannot be read.
std::string SectionNames(const char* iniPath) {
    std::vector<char> buffer(4096);
    for (;;) {
        const DWORD n = GetPrivateProfileSectionNamesA(buffer.data(),
                                                       static_cast<DWORD>(buffer.size()), iniPath);
        if (n + 2 < buffer.size()) return std::string(buffer.data(), n);
        if (buffer.size() > (1u << 26)) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

int HT_ListCloseDriver(char* pBuffer, int nSize, const char* pszIniPath) {
    if (!pszIniPath) return 0;
    const std::string names = SectionNames(pszIniPath);  // "a\0b\0"
    if (names.empty()) {
        FILE* probe = std::fopen(NativePath(pszIniPath).c_str(), "rb");
        if (!probe) return 0;
        std::fclose(probe);
    }
    std::string list = pszIniPath;
    list += '\0';
    list += names;
    list += '\0';
    if (!pBuffer) return static_cast<int>(list.size());
    if (nSize <= 0) return 0;
    if (nSize < 2) {
        pBuffer[0] = '\0';
        return 1;
    }
    if (static_cast<size_t>(nSize) >= list.size()) {
        std::memcpy(pBuffer, list.data(), list.size());
        return static_cast<int>(list.size());
    }
    // Cut at the last whole string that fits, and terminate the list there.
    size_t keep = 0;
    for (size_t pos = 0; pos < list.size();) {
        const size_t end = list.find('\0', pos);
        if (end + 2 > static_cast<size_t>(nSize)) break;
        keep = end + 1;
        pos = end + 1;
    }
    std::memcpy(pBuffer, list.data(), keep);
    pBuffer[keep] = '\0';
    if (keep == 0 && nSize >= 2) pBuffer[1] = '\0';
    return static_cast<int>(keep + 1);
}

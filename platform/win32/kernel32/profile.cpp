// GetPrivateProfile*/WritePrivateProfile* with the Windows behaviour that
// stored settings depend on: case-insensitive names, trimmed values with one
// pair of enclosing quotes removed, defaults, truncation and list forms, and
// the structure encoding (two hexadecimal digits per byte, then a checksum
// byte that is the low byte of the sum of all bytes).
#include <cstring>
#include <string>
#include <vector>

#include "kernel32/profile_file.h"
#include "win32/kernel32/profile.h"

using win32::FindEntry;
using win32::FindSection;
using win32::LoadProfile;
using win32::ProfileFile;

namespace {

// Copies text into a buffer of nSize bytes, NUL-terminated, as much as fits.
DWORD CopyTruncated(const std::string& text, LPSTR buffer, DWORD nSize) {
    if (!buffer || nSize == 0) return 0;
    DWORD n = static_cast<DWORD>(text.size());
    if (n > nSize - 1) n = nSize - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

// A list of NUL-terminated names closed by one more NUL. When the buffer is
// too small the list is cut, still doubly terminated, and nSize - 2 returned.
DWORD CopyList(const std::vector<std::string>& names, LPSTR buffer, DWORD nSize) {
    if (!buffer || nSize == 0) return 0;
    if (nSize == 1) {
        buffer[0] = '\0';
        return 0;
    }
    DWORD used = 0;
    for (const std::string& name : names) {
        const DWORD need = static_cast<DWORD>(name.size()) + 1;
        if (used + need > nSize - 1) {
            // The previous name may already fill the buffer up to its last byte.
            const DWORD room = used < nSize - 2 ? nSize - 2 - used : 0;
            std::memcpy(buffer + used, name.data(), room);
            buffer[nSize - 2] = '\0';
            buffer[nSize - 1] = '\0';
            return nSize - 2;
        }
        std::memcpy(buffer + used, name.c_str(), need);
        used += need;
    }
    buffer[used] = '\0';
    return used;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string TrimmedDefault(LPCSTR lpDefault) {
    std::string text = lpDefault ? lpDefault : "";
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The value of a key, unquoted; false when file, section or key is missing.
bool ReadValue(LPCSTR section, LPCSTR key, LPCSTR fileName, std::string* value) {
    auto file = LoadProfile(fileName);
    if (!file) return false;
    auto* s = FindSection(*file, section);
    if (!s) return false;
    const auto* entry = FindEntry(*s, key);
    if (!entry) return false;
    *value = Unquote(entry->value);
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Integer text as the profile functions take it: blanks, a sign, and digits
// in base 10 or, after 0x, 0o or 0b, in base 16, 8 or 2.
UINT ParseProfileInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char p = static_cast<char>(text[i + 1] | 0x20);
        if (p == 'x') base = 16;
        if (p == 'o') base = 8;
        if (p == 'b') base = 2;
        if (base != 10) i += 2;
    }
    UINT value = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0 || static_cast<unsigned>(d) >= base) break;
        value = value * base + static_cast<UINT>(d);  // wraps as the 32-bit original does
    }
    return negative ? 0u - value : value;
}

bool Save(LPCSTR fileName, const ProfileFile& file) {
    return win32::SaveProfile(fileName, file);
}

}  // namespace

extern "C" {

DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                      LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
    if (!lpReturnedString || nSize == 0) return 0;
    if (!lpAppName) return GetPrivateProfileSectionNamesA(lpReturnedString, nSize, lpFileName);
    if (!lpKeyName) {
        std::vector<std::string> keys;
        if (auto file = LoadProfile(lpFileName))
            if (auto* section = FindSection(*file, lpAppName))
                for (const auto& entry : section->entries) keys.push_back(entry.key);
        return CopyList(keys, lpReturnedString, nSize);
    }
    std::string value;
    if (!ReadValue(lpAppName, lpKeyName, lpFileName, &value)) value = TrimmedDefault(lpDefault);
    return CopyTruncated(value, lpReturnedString, nSize);
}

DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize,
                                            LPCSTR lpFileName) {
    std::vector<std::string> names;
    if (auto file = LoadProfile(lpFileName))
        for (const auto& section : file->sections) names.push_back(section.name);
    return CopyList(names, lpszReturnBuffer, nSize);
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault,
                                  LPCSTR lpFileName) {
    std::string value;
    if (!lpAppName || !lpKeyName || !ReadValue(lpAppName, lpKeyName, lpFileName, &value) ||
        value.empty())
        return static_cast<UINT>(nDefault);
    return ParseProfileInt(value);
}

BOOL WINAPI GetPrivateProfileStructA(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct,
                                     UINT uSizeStruct, LPCSTR szFile) {
    std::string value;
    if (!lpszSection || !lpszKey || !lpStruct) return FALSE;
    if (!ReadValue(lpszSection, lpszKey, szFile, &value)) return FALSE;
    if (value.size() != 2 * static_cast<size_t>(uSizeStruct) + 2) return FALSE;
    // Decode into a scratch buffer first: a value with a bad digit or a bad
    // checksum leaves the caller's structure untouched.
    std::vector<BYTE> bytes(static_cast<size_t>(uSizeStruct) + 1);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = HexDigit(value[2 * i]);
        const int lo = HexDigit(value[2 * i + 1]);
        if (hi < 0 || lo < 0) return FALSE;
        bytes[i] = static_cast<BYTE>(hi * 16 + lo);
        if (i < uSizeStruct) sum += bytes[i];
    }
    if (bytes[uSizeStruct] != (sum & 0xFF)) return FALSE;
    std::memcpy(lpStruct, bytes.data(), uSizeStruct);
    return TRUE;
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                       LPCSTR lpFileName) {
    if (!lpAppName || !lpFileName) return FALSE;
    ProfileFile file = LoadProfile(lpFileName).value_or(ProfileFile{});
    auto* section = FindSection(file, lpAppName);
    if (!lpKeyName) {  // delete the section
        if (section) {
            for (auto it = file.sections.begin(); it != file.sections.end(); ++it)
                if (&*it == section) {
                    file.sections.erase(it);
                    break;
                }
        }
        return Save(lpFileName, file);
    }
    if (!section) {
        if (!lpString) return TRUE;
        file.sections.push_back({lpAppName, {}});
        section = &file.sections.back();
    }
    auto& entries = section->entries;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (win32::EqualsNoCase(it->key, lpKeyName)) {
            if (lpString)
                it->value = lpString;
            else
                entries.erase(it);
            return Save(lpFileName, file);
        }
    }
    if (lpString) entries.push_back({lpKeyName, lpString});
    return Save(lpFileName, file);
}

BOOL WINAPI WritePrivateProfileStructA(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct,
                                       UINT uSizeStruct, LPCSTR szFile) {
    if (!lpStruct) return WritePrivateProfileStringA(lpszSection, lpszKey, nullptr, szFile);
    static const char kDigits[] = "0123456789ABCDEF";
    const BYTE* bytes = static_cast<const BYTE*>(lpStruct);
    std::string text;
    text.reserve(2 * static_cast<size_t>(uSizeStruct) + 2);
    unsigned sum = 0;
    for (UINT i = 0; i < uSizeStruct; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
        sum += bytes[i];
    }
    text += kDigits[(sum >> 4) & 15];
    text += kDigits[sum & 15];
    return WritePrivateProfileStringA(lpszSection, lpszKey, text.c_str(), szFile);
}

}  // extern "C"

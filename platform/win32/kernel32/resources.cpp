#include "win32/kernel32/resources.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "win32/kernel32/res_file.h"

namespace {

struct ModuleImage {
    std::string strName;
    std::vector<win32::ResourceEntry> entries;
};

std::mutex g_modulesLock;
// Never shrinks: module handles and resource handles stay valid for the
// life of the process, as a module's resources do while it is mapped.
std::vector<std::unique_ptr<ModuleImage>> g_modules;
std::atomic<LANGID> g_forcedLanguage{0};

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string BaseName(const char* path) {
    std::string s(path);
    const size_t slash = s.find_last_of("/\\");
    return slash == std::string::npos ? s : s.substr(slash + 1);
}

ModuleImage* ImageOf(HMODULE h) {
    std::lock_guard<std::mutex> lock(g_modulesLock);
    for (auto& image : g_modules)
        if (reinterpret_cast<HMODULE>(image.get()) == h) return image.get();
    return nullptr;
}

bool Matches(const win32::ResourceEntry& e, LPCSTR name, LPCSTR type) {
    const auto same = [](int ordinal, const std::u16string& text, LPCSTR wanted) {
        if (IS_INTRESOURCE(wanted))
            return ordinal == static_cast<int>(reinterpret_cast<UINT_PTR>(wanted));
        if (ordinal >= 0) return false;
        const std::string utf8 = win32::Utf16ToUtf8(text);
        return SameNameNoCase(utf8, wanted);
    };
    return same(e.nType, e.strType, type) && same(e.nName, e.strName, name);
}

// The language order of a lookup: the preferred one, English, neutral, then any.
const win32::ResourceEntry* FindPreferred(const ModuleImage& image, LPCSTR name, LPCSTR type,
                                          bool (*usable)(const win32::ResourceEntry&)) {
    const LANGID order[] = {GetUserDefaultUILanguage(),
                            static_cast<LANGID>(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)), 0};
    for (LANGID lang : order)
        for (const auto& e : image.entries)
            if (e.wLanguage == lang && Matches(e, name, type) && usable(e)) return &e;
    for (const auto& e : image.entries)
        if (Matches(e, name, type) && usable(e)) return &e;
    return nullptr;
}

bool AnyEntry(const win32::ResourceEntry&) {
    return true;
}

// The string at index within a string-table block: 16 counted UTF-16 strings.
bool StringInBlock(const win32::ResourceEntry& block, unsigned index, std::u16string* out) {
    const auto& d = block.data;
    size_t off = 0;
    for (unsigned i = 0; i <= index; ++i) {
        if (d.size() - off < 2) return false;
        const size_t len = d[off] | (d[off + 1] << 8);
        off += 2;
        if ((d.size() - off) / 2 < len) return false;
        if (i == index) {
            out->clear();
            for (size_t k = 0; k < len; ++k)
                out->push_back(static_cast<char16_t>(d[off + 2 * k] | (d[off + 2 * k + 1] << 8)));
            return true;
        }
        off += 2 * len;
    }
    return false;
}

thread_local unsigned t_stringIndex = 0;
bool HasStringAtIndex(const win32::ResourceEntry& block) {
    std::u16string text;
    return StringInBlock(block, t_stringIndex, &text) && !text.empty();
}

LANGID LanguageOfLocale(const char* locale) {
    if (!locale || !*locale) return MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
    const std::string s(locale);
    const auto starts = [&](const char* prefix) { return s.rfind(prefix, 0) == 0; };
    if (starts("zh_CN") || starts("zh_SG") || s == "zh" || starts("zh.") || starts("zh_Hans"))
        return MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    if (starts("zh_TW") || starts("zh_HK") || starts("zh_MO") || starts("zh_Hant"))
        return MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);
    if (starts("ja")) return MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    return MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
}

}  // namespace

bool RegisterModuleResources(const char* pszModuleName, const void* pResBytes, size_t nSize) {
    if (!pszModuleName || (!pResBytes && nSize)) return false;
    auto entries = win32::ParseResFile(static_cast<const std::uint8_t*>(pResBytes), nSize);
    if (!entries) return false;
    const std::string name = BaseName(pszModuleName);
    std::lock_guard<std::mutex> lock(g_modulesLock);
    // A module loaded again brings the same resources; the handles already
    // given out keep pointing at the first copy.
    for (auto& image : g_modules)
        if (SameNameNoCase(image->strName, name)) return true;
    auto image = std::make_unique<ModuleImage>();
    image->strName = name;
    image->entries = std::move(*entries);
    g_modules.push_back(std::move(image));
    return true;
}

void SetResourceLanguage(LANGID language) {
    g_forcedLanguage.store(language);
}

extern "C" {

LANGID WINAPI GetUserDefaultUILanguage() {
    if (const LANGID forced = g_forcedLanguage.load()) return forced;
    // The first of these that is set names the locale of messages, as in POSIX.
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return LanguageOfLocale(value);
    }
    return MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    if (!lpModuleName) return nullptr;
    const std::string name = BaseName(lpModuleName);
    std::lock_guard<std::mutex> lock(g_modulesLock);
    for (auto& image : g_modules)
        if (SameNameNoCase(image->strName, name)) return reinterpret_cast<HMODULE>(image.get());
    return nullptr;
}

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    const ModuleImage* image = ImageOf(hModule);
    if (!image || !lpName || !lpType) return nullptr;
    const auto* entry = FindPreferred(*image, lpName, lpType, AnyEntry);
    return reinterpret_cast<HRSRC>(const_cast<win32::ResourceEntry*>(entry));
}

HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage) {
    const ModuleImage* image = ImageOf(hModule);
    if (!image || !lpName || !lpType) return nullptr;
    for (const auto& e : image->entries)
        if (e.wLanguage == wLanguage && Matches(e, lpName, lpType))
            return reinterpret_cast<HRSRC>(const_cast<win32::ResourceEntry*>(&e));
    return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
    return reinterpret_cast<HGLOBAL>(hResInfo);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) {
    if (!hResData) return nullptr;
    auto* entry = static_cast<win32::ResourceEntry*>(hResData);
    return entry->data.data();
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
    if (!hResInfo) return 0;
    return static_cast<DWORD>(reinterpret_cast<win32::ResourceEntry*>(hResInfo)->data.size());
}

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    const ModuleImage* image = ImageOf(hInstance);
    if (!image || !lpBuffer || cchBufferMax <= 0) return 0;
    // Strings live in blocks of 16: block id/16 + 1 holds string id at index id % 16.
    // A string missing in the user's language comes from the English table.
    t_stringIndex = uID % 16;
    const auto* block =
        FindPreferred(*image, MAKEINTRESOURCEA(uID / 16 + 1), RT_STRING, HasStringAtIndex);
    std::u16string text;
    if (!block || !StringInBlock(*block, uID % 16, &text) || text.empty()) {
        lpBuffer[0] = '\0';
        return 0;
    }
    const std::string utf8 = win32::Utf16ToUtf8(text);
    size_t n = std::min(utf8.size(), static_cast<size_t>(cchBufferMax - 1));
    // Never end inside a multi-byte character.
    while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
    std::memcpy(lpBuffer, utf8.data(), n);
    lpBuffer[n] = '\0';
    return static_cast<int>(n);
}

}  // extern "C"

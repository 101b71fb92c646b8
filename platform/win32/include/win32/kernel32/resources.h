// Module resources: dialog templates, string tables and bitmaps compiled by a
// resource compiler into the ".res" form, found by type, id and language.
#pragma once

#include <cstddef>

#include "win32/types.h"

using LANGID = WORD;
using HRSRC = struct HRSRC__*;

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<UINT_PTR>(p) >> 16) == 0)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)

#define MAKELANGID(primary, sub) (static_cast<WORD>((static_cast<WORD>(sub) << 10) | (primary)))
#define PRIMARYLANGID(lang) (static_cast<WORD>((lang)&0x3FF))
#define SUBLANGID(lang) (static_cast<WORD>(static_cast<WORD>(lang) >> 10))
#define LANG_NEUTRAL 0x00
#define LANG_CHINESE 0x04
#define LANG_ENGLISH 0x09
#define LANG_JAPANESE 0x11
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_CHINESE_TRADITIONAL 0x01
#define SUBLANG_CHINESE_SIMPLIFIED 0x02

extern "C" {
WIN32_API HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
WIN32_API HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
WIN32_API HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName,
                                       WORD wLanguage);
WIN32_API HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
WIN32_API LPVOID WINAPI LockResource(HGLOBAL hResData);
WIN32_API DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
// Text in the ANSI code page of this platform, UTF-8. Returns the length
// copied (without the NUL), 0 when the string does not exist.
WIN32_API int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
// The user's language, from the locale of the environment (LC_ALL,
// LC_MESSAGES, LANG): Simplified Chinese for zh_CN and zh_SG, Traditional
// Chinese for zh_TW and zh_HK, Japanese for ja, English otherwise.
WIN32_API LANGID WINAPI GetUserDefaultUILanguage();
}

// What the Windows loader does when it maps a module: makes its compiled
// resources (the bytes of a ".res" file) known under the module's file name.
// The bytes are copied. False when they are not a well-formed ".res" image.
WIN32_API bool RegisterModuleResources(const char* pszModuleName, const void* pResBytes,
                                       size_t nSize);
// The language the resource functions prefer; 0 returns to the user's
// locale. For hosts and tests that choose the language themselves.
WIN32_API void SetResourceLanguage(LANGID language);

// Private profile (".ini") files. Section and key names compare without
// regard to case; paths may use "\" or "/" as separator.
#pragma once

#include "win32/types.h"

extern "C" {
WIN32_API DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName,
                                                LPCSTR lpDefault, LPSTR lpReturnedString,
                                                DWORD nSize, LPCSTR lpFileName);
WIN32_API UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault,
                                            LPCSTR lpFileName);
WIN32_API BOOL WINAPI GetPrivateProfileStructA(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct,
                                               UINT uSizeStruct, LPCSTR szFile);
WIN32_API DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize,
                                                      LPCSTR lpFileName);
WIN32_API BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName,
                                                 LPCSTR lpString, LPCSTR lpFileName);
WIN32_API BOOL WINAPI WritePrivateProfileStructA(LPCSTR lpszSection, LPCSTR lpszKey,
                                                 LPVOID lpStruct, UINT uSizeStruct, LPCSTR szFile);
}

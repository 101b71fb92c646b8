// Messages of the module's string table, in the user's language.
#pragma once

#include <afxwin.h>

// String nId from hModule when given, else from the module named
// pszModuleFile, else from this module ("HPGL2.pxr"). Empty when the id is
// missing.
CString LoadModuleString(UINT nId, HMODULE hModule = nullptr, const char* pszModuleFile = nullptr);

// A message box with string nId of this module and an OK button.
int ShowModuleMessage(UINT nId);
// The same with the one "%d" of the string replaced by nValue.
int ShowModuleMessage(UINT nId, int nValue);

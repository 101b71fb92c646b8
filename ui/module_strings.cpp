#include "ui/module_strings.h"

#include <string>

#include "ui/module_resources.h"

CString LoadModuleString(UINT nId, HMODULE hModule, const char* pszModuleFile) {
    if (!hModule && pszModuleFile) hModule = GetModuleHandleA(pszModuleFile);
    if (!hModule) hModule = ModuleResourceHandle();
    // Longer than any message of the table; LoadStringA never overruns it.
    char buffer[1024];
    if (LoadStringA(hModule, nId, buffer, sizeof buffer) <= 0) return CString();
    return CString(buffer);
}

int ShowModuleMessage(UINT nId) {
    return AfxMessageBox(LoadModuleString(nId), MB_OK);
}

int ShowModuleMessage(UINT nId, int nValue) {
    // Only the first "%d" is replaced: the text comes from a table that
    // translators edit, so it is never used as a printf format.
    std::string text = LoadModuleString(nId).str();
    const size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(nValue));
    return AfxMessageBox(text.c_str(), MB_OK);
}

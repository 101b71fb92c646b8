#include "job/destination.h"

#include <cctype>
#include <cstring>

namespace {

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

}  // namespace

bool IsFilePort(const char* pszOutput) {
    return pszOutput && EqualsNoCase(pszOutput, "FILE:");
}

std::string PlotFileName(const char* pszOutput) {
    std::string name = pszOutput ? pszOutput : "";
    if (name.size() < 4 || !EqualsNoCase(name.c_str() + name.size() - 4, ".plt")) name += ".plt";
    return name;
}

std::string ProposedPlotName(const char* pszDocName) {
    if (!pszDocName || !*pszDocName) return "Drawing1.plt";
    std::string name = pszDocName;
    // Documents come with Windows folders, and on this system with "/" ones too.
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name + ".plt";
}

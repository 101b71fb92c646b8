#include "host/data_folder.h"

#include <cstdio>
#include <filesystem>
#include <vector>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> PaperFilesNamedIn(const std::string& ini) {
    std::vector<char> sections(1 << 16);
    const DWORD n = GetPrivateProfileSectionNamesA(
        sections.data(), static_cast<DWORD>(sections.size()), ini.c_str());
    std::vector<std::string> files;
    for (DWORD pos = 0; pos < n && sections[pos];) {
        const std::string section(&sections[pos]);
        char value[256];
        GetPrivateProfileStringA(section.c_str(), "PaperFile", "", value, sizeof value,
                                 ini.c_str());
        if (*value) files.emplace_back(value);
        pos += static_cast<DWORD>(section.size()) + 1;
    }
    return files;
}

}  // namespace

void PreparePaperLists(const std::string& appDir, const std::string& dataDir) {
    for (const std::string& name : PaperFilesNamedIn(appDir + "/hpgl2.ini")) {
        if (name.find("..") != std::string::npos || name.find('/') == 0) continue;
        const fs::path source = fs::path(appDir) / name;
        const fs::path target = fs::path(dataDir) / name;
        std::error_code error;
        if (fs::exists(target, error) || !fs::exists(source, error)) continue;
        fs::create_directories(target.parent_path(), error);
        if (!fs::copy_file(source, target, error))
            std::fprintf(stderr, "plothost: cannot copy the paper list %s to %s: %s\n",
                         source.string().c_str(), target.string().c_str(), error.message().c_str());
    }
}

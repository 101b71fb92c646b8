#include "host/install_paths.h"

#include <cstdlib>
#include <unistd.h>

namespace {

bool IsFile(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

}  // namespace

std::string ExecutableFolder() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/'));
}

std::string FindBeside(const std::string& folder, const std::vector<std::string>& relative,
                       const std::string& file) {
    for (const std::string& r : relative)
        if (IsFile(folder + "/" + r + "/" + file)) return folder + "/" + r + "/" + file;
    return folder + "/" + (relative.empty() ? "." : relative.front()) + "/" + file;
}

void ChooseApplicationFolder(const std::string& folder, const std::vector<std::string>& relative) {
    const char* chosen = std::getenv("PXR_APP_DIR");
    if ((chosen && *chosen) || IsFile(folder + "/hpgl2.ini")) return;
    for (const std::string& r : relative)
        if (IsFile(folder + "/" + r + "/hpgl2.ini")) {
            setenv("PXR_APP_DIR", (folder + "/" + r).c_str(), 1);
            return;
        }
}

#include "host/install_paths.h"

#include <cstdlib>
#include <unistd.h>

#include "host/process_paths.h"

namespace {

bool IsFile(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

}  // namespace

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
            SetEnvironmentValue("PXR_APP_DIR", folder + "/" + r);
            return;
        }
}

// Where an installed or built host finds the driver module and the
// application folder (hpgl2.ini): beside itself in a build, else in the
// installation's lib/ and share/hpgl2/, from the folder the executable lies in.
#pragma once

#include <string>
#include <vector>

// The first of folder + each relative path that holds `file`, as a path to
// that file; folder + the first relative path when none does.
std::string FindBeside(const std::string& folder, const std::vector<std::string>& relative,
                       const std::string& file);

// Sets PXR_APP_DIR to the first of folder + each relative path that holds
// hpgl2.ini, unless PXR_APP_DIR is set already or the executable's own
// folder holds one (the framework's default).
void ChooseApplicationFolder(const std::string& folder, const std::vector<std::string>& relative);

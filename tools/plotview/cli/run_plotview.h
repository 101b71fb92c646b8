// plotview as a function: the executable's main calls it, and the tests do
// too with the streams they read back.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace plotview {

// args without the program name. Returns the exit status.
int RunPlotview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Where page n (0 for the first) of a rendering goes: PICTURE.png,
// PICTURE-2.png, PICTURE-3.png ...
std::string PagePath(const std::string& first, size_t page);

}  // namespace plotview

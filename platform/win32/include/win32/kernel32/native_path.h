// Linux side of the platform layer: Windows paths built with "\" name the
// same files as with "/".
#pragma once

#include <string>

#include "win32/types.h"

WIN32_API std::string NativePath(const char* path);

// What the host knows of its own process: the folder of its executable, and
// the environment through which it points the framework at its folders.
#pragma once

#include <string>

std::string FolderOfExecutable();
void SetEnvironmentValue(const char* name, const std::string& value);

// Loading a shared library by path, as a host loads a plug-in module:
// dlopen on Linux, LoadLibrary on Windows.
#pragma once

#include <string>

// The library's handle; null with the system's reason in *why.
void* OpenModuleLibrary(const std::string& path, std::string* why);
// The address of an exported function; null when the library has none.
void* ModuleLibrarySymbol(void* handle, const char* name);
void CloseModuleLibrary(void* handle);

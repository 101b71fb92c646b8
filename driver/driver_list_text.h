// The text in which the framework lists the configured drivers: NUL-
// terminated strings, the last one empty; the first is the framework's own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The driver names of a list of size bytes. A first byte of 0 means an
// empty list, whatever follows; the walk never leaves the buffer.
std::vector<std::string> ListedDriverNames(const char* buffer, size_t size);

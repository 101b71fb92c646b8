#include "driver/driver_list_text.h"

#include <cstring>

std::vector<std::string> ListedDriverNames(const char* buffer, size_t size) {
    std::vector<std::string> names;
    if (!buffer || size == 0 || buffer[0] == '\0') return names;
    const char* end = buffer + size;
    const char* name = buffer + strnlen(buffer, size) + 1;  // skip the framework's string
    while (name < end && *name != '\0') {
        const size_t length = strnlen(name, static_cast<size_t>(end - name));
        names.emplace_back(name, length);
        name += length + 1;
    }
    return names;
}

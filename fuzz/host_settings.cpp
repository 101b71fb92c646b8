// Arbitrary text as plothost's per-user settings file: every line is
// checked before its hexadecimal record is decoded; nothing else happens.
#include <cstdint>
#include <string>

#include "host/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const StoredSettings settings = ParseStoredSettings(text, &problems);
    // What is read back is written the same way it reads.
    if (ParseStoredSettings(FormatStoredSettings(settings), nullptr) != settings) __builtin_trap();
    return 0;
}

// Arbitrary bytes as a compiled resource file and as a dialog template:
// every length is checked, so no input reads past its end.
#include <cstdint>
#include <vector>

#include "win32/user32/dialog_template.h"
#include "win32/kernel32/res_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto entries = win32::ParseResFile(data, size);
    if (entries)
        for (const auto& entry : *entries)
            if (entry.nType == 5) ParseDialogTemplate(entry.data.data(), entry.data.size());
    ParseDialogTemplate(data, size);
    return 0;
}

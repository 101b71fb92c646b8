// The module's one export.
#include "driver/driver_registry.h"

extern "C" __attribute__((visibility("default"))) int IT_Driver(int nRequest, void* pArgument) {
    return HandleDriverRequest(nRequest, pArgument);
}

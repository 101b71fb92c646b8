// The module's one export.
#include "driver/driver_registry.h"

#if defined(_WIN32)
#define HPGL2_EXPORT __declspec(dllexport)
#else
#define HPGL2_EXPORT __attribute__((visibility("default")))
#endif

extern "C" HPGL2_EXPORT int IT_Driver(int nRequest, void* pArgument) {
    return HandleDriverRequest(nRequest, pArgument);
}

// The module's resources on Windows: the resource script is linked into the
// module's own file, so its handle is the module itself.
#include "ui/module_resources.h"

HMODULE ModuleResourceHandle() {
    HMODULE self = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&ModuleResourceHandle), &self);
    return self;
}

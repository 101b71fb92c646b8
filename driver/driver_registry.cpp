#include "driver/driver_registry.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "driver/driver_list_text.h"
#include "driver/hpgl2_driver.h"
#include "pxrdriver/app_paths.h"
#include "pxrdriver/driver_list.h"
#include "pxrdriver/driver_listing.h"

namespace {

// Plotters whose configuration name starts with these capitals get their own class.
bool IsOceName(const char* name) {
    return std::strncmp(name, "OCE", 3) == 0;
}

HPGL2Driver* CreateDriver(const std::string& iniPath, const char* name) {
    try {
        if (IsOceName(name)) return new COceDriver(nullptr, iniPath.c_str(), name);
        return new HPGL2Driver(nullptr, iniPath.c_str(), name);
    } catch (...) {
        return nullptr;  // a driver that cannot be made is skipped
    }
}

int LoadDrivers(HT_DriverList* list) {
    if (!list) return 0;
    const std::string iniPath = std::string(KestGetAppFullPath()) + "\\hpgl2.ini";
    const int size = HT_ListCloseDriver(nullptr, 0, iniPath.c_str());
    if (size <= 0) return 1;
    std::vector<char> buffer;
    try {
        buffer.assign(static_cast<size_t>(size), '\0');
    } catch (const std::bad_alloc&) {
        return 1;
    }
    HT_ListCloseDriver(buffer.data(), size, iniPath.c_str());
    for (const std::string& name : ListedDriverNames(buffer.data(), buffer.size()))
        if (HPGL2Driver* driver = CreateDriver(iniPath, name.c_str())) list->AddDriver(driver);
    return 1;
}

int UnloadDriver(HT_UnloadRequest* request) {
    if (!request) return 0;
    HT_Driver* driver = request->pDriver;
    delete driver;
    if (request->pList) request->pList->RemoveDriver(driver);
    return 1;
}

}  // namespace

int HandleDriverRequest(int nRequest, void* pArgument) {
    try {
        switch (nRequest) {
            case IT_REQ_LOAD_DRIVERS: return LoadDrivers(static_cast<HT_DriverList*>(pArgument));
            case IT_REQ_UNLOAD_DRIVER:
                return UnloadDriver(static_cast<HT_UnloadRequest*>(pArgument));
            default: return 1;
        }
    } catch (...) {
        return 0;
    }
}

// Arbitrary settings records handed to a driver the way a host hands them,
// then a whole job framed with them: no overflow, no read outside a field.
#include <cstring>
#include <string>
#include <windows.h>

#include "driver/hpgl2_driver.h"
#include "support/null_channel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HPGL2Driver* driver = new HPGL2Driver(nullptr, "/nonexistent/hpgl2.ini", "P");
    HGLOBAL handle = GlobalAlloc(GHND, size ? size : 1);
    std::memcpy(GlobalLock(handle), data, size);
    GlobalUnlock(handle);
    HPGL2DevMode saved = driver->m_devmode;
    driver->SetDevMode(handle);
    GlobalFree(handle);
    // USEFILE= would read files of the machine; keep the fuzzer inside its input.
    if (std::strncmp(driver->m_devmode.szControlCode, "USEFILE=", 8) == 0)
        driver->m_devmode.szControlCode[0] = 'X';

    HostContext host{};
    host.pDriver = driver;
    host.pszPortName = "LPT1:";
    if (driver->Attach(&host)) {
        for (int index = 0; index <= 180; ++index) host.pCallbacks->GetDeviceCaps(&host, index);
        NullChannel channel;
        DOCINFOA info{sizeof info, "doc", "out.plt", nullptr, 0};
        if (host.pCallbacks->StartDocument(&host, &info, &channel)) {
            POINT line[] = {{0, 0}, {100, 100}, {-5, 7}};
            if (host.pCallbacks->OnPolyline) host.pCallbacks->OnPolyline(&host, line, 3);
            if (host.pCallbacks->OnPolygon) host.pCallbacks->OnPolygon(&host, line, 3);
            host.pCallbacks->EndDocument(&host);
        }
        driver->Detach(&host);
    }
    driver->m_devmode = saved;
    return 0;
}

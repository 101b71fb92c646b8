#include "host/driver_settings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

std::optional<DriverSettings> FetchSettings(HT_Driver* driver) {
    HGLOBAL defaults = driver->GetDefaultDevMode();
    if (!defaults) return std::nullopt;
    const SIZE_T size = GlobalSize(defaults);
    if (size < sizeof(DEVMODEA)) return std::nullopt;
    HGLOBAL handle = GlobalAlloc(GHND, size);
    if (!handle) return std::nullopt;
    std::optional<DriverSettings> settings;
    // The driver checks the handle's private size, so the host starts from
    // the driver's own defaults.
    void* target = GlobalLock(handle);
    const void* source = GlobalLock(defaults);
    if (target && source) std::memcpy(target, source, size);
    if (source) GlobalUnlock(defaults);
    if (target) GlobalUnlock(handle);
    if (target && source && driver->GetDevMode(handle)) {
        DriverSettings copy;
        copy.bytes.resize(size);
        std::memcpy(copy.bytes.data(), GlobalLock(handle), size);
        GlobalUnlock(handle);
        settings = std::move(copy);
    }
    GlobalFree(handle);
    return settings;
}

bool StoreSettings(HT_Driver* driver, const DriverSettings& settings) {
    if (settings.bytes.size() < sizeof(DEVMODEA)) return false;
    HGLOBAL handle = GlobalAlloc(GHND, settings.bytes.size());
    if (!handle) return false;
    void* target = GlobalLock(handle);
    if (target) {
        std::memcpy(target, settings.bytes.data(), settings.bytes.size());
        GlobalUnlock(handle);
    }
    const bool ok = target && driver->SetDevMode(handle);
    GlobalFree(handle);
    return ok;
}

std::vector<PaperSize> FetchPapers(HT_Driver* driver) {
    const int count = driver->DeviceCapabilities(HT_DC_PAPERRECORDS, nullptr, nullptr);
    if (count <= 0 || count > (1 << 16)) return {};
    std::vector<PaperSize> papers(static_cast<size_t>(count));
    const int filled = driver->DeviceCapabilities(HT_DC_PAPERRECORDS,
                                                  reinterpret_cast<char*>(papers.data()), nullptr);
    papers.resize(static_cast<size_t>(std::clamp(filled, 0, count)));
    return papers;
}

std::string DriverClassName(HT_Driver* driver) {
    const char* mangled = typeid(*driver).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && name ? name.get() : mangled;
}

int PrintQuality(const DEVMODEA& dm) {
    return dm.dmPrintQuality < 1 ? 300 : dm.dmPrintQuality;
}

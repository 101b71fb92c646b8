// What a host learns of a driver through its virtual operations. Like any
// host it knows the public DEVMODEA head of the settings record and keeps the
// driver's private part as opaque bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>
#include <windows.h>

#include "pxrdriver/ht_driver.h"
#include "pxrdriver/paper.h"

// A driver's whole settings record as the host holds it: a DEVMODEA followed
// by dmDriverExtra bytes that only the driver reads.
struct DriverSettings {
    std::vector<BYTE> bytes;
    DEVMODEA& Public() { return *reinterpret_cast<DEVMODEA*>(bytes.data()); }
    const DEVMODEA& Public() const { return *reinterpret_cast<const DEVMODEA*>(bytes.data()); }
};

// The driver's settings record, fetched as a DEVMODE handle the way a host
// keeps it; nullopt when the driver does not hand it out.
std::optional<DriverSettings> FetchSettings(HT_Driver* driver);

// Hands a settings record to the driver as a DEVMODE handle, the way a host
// applies settings it changed; false when the driver refuses it.
bool StoreSettings(HT_Driver* driver, const DriverSettings& settings);

// The driver's paper list through its device capabilities.
std::vector<PaperSize> FetchPapers(HT_Driver* driver);

// The class of the driver object, as C++ names it ("HPGL2Driver").
std::string DriverClassName(HT_Driver* driver);

// The resolution the public settings ask for; drivers read 0 as 300 dpi.
int PrintQuality(const DEVMODEA& dm);

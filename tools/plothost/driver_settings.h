// What a host learns of a driver through its virtual operations.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "driver/hpgl2_devmode.h"
#include "pxrdriver/ht_driver.h"
#include "pxrdriver/paper.h"

// The driver's settings record, fetched as a DEVMODE handle the way a host
// keeps it; nullopt when the driver does not hand it out.
std::optional<HPGL2DevMode> FetchSettings(HT_Driver* driver);

// Hands a settings record to the driver as a DEVMODE handle, the way a host
// applies settings it changed; false when the driver refuses it.
bool StoreSettings(HT_Driver* driver, const HPGL2DevMode& record);

// The driver's paper list through its device capabilities.
std::vector<PaperSize> FetchPapers(HT_Driver* driver);

// The class of the driver object, as C++ names it ("HPGL2Driver").
std::string DriverClassName(HT_Driver* driver);

const char* TransactionModeName(int mode);
const char* ColorModeName(int mode);

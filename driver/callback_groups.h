// The callback groups of each subsystem, installed by the table filler.
#pragma once

#include "pxrdriver/driver_callbacks.h"

// Job stream entries, installed in every mode.
void InstallJobCallbacks(DriverCallbacks* pTable);
// Vector drawing entries (every mode but "Transaction in computer").
void InstallVectorCallbacks(DriverCallbacks* pTable);
// Bitmap entries (+180, +184), installed with the vector entries.
void InstallImageCallbacks(DriverCallbacks* pTable);
// The page entry (+144) of "Transaction in computer".
void InstallWholePageCallbacks(DriverCallbacks* pTable);
// The metafile region entry (+160), installed with the vector entries.
void InstallRegionCallbacks(DriverCallbacks* pTable);

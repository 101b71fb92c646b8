// The settings records the host keeps per user, one per plotter, as a host
// keeps a printer's DEVMODE: in "plothost-settings.ini" of the data folder,
// written whole to a temporary file and renamed, and handed back to each
// driver with SetDevMode on every later run.
#pragma once

#include <map>
#include <string>
#include <vector>
#include <windows.h>

class LoadedModule;
class HT_Driver;

// Plotter display name -> the whole settings record.
using StoredSettings = std::map<std::string, std::vector<BYTE>>;

std::string SettingsStorePath(const std::string& dataDir);

// One section a plotter, key "DevMode" with two hex digits a byte. Lines
// that are not such are reported to problems and skipped.
StoredSettings ParseStoredSettings(const std::string& text, std::vector<std::string>* problems);
std::string FormatStoredSettings(const StoredSettings& settings);

// A missing file is an empty store; problems are reported on stderr.
StoredSettings LoadStoredSettings(const std::string& path);
// Writes the whole store to path + ".tmp" and renames it over path.
bool SaveStoredSettings(const std::string& path, const StoredSettings& settings);

// Gives every driver its stored record; a record the driver refuses (another
// version of it) is reported and left out.
void ApplyStoredSettings(LoadedModule& module, const std::string& dataDir);
// Keeps the driver's current record in the store.
bool RememberSettings(HT_Driver* driver, const std::string& dataDir, std::string* error);

#include "host/settings_store.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "host/driver_settings.h"
#include "host/loaded_module.h"

namespace {

// A record is a few kilobytes; anything far larger is no record of ours.
constexpr size_t kMaxRecordBytes = 1 << 16;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Trim(const std::string& s) {
    size_t first = 0, last = s.size();
    while (first < last && (s[first] == ' ' || s[first] == '\t' || s[first] == '\r')) ++first;
    while (last > first && (s[last - 1] == ' ' || s[last - 1] == '\t' || s[last - 1] == '\r'))
        --last;
    return s.substr(first, last - first);
}

}  // namespace

std::string SettingsStorePath(const std::string& dataDir) {
    return dataDir + "/plothost-settings.ini";
}

StoredSettings ParseStoredSettings(const std::string& text, std::vector<std::string>* problems) {
    StoredSettings settings;
    std::istringstream in(text);
    std::string line, section;
    int number = 0;
    const auto report = [&](const std::string& what) {
        if (problems)
            problems->push_back(std::string("line ") += std::to_string(number) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) {
                report("a malformed section name");
                section.clear();
                continue;
            }
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find('=');
        if (section.empty() || equals == std::string::npos ||
            Trim(line.substr(0, equals)) != "DevMode") {
            report("not a DevMode line of a plotter section; skipped");
            continue;
        }
        const std::string hex = Trim(line.substr(equals + 1));
        if (hex.size() % 2 != 0 || hex.size() / 2 > kMaxRecordBytes ||
            hex.size() / 2 < sizeof(DEVMODEA)) {
            report("a settings record of a wrong length; skipped");
            continue;
        }
        std::vector<BYTE> bytes;
        bytes.reserve(hex.size() / 2);
        bool good = true;
        for (size_t i = 0; i < hex.size() && good; i += 2) {
            const int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
            good = hi >= 0 && lo >= 0;
            bytes.push_back(static_cast<BYTE>(hi * 16 + lo));
        }
        if (!good) {
            report("a settings record that is not hexadecimal; skipped");
            continue;
        }
        settings[section] = std::move(bytes);
    }
    return settings;
}

std::string FormatStoredSettings(const StoredSettings& settings) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out =
        "; Settings of the plotters, kept by plothost for this user: the whole\n"
        "; settings record of each plotter, two hexadecimal digits a byte.\n";
    for (const auto& [name, bytes] : settings) {
        out += "[" + name + "]\nDevMode=";
        for (BYTE b : bytes) {
            out += kDigits[b >> 4];
            out += kDigits[b & 15];
        }
        out += "\n";
    }
    return out;
}

StoredSettings LoadStoredSettings(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> problems;
    StoredSettings settings = ParseStoredSettings(text.str(), &problems);
    for (const auto& p : problems)
        std::fprintf(stderr, "plothost: %s: %s\n", path.c_str(), p.c_str());
    return settings;
}

bool SaveStoredSettings(const std::string& path, const StoredSettings& settings) {
    const std::string temporary = path + ".tmp";
    const std::string text = FormatStoredSettings(settings);
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

void ApplyStoredSettings(LoadedModule& module, const std::string& dataDir) {
    const std::string path = SettingsStorePath(dataDir);
    const StoredSettings stored = LoadStoredSettings(path);
    HostDriverList& list = module.Drivers();
    for (int i = 0; i < list.GetCount(); ++i) {
        HT_Driver* driver = list.At(i);
        const auto it = stored.find(driver->GetName());
        if (it == stored.end()) continue;
        if (!StoreSettings(driver, DriverSettings{it->second}))
            std::fprintf(stderr,
                         "plothost: %s: the driver refuses the stored settings of \"%s\"; its "
                         "configured settings stand\n",
                         path.c_str(), driver->GetName());
    }
}

bool RememberSettings(HT_Driver* driver, const std::string& dataDir, std::string* error) {
    const auto settings = FetchSettings(driver);
    if (!settings) {
        *error = "the driver does not hand out its settings";
        return false;
    }
    const std::string path = SettingsStorePath(dataDir);
    StoredSettings stored = LoadStoredSettings(path);
    stored[driver->GetName()] = settings->bytes;
    if (!SaveStoredSettings(path, stored)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

// The dialog commands on Windows. "configure" shows the driver's settings
// dialog as the system's window, as a CAD host's page set-up does, and keeps
// what the user accepted. "settings" and "papers add|change|delete" drive
// the dialogs by script through the Linux dialog emulation, which the
// Windows build does not have: they say so rather than act half.
#include <windows.h>

#include <cstdio>
#include <string>

#include "commands/commands.h"
#include "host/driver_settings.h"
#include "host/loaded_module.h"
#include "host/settings_store.h"
#include "pxrdriver/app_paths.h"

namespace {

int ScriptedDialogsMissing(const char* command) {
    std::fprintf(stderr,
                 "plothost: '%s' drives the driver's dialogs by script, which only the Linux "
                 "build of plothost can; on Windows 'plothost configure' shows them\n",
                 command);
    return 1;
}

}  // namespace

int RunConfigureCommand(LoadedModule& module, const HostOptions& options) {
    std::string driverName = "1";
    const auto& args = options.arguments;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--driver" && i + 1 < args.size()) {
            driverName = args[++i];
        } else {
            std::fprintf(stderr, "plothost: unexpected argument %s\n", args[i].c_str());
            return 2;
        }
    }
    HT_Driver* driver = module.Find(driverName);
    if (!driver) {
        std::fprintf(stderr, "plothost: no plotter %s (see 'plothost drivers')\n",
                     driverName.c_str());
        return 1;
    }
    const auto before = FetchSettings(driver);
    driver->Configure(GetDesktopWindow());
    const auto after = FetchSettings(driver);
    if (before && after && before->bytes == after->bytes) return 0;
    std::string error;
    if (RememberSettings(driver, KestGetAppDataPath(), &error)) return 0;
    std::fprintf(stderr, "plothost: the settings are not kept: %s\n", error.c_str());
    return 1;
}

int RunSettingsCommand(LoadedModule&, const HostOptions&) {
    return ScriptedDialogsMissing("settings");
}

bool IsPaperEditCommand(const HostOptions& options) {
    return !options.arguments.empty() &&
           (options.arguments[0] == "add" || options.arguments[0] == "change" ||
            options.arguments[0] == "delete");
}

int RunPaperEditCommand(LoadedModule&, const HostOptions& options) {
    return ScriptedDialogsMissing(("papers " + options.arguments[0]).c_str());
}

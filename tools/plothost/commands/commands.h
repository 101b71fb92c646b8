// The commands of the reference host.
#pragma once

#include <string>
#include <vector>

class LoadedModule;

struct HostOptions {
    std::string modulePath;
    std::vector<std::string> hostArguments;  // the options before the command, as given
    std::vector<std::string> arguments;      // after the command name
};

int RunDriversCommand(LoadedModule& module, const HostOptions& options);
int RunCapsCommand(LoadedModule& module, const HostOptions& options);
int RunPlotCommand(LoadedModule& module, const HostOptions& options);
int RunPapersCommand(LoadedModule& module, const HostOptions& options);
int RunConfigureCommand(LoadedModule& module, const HostOptions& options);
int RunSettingsCommand(LoadedModule& module, const HostOptions& options);
// "papers add|change|delete": true when the arguments name one of them.
bool IsPaperEditCommand(const HostOptions& options);
int RunPaperEditCommand(LoadedModule& module, const HostOptions& options);

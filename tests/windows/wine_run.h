// Runs the Windows build's plothost.exe under wine64 beside the Linux
// plothost, on the same configuration, and keeps what each printed. Wine's
// server inherits the standard streams of the first program it serves, so
// output always goes to files, never to a pipe.
#pragma once

#include <string>

#include "support/test_files.h"

struct HostRun {
    int status = -1;
    std::string out;     // standard output, line ends as on Linux
    std::string errors;  // standard error, line ends as on Linux
};

enum class Host { Linux, Windows };

// plothost (Linux) or plothost.exe under Wine with --app-dir appDir and
// --data-dir dir/data-<host>, run in dir; arguments are shell words without
// quoting needs (paths are Unix paths: Wine's drive Z: is the root).
// environment goes before the command ("LC_ALL=ja_JP.UTF-8").
HostRun RunHost(Host host, const ScratchDir& dir, const std::string& appDir,
                const std::string& arguments, const std::string& environment = "");

// The Windows build's folder of products, and the Wine prefix the runs use.
std::string WindowsBinDir();
std::string WinePrefix();
// What every Wine run is started with: the prefix, no debug channels, no
// offer to install Mono or Gecko into a new prefix (ends with a blank).
std::string WineEnvironment();
// Stops the prefix's Wine server (and every program still running in it).
void StopWineServer();

// Runs the built plothost with the repository's configuration and a scratch
// data folder, and keeps what it printed.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "support/test_files.h"

struct PlothostRun {
    int status = -1;
    std::string out;     // standard output
    std::string errors;  // standard error
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// arguments are shell words without quoting needs; environment, when given,
// is what env takes before the command ("-u DISPLAY LC_ALL=C.UTF-8").
inline PlothostRun RunPlothostIn(const ScratchDir& dir, const std::string& arguments,
                                 const std::string& environment = "") {
    const std::string command = std::string("cd ") + dir.path() + " && " +
                                (environment.empty() ? "" : "env " + environment + " ") +
                                HPGL2_PLOTHOST_PATH + " --app-dir " + HPGL2_SOURCE_DIR +
                                "/config --data-dir " + dir.path() + "/data " + arguments + " > " +
                                dir.path() + "/stdout.txt 2> " + dir.path() + "/stderr.txt";
    PlothostRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadWhole(dir.path() + "/stdout.txt");
    run.errors = ReadWhole(dir.path() + "/stderr.txt");
    return run;
}

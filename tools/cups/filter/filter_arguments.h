// The command line CUPS gives every filter: job id, user, title, copies,
// options and, for the first filter of a job, the file to read.
#pragma once

#include <string>

struct FilterArguments {
    std::string job;
    std::string user;
    std::string title;
    int copies = 1;
    std::string options;  // "name=value name2 ..." as cupsParseOptions reads them
    std::string file;     // empty: standard input
};

// False with a usage message for a command line of another form or a
// copies count that is not a positive number.
bool ParseFilterArguments(int argc, const char* const* argv, FilterArguments* out,
                          std::string* error);

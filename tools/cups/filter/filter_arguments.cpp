#include "filter/filter_arguments.h"

#include <cerrno>
#include <cstdlib>

bool ParseFilterArguments(int argc, const char* const* argv, FilterArguments* out,
                          std::string* error) {
    const std::string name = argc > 0 ? argv[0] : "filter";
    if (argc != 6 && argc != 7) {
        *error = "Usage: " + name + " job-id user title copies options [file]";
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long copies = std::strtol(argv[4], &end, 10);
    if (errno || end == argv[4] || *end || copies < 1 || copies > 9999) {
        *error = std::string("the copies count \"") + argv[4] + "\" is not a number from 1 to 9999";
        return false;
    }
    *out = FilterArguments{
        argv[1], argv[2], argv[3], static_cast<int>(copies), argv[5], argc == 7 ? argv[6] : ""};
    return true;
}

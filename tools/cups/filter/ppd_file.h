// What the filters read of their queue's PPD: each option's choices and
// default, and the plotter's configuration name.
#pragma once

#include <map>
#include <string>
#include <vector>

struct PpdFile {
    std::map<std::string, std::vector<std::string>> choices;  // option -> choice names
    std::map<std::string, std::string> defaults;              // option -> default choice
    std::map<std::string, std::string> attributes;            // "*name: \"value\"" lines

    // The choice of option that is named like value (letter case ignored);
    // empty when none is.
    std::string Choice(const std::string& option, const std::string& value) const;
};

// False with a message when the file cannot be read or holds no option.
bool ReadPpd(const std::string& path, PpdFile* out, std::string* error);
// The same from the text of a PPD.
bool ParsePpd(const std::string& text, PpdFile* out, std::string* error);

#include "commands/command_line.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::string ShellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("-_./:=@%+,", c);
    });
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string PlothostCommandLine(const HostOptions& options,
                                const std::vector<std::string>& arguments) {
    std::string line = "plothost";
    for (const std::string& word : options.hostArguments) line += " " + ShellWord(word);
    for (const std::string& word : arguments) line += " " + ShellWord(word);
    return line;
}

// The options a program's help and its manual page name, so that a test can
// hold the two to the same list.
#pragma once

#include <set>
#include <string>
#include <string_view>

struct NamedOptions {
    // Options that have an entry of their own: a help line that begins
    // "  -o, --output FILE", a manual page paragraph tagged ".BI \-\-dpi N".
    std::set<std::string> entries;
    // Every option the text names anywhere (synopsis, commands, prose).
    std::set<std::string> mentioned;
};

// Every word of the text that is an option: "-" or "--" then a letter, at
// the start of a word ("--dpi", "-o"; not "run-length" or "0-4").
std::set<std::string> OptionsNamed(std::string_view text);

NamedOptions OptionsOfHelp(std::string_view help);
// Of a roff manual page in docs/man, such as "plothost" for plothost.1.
NamedOptions OptionsOfManualPage(const std::string& program);

// "a, b" for a test's message.
std::string JoinedOptions(const std::set<std::string>& options);

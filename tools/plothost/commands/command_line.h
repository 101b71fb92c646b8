// Commands plothost suggests to its user, written so that they work when
// pasted into a POSIX shell.
#pragma once

#include <string>
#include <vector>

#include "commands/commands.h"

// The word quoted for the shell when it holds anything but letters, digits
// and - _ . / : = @ % + , (plotter names hold blanks and parentheses).
std::string ShellWord(const std::string& word);

// "plothost", the options this run was given before its command (so that
// the suggestion reaches the same plotters), then the arguments.
std::string PlothostCommandLine(const HostOptions& options,
                                const std::vector<std::string>& arguments);

// Choosing a paper of a driver's list by what a user types: its number, its
// name in any letter case, or words of its name that only it has ("a0" for
// "ISO A0").
#pragma once

#include <string>
#include <vector>

#include "pxrdriver/paper.h"

// The paper that `wanted` names; null with a message that lists the close
// names (or the ambiguous ones) when none or several do.
const PaperSize* FindPaper(const std::vector<PaperSize>& papers, const std::string& wanted,
                           std::string* error);

// The names of the list closest to `wanted` in spelling, closest first, at
// most `limit`; none when nothing is near.
std::vector<std::string> CloseNames(const std::vector<PaperSize>& papers, const std::string& wanted,
                                    size_t limit = 5);

// A paper's name as a string (the record's 64 bytes need not end in a NUL).
std::string PaperText(const PaperSize& paper);

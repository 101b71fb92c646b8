#include "filter/cups_messages.h"

#include <cstdio>

namespace {

// One line each, whatever the message holds: a new line would start a line
// CUPS reads as a message of its own.
void Line(const char* prefix, const std::string& message) {
    std::string text = message;
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s %s\n", prefix, text.c_str());
    std::fflush(stderr);
}

}  // namespace

void TellError(const std::string& message) {
    Line("ERROR:", message);
}

void TellInfo(const std::string& message) {
    Line("INFO:", message);
}

void TellPage(int page, int copies) {
    Line("PAGE:", std::to_string(page) + " " + std::to_string(copies));
}

void TellAttribute(const std::string& name, const std::string& value) {
    Line("ATTR:", name + "=" + value);
}

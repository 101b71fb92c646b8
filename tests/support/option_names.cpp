#include "support/option_names.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

bool IsWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

std::string_view NextLine(std::string_view text, size_t* pos) {
    const size_t end = std::min(text.find('\n', *pos), text.size());
    const std::string_view line = text.substr(*pos, end - *pos);
    *pos = end + 1;
    return line;
}

// A roff line as a reader sees it: the request's name, font changes and
// escapes removed ("\fB\-\-dpi\fR" reads "--dpi").
std::string RoffLineText(std::string_view line) {
    if (line.starts_with(".\\\"")) return "";
    size_t i = 0;
    if (line.starts_with('.')) i = std::min(line.find(' '), line.size());
    std::string text;
    for (; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 >= line.size()) {
            if (line[i] != '"') text += line[i];
            continue;
        }
        const char escape = line[++i];
        if (escape == '-') {
            text += '-';
        } else if (escape == 'e') {
            text += '\\';
        } else if (escape == 'f') {
            ++i;  // the font: B, I, R or P
        } else if (escape == '(') {
            if (line.substr(i + 1, 2) == "dq") text += '"';
            i += 2;
        }
        // Anything else (\&, \|, \~) stands for no option character.
    }
    return text;
}

}  // namespace

std::set<std::string> OptionsNamed(std::string_view text) {
    std::set<std::string> options;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-' || (i > 0 && IsWordCharacter(text[i - 1]))) continue;
        size_t letter = i + 1;
        if (letter < text.size() && text[letter] == '-') ++letter;
        if (letter >= text.size() || !std::isalpha(static_cast<unsigned char>(text[letter])))
            continue;
        size_t end = letter;
        while (end < text.size() && IsWordCharacter(text[end])) ++end;
        options.emplace(text.substr(i, end - i));
        i = end;
    }
    return options;
}

NamedOptions OptionsOfHelp(std::string_view help) {
    NamedOptions named{{}, OptionsNamed(help)};
    for (size_t pos = 0; pos < help.size();) {
        const std::string_view line = NextLine(help, &pos);
        // An entry's term ends where two spaces part it from its description.
        if (!line.starts_with("  -")) continue;
        const std::set<std::string> term = OptionsNamed(line.substr(0, line.find("  ", 2)));
        named.entries.insert(term.begin(), term.end());
    }
    return named;
}

NamedOptions OptionsOfManualPage(const std::string& program) {
    std::ifstream in(std::string(HPGL2_SOURCE_DIR) + "/docs/man/" + program + ".1");
    std::ostringstream read;
    read << in.rdbuf();
    const std::string roff = read.str();
    NamedOptions named;
    bool tag = false;  // the line after ".TP" is the paragraph's tag
    for (size_t pos = 0; pos < roff.size();) {
        const std::string_view line = NextLine(roff, &pos);
        const std::set<std::string> options = OptionsNamed(RoffLineText(line));
        named.mentioned.insert(options.begin(), options.end());
        if (tag) named.entries.insert(options.begin(), options.end());
        tag = line == ".TP";
    }
    return named;
}

std::string JoinedOptions(const std::set<std::string>& options) {
    std::string joined;
    for (const std::string& option : options) joined += (joined.empty() ? "" : ", ") + option;
    return joined;
}

#include "filter/ppd_file.h"

#include <fstream>
#include <sstream>
#include <strings.h>

namespace {

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    const size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::string Unquoted(const std::string& s) {
    return s.size() >= 2 && s.front() == '"' && s.back() == '"' ? s.substr(1, s.size() - 2) : s;
}

}  // namespace

std::string PpdFile::Choice(const std::string& option, const std::string& value) const {
    const auto found = choices.find(option);
    if (found == choices.end()) return "";
    for (const std::string& c : found->second)
        if (strcasecmp(c.c_str(), value.c_str()) == 0) return c;
    return "";
}

bool ParsePpd(const std::string& text, PpdFile* out, std::string* error) {
    *out = PpdFile{};
    std::istringstream lines(text);
    std::string line, open;
    while (std::getline(lines, line)) {
        if (line.rfind("*%", 0) == 0 || line.empty() || line[0] != '*') continue;
        const size_t colon = line.find(':');
        const std::string head =
            line.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
        const std::string value = colon == std::string::npos ? "" : Trim(line.substr(colon + 1));
        if (head.rfind("OpenUI *", 0) == 0) {
            open = head.substr(8, head.find('/') - 8);
            out->choices[open];
        } else if (head.rfind("CloseUI", 0) == 0) {
            open.clear();
        } else if (head.rfind("Default", 0) == 0 && head.find(' ') == std::string::npos) {
            out->defaults[head.substr(7)] = value;
        } else if (!open.empty() && head.rfind(open + " ", 0) == 0) {
            const std::string choice = head.substr(open.size() + 1);
            out->choices[open].push_back(choice.substr(0, choice.find('/')));
        } else if (head.find(' ') == std::string::npos) {
            out->attributes[head] = Unquoted(value);
        }
    }
    if (out->choices.empty()) {
        *error = "it holds no options";
        return false;
    }
    return true;
}

bool ReadPpd(const std::string& path, PpdFile* out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        *error = "cannot read the PPD " + path;
        return false;
    }
    if (!ParsePpd(text.str(), out, error)) {
        *error = "the PPD " + path + ": " + *error;
        return false;
    }
    return true;
}

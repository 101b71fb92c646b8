#include "output/socket_address.h"

#include <cctype>

namespace {

constexpr char kScheme[] = "socket://";
constexpr size_t kSchemeLength = sizeof kScheme - 1;

bool HostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

std::string Quoted(char c) {
    return std::string{'\'', c, '\''};
}

}  // namespace

std::string SocketAddress::ToString() const {
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool IsSocketUri(const std::string& text) {
    if (text.size() < kSchemeLength) return false;
    for (size_t i = 0; i < kSchemeLength; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kScheme[i]) return false;
    return true;
}

bool ParseSocketAddress(const std::string& text, SocketAddress* address, std::string* error) {
    const auto fail = [&](const std::string& why) {
        *error = "malformed plotter address \"" + text + "\": " + why +
                 " (expected socket://HOST[:PORT])";
        return false;
    };
    if (!IsSocketUri(text)) return fail("it does not start with socket://");
    std::string rest = text.substr(kSchemeLength);
    // One slash at the end is how addresses are often copied.
    if (!rest.empty() && rest.back() == '/') rest.pop_back();
    SocketAddress parsed;
    std::string port;
    if (!rest.empty() && rest[0] == '[') {
        const size_t close = rest.find(']');
        if (close == std::string::npos) return fail("no ']' after the IPv6 address");
        parsed.host = rest.substr(1, close - 1);
        if (parsed.host.empty()) return fail("no host");
        for (char c : parsed.host)
            if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.')
                return fail(Quoted(c) + " in an IPv6 address");
        rest.erase(0, close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return fail("text after the IPv6 address");
            port = rest.substr(1);
            if (port.empty()) return fail("no port after ':'");
        }
    } else {
        const size_t colon = rest.find(':');
        parsed.host = rest.substr(0, colon);
        if (colon != std::string::npos) {
            port = rest.substr(colon + 1);
            if (port.empty()) return fail("no port after ':'");
        }
        if (parsed.host.empty()) return fail("no host");
        for (char c : parsed.host)
            if (!HostCharacter(c)) return fail(Quoted(c) + " in the host name");
    }
    if (!port.empty()) {
        long value = 0;
        for (char c : port) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return fail("the port \"" + port + "\" is not a number");
            value = value * 10 + (c - '0');
            if (value > 65535) break;
        }
        if (value < 1 || value > 65535) {
            *error = "the port " + port + " of \"" + text + "\" lies outside 1 to 65535";
            return false;
        }
        parsed.port = static_cast<int>(value);
    }
    *address = parsed;
    return true;
}

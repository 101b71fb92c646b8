// The address of a network plotter as the user writes it:
// "socket://HOST[:PORT]", the raw TCP port of AppSocket/JetDirect, 9100
// unless a port is given. HOST is a name, an IPv4 address or an IPv6
// address in brackets ("socket://[::1]:9101").
#pragma once

#include <string>

constexpr int kDefaultSocketPort = 9100;

struct SocketAddress {
    std::string host;  // without the brackets of an IPv6 address
    int port = kDefaultSocketPort;

    // "HOST:PORT", with brackets around an IPv6 address.
    std::string ToString() const;
};

// True when text starts with the scheme "socket://" (any letter case).
bool IsSocketUri(const std::string& text);

// False with a message for an address that is malformed or whose port lies
// outside 1 to 65535.
bool ParseSocketAddress(const std::string& text, SocketAddress* address, std::string* error);

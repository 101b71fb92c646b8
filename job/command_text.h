// A plotter command built in a fixed buffer. Numbers are formatted with
// std::to_chars, so the bytes never depend on the C locale (a decimal point
// is always "."), and nothing is allocated.
#pragma once

#include <charconv>
#include <cstring>
#include <string_view>

class CommandText {
public:
    static constexpr int kCapacity = 96;

    CommandText& Text(std::string_view text) {
        const size_t n = text.size() < Room() ? text.size() : Room();
        std::memcpy(m_buffer + m_length, text.data(), n);
        m_length += static_cast<int>(n);
        return *this;
    }
    // "%d"
    CommandText& Int(long long value) {
        auto result = std::to_chars(m_buffer + m_length, m_buffer + kCapacity, value);
        if (result.ec == std::errc()) m_length = static_cast<int>(result.ptr - m_buffer);
        return *this;
    }
    // "%.Nf"
    CommandText& Fixed(double value, int decimals) {
        auto result = std::to_chars(m_buffer + m_length, m_buffer + kCapacity, value,
                                    std::chars_format::fixed, decimals);
        if (result.ec == std::errc()) m_length = static_cast<int>(result.ptr - m_buffer);
        return *this;
    }
    const char* data() const { return m_buffer; }
    int size() const { return m_length; }
    std::string_view view() const { return {m_buffer, static_cast<size_t>(m_length)}; }

private:
    size_t Room() const { return static_cast<size_t>(kCapacity - m_length); }
    char m_buffer[kCapacity];
    int m_length = 0;
};

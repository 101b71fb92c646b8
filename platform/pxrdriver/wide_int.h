// Exact signed integers of 128 bits for the products of 64-bit coordinates
// (cross products, twice an area): the compiler's __int128 where it has one
// (64-bit targets), else PortableInt128, two 64-bit words (32-bit Windows,
// the architecture of the hosts). Arithmetic wraps modulo 2^128 as
// __int128's does; the callers stay far from that.
#pragma once

#include <cstdint>

class PortableInt128 {
public:
    constexpr PortableInt128(std::int64_t value = 0)  // NOLINT: converts as an integer does
        : m_low(static_cast<std::uint64_t>(value)), m_high(value < 0 ? -1 : 0) {}

    friend constexpr PortableInt128 operator+(PortableInt128 a, PortableInt128 b) {
        PortableInt128 r;
        r.m_low = a.m_low + b.m_low;
        r.m_high = static_cast<std::int64_t>(static_cast<std::uint64_t>(a.m_high) +
                                             static_cast<std::uint64_t>(b.m_high) +
                                             (r.m_low < a.m_low ? 1u : 0u));
        return r;
    }
    friend constexpr PortableInt128 operator-(PortableInt128 a) {
        PortableInt128 r;
        r.m_low = ~a.m_low + 1;
        r.m_high = static_cast<std::int64_t>(~static_cast<std::uint64_t>(a.m_high) +
                                             (r.m_low == 0 ? 1u : 0u));
        return r;
    }
    friend constexpr PortableInt128 operator-(PortableInt128 a, PortableInt128 b) { return a + -b; }
    friend constexpr PortableInt128 operator*(PortableInt128 a, PortableInt128 b) {
        PortableInt128 r;
        r.m_low = a.m_low * b.m_low;
        r.m_high = static_cast<std::int64_t>(HighOfProduct(a.m_low, b.m_low) +
                                             static_cast<std::uint64_t>(a.m_high) * b.m_low +
                                             a.m_low * static_cast<std::uint64_t>(b.m_high));
        return r;
    }
    PortableInt128& operator+=(PortableInt128 b) { return *this = *this + b; }

    friend constexpr bool operator==(PortableInt128 a, PortableInt128 b) {
        return a.m_high == b.m_high && a.m_low == b.m_low;
    }
    friend constexpr bool operator<(PortableInt128 a, PortableInt128 b) {
        return a.m_high != b.m_high ? a.m_high < b.m_high : a.m_low < b.m_low;
    }
    friend constexpr bool operator>(PortableInt128 a, PortableInt128 b) { return b < a; }
    friend constexpr bool operator<=(PortableInt128 a, PortableInt128 b) { return !(b < a); }
    friend constexpr bool operator>=(PortableInt128 a, PortableInt128 b) { return !(a < b); }

    explicit constexpr operator double() const {
        if (m_high < 0) return -static_cast<double>(-*this);
        return static_cast<double>(m_high) * 18446744073709551616.0 + static_cast<double>(m_low);
    }

private:
    // The upper 64 bits of the 128-bit product of two 64-bit words.
    static constexpr std::uint64_t HighOfProduct(std::uint64_t a, std::uint64_t b) {
        const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
        const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
        const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
        const std::uint64_t middle =
            (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
        return aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
    }

    std::uint64_t m_low = 0;
    std::int64_t m_high = 0;
};

#if defined(__SIZEOF_INT128__)
using WideInt = __int128;
#else
using WideInt = PortableInt128;
#endif

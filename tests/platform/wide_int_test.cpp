// The 128-bit integers of the region algebra on 32-bit targets, checked
// against the compiler's __int128 at the edges of 64-bit operands.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/pxrdriver/wide_int.h"

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// The value of an __int128, built from 32-bit pieces that are exact in
// either type: equal to a result only when every bit agrees.
PortableInt128 FromWide(__int128 v) {
    const PortableInt128 word = PortableInt128(std::int64_t{1} << 32);
    const auto low = static_cast<std::uint64_t>(v);
    return PortableInt128(static_cast<std::int64_t>(v >> 64)) * word * word +
           PortableInt128(static_cast<std::int64_t>(low >> 32)) * word +
           PortableInt128(static_cast<std::int64_t>(low & 0xFFFFFFFFu));
}

TEST(PortableInt128, MatchesInt128) {
    const std::int64_t values[] = {0,
                                   1,
                                   -1,
                                   2,
                                   -2,
                                   0xFFFFFFFFll,
                                   -0xFFFFFFFFll,
                                   1ll << 32,
                                   (1ll << 32) + 1,
                                   kMax,
                                   kMin,
                                   kMin + 1,
                                   123456789012345ll,
                                   -987654321098765ll};
    for (std::int64_t a : values) {
        for (std::int64_t b : values) {
            const __int128 wa = a, wb = b;
            const PortableInt128 pa = a, pb = b;
            SCOPED_TRACE(std::to_string(a) + ", " + std::to_string(b));
            const struct {
                PortableInt128 portable;
                __int128 wide;
            } results[] = {{pa * pb, wa * wb},
                           {pa + pb, wa + wb},
                           {pa - pb, wa - wb},
                           {-pa * pb + pa, -wa * wb + wa}};
            for (const auto& r : results) {
                EXPECT_TRUE(r.portable == FromWide(r.wide));
                EXPECT_EQ(static_cast<double>(r.portable), static_cast<double>(r.wide));
                EXPECT_EQ(r.portable < PortableInt128(0), r.wide < 0);
                EXPECT_EQ(r.portable == PortableInt128(0), r.wide == 0);
            }
            EXPECT_EQ(pa * pb < pa * pa, wa * wb < wa * wa);
            EXPECT_EQ(pa * pb > pb * pb, wa * wb > wb * wb);
        }
    }
}

}  // namespace

// Names are cut to the name limit at a character boundary, whatever their length.
#include <gtest/gtest.h>

#include <string>

#include "data/name_limit.h"

namespace {

TEST(NameLimit, CutsAtACharacterBoundary) {
    std::string atLimit(kMaxNameBytes, 'a');
    EXPECT_FALSE(LimitNameLength(atLimit));
    EXPECT_EQ(atLimit.size(), kMaxNameBytes);

    // 100 MB, the header line that once crashed the series table.
    std::string huge(100'000'000, 'x');
    EXPECT_TRUE(LimitNameLength(huge));
    EXPECT_EQ(huge, std::string(kMaxNameBytes, 'x'));

    // A three-byte character across the limit goes whole; one ending at it stays.
    const std::string euro = "\xE2\x82\xAC";
    for (std::size_t lead : {kMaxNameBytes - 1, kMaxNameBytes - 2, kMaxNameBytes - 3}) {
        std::string name = std::string(lead, 'a') + euro + "b";
        EXPECT_TRUE(LimitNameLength(name));
        const std::size_t kept = lead + 3 <= kMaxNameBytes ? lead + 3 : lead;
        EXPECT_EQ(name, (std::string(lead, 'a') + euro).substr(0, kept)) << lead;
    }
}

}  // namespace

// The "WindowPos" text, on the build machine under the address and undefined-behaviour
// sanitizers.
#include <gtest/gtest.h>
#include <cstdint>
#include <utility>
#include "app/PlacementText.h"

namespace {
TEST(PlacementText, ScansAsTheCRuntimeDoesWithA32BitLong)
{
    const std::pair<const char*, PlacementText> cases[] = {
        {"2,3,-1,-1,-32000,-32000,-1920,8,-960,1040", {2, 3, -1, -1, -32000, -32000, -1920, 8, -960, 1040}},
        // Blanks of every kind before a number, a sign on any, and anything after the tenth.
        {" 1,\t+2,\v3,\r\n-4,\f5,6,7,8,9,10,11 and more", {1, 2, 3, -4, 5, 6, 7, 8, 9, 10}},
        {"1,2,3,4,5,6,7,8,9,0x1F", {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}},
        // A negative unsigned number wraps.
        {"-1,-3,0,0,0,0,0,0,0,0", {UINT32_MAX, UINT32_MAX - 2, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"4294967295,-4294967295,2147483647,-2147483648,000000000000000000012,0,0,0,0,0",
         {UINT32_MAX, 1, INT32_MAX, INT32_MIN, 12, 0, 0, 0, 0, 0}},
        // Too large for its field: saturated, and an unsigned one negated after that.
        {"4294967296,-99999999999,2147483648,-2147483649,99999999999999999999999,0,0,0,0,0",
         {UINT32_MAX, 1, INT32_MAX, INT32_MIN, INT32_MAX, 0, 0, 0, 0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        const std::optional<PlacementText> scanned = ScanPlacement(text);
        ASSERT_TRUE(scanned.has_value());
        EXPECT_EQ(*scanned, expected);
    }
}

TEST(PlacementText, NeedsTenNumbersEachRightAfterItsComma)
{
    for (const char* text : {"", "1,2,3,4,5,6,7,8,9", "1,2,3,4,5,6,7,8,9,", "1 ,2,3,4,5,6,7,8,9,10",
                             "1,2,3,4,5,6,7,8,9,- 10", "1,2,3,4,5,6,7,8,9,+-10", "1;2;3;4;5;6;7;8;9;10",
                             "1,2,3,4,5,6,7,8,9,\x81\x40" "10"}) // an ideographic space is no blank
        EXPECT_FALSE(ScanPlacement(text).has_value()) << text;
}

TEST(PlacementText, FormatsOnlyWhatFitsItsBuffer)
{
    const PlacementText longest{UINT32_MAX, UINT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN, 0, 0, 0, 0, 0};
    const std::optional<std::string> text = FormatPlacement(longest);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "4294967295,4294967295,-2147483648,-2147483648,-2147483648,0,0,0,0,0");
    EXPECT_EQ(text->size(), kPlacementTextSize - 1);
    EXPECT_EQ(ScanPlacement(text->c_str()), longest);

    PlacementText tooLong = longest;
    tooLong.bottom = 10;
    EXPECT_FALSE(FormatPlacement(tooLong).has_value());
    EXPECT_FALSE(FormatPlacement({0, 0, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, 0, 0}));
}
} // namespace

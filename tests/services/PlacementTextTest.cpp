// The settings file's text form, byte for byte, including hostile content.
#include "services/PlacementText.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

TEST(PlacementText, ParsesWhatTheFileHolds) {
    struct Case {
        const char* name;
        std::string text;
        WindowPlacement want;
    };
    const Case cases[] = {
        {"empty file keeps defaults", "", {38, 22, 1079, 636}},
        {"four numbers", "100 200 800 600", {100, 200, 800, 600}},
        {"two numbers", "100 200", {100, 200, 1079, 636}},
        {"separate lines and extra blanks", "  100\n200\r\n\t800   600\n", {100, 200, 800, 600}},
        {"more than four", "1 2 3 4 5 6", {1, 2, 3, 4}},
        {"negative coordinates", "-600 120 500 400", {-600, 120, 500, 400}},
        {"text stops the reading", "100 abc 800 600", {100, 22, 1079, 636}},
        {"plus sign accepted", "+5 6 7 8", {5, 6, 7, 8}},
        {"overflow keeps default from there on", "1 99999999999 3 4", {1, 22, 1079, 636}},
        {"lone sign", "- 1 2 3", {38, 22, 1079, 636}},
        {"binary", std::string("\x00\xff\x01", 3), {38, 22, 1079, 636}},
        {"int limits", "-2147483648 2147483647 0 0", {-2147483647 - 1, 2147483647, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParsePlacement(c.text), c.want);
    }
}

TEST(PlacementText, FormatsSingleSpacedWithoutLineFeed) {
    EXPECT_EQ(FormatPlacement({}), "38 22 1079 636");
    EXPECT_EQ(FormatPlacement({-8, -8, 800, 600}), "-8 -8 800 600");
}

TEST(PlacementText, HugeInputDoesNotHurt) {
    std::string huge(10 * 1024 * 1024, '7');
    EXPECT_EQ(ParsePlacement(huge), WindowPlacement{});
}

} // namespace
} // namespace vendrak

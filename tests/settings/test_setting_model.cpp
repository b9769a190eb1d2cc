#include "platform/AsciiCase.h"
#include "platform/DecimalDigits.h"
#include "res/WeaponItems.h"
#include "settings/KeyTable.h"
#include "settings/SettingValues.h"
#include "settings/WeaponTokens.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <string_view>

TEST(LeadingInt, ReadsLikeAtoiAndSaturates) {
    EXPECT_EQ(ParseLeadingInt("12abc"), 12);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt("  \t-5"), -5);
    EXPECT_EQ(ParseLeadingInt("+7"), 7);
    EXPECT_EQ(ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(ParseLeadingInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("2147483648"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999999999"), -2147483647 - 1);
}

TEST(SettingModel, ReadsTextTheWayTheSheetDoes) {
    EXPECT_EQ(ReadBooleanText("true"), 1);
    EXPECT_EQ(ReadBooleanText("false"), 0);
    for (const char* text : {"True", "FALSE", "1", "", "true ", " false", "yes"})
        EXPECT_EQ(ReadBooleanText(text), std::nullopt) << text;

    EXPECT_EQ(ParseWholeNumber(std::string_view(" -3 ")), -3);
    EXPECT_EQ(ParseWholeNumber(std::string_view("+0012")), 12);
    EXPECT_EQ(ParseWholeNumber(std::string_view("99999999999999999999")), 2147483647);
    for (const char* text : {"", " ", "-", "+", "12a", "1 2", "0x10", "--1"})
        EXPECT_EQ(ParseWholeNumber(std::string_view(text)), std::nullopt) << text;
}

TEST(SettingModel, FindsKeysIgnoringCaseOnly) {
    ASSERT_NE(FindSettingKey("nFRAGLIMIT"), nullptr);
    EXPECT_STREQ(FindSettingKey("nFRAGLIMIT")->key, "Nfraglimit");
    EXPECT_STREQ(FindSettingKey("ROCKETST")->key, "rocketsT");
    for (const char* text : {"fraglimit", "Nfraglimit ", "", "rocketsTT", "Gomcfg"})
        EXPECT_EQ(FindSettingKey(text), nullptr) << text;
}

TEST(SettingModel, ShownWeaponNamesFollowTheListOrder) {
    // A sorted list orders its items ignoring case.
    std::vector<std::string> listed(std::begin(kWeaponItems), std::end(kWeaponItems));
    std::sort(listed.begin(), listed.end(), [](const std::string& a, const std::string& b) {
        return AsciiLowered(a) < AsciiLowered(b);
    });
    ASSERT_EQ(int(listed.size()), kWeaponCount);
    for (int i = 0; i < kWeaponCount; ++i)
        EXPECT_EQ(WeaponShownName(i), listed[std::size_t(i)]);
    EXPECT_EQ(WeaponShownName(kWeaponCount), nullptr);
}

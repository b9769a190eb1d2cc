#include "platform/DecimalDigits.h"
#include "platform/dialog/DDX.h"

#include <QString>

#include <string>

#include <gtest/gtest.h>

TEST(WholeNumber, AcceptsOnlyWholeNumbers) {
    int v = 42;
    EXPECT_FALSE(ParseWholeNumber(QString(), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("  "), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("-"), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("12a"), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("1 2"), v));
    EXPECT_EQ(v, 42);
    ASSERT_TRUE(ParseWholeNumber(QStringLiteral(" -3 "), v));
    EXPECT_EQ(v, -3);
    ASSERT_TRUE(ParseWholeNumber(QStringLiteral("99999999999999999999"), v));
    EXPECT_EQ(v, 2147483647);
}

// One parser, two white-space rules: a typed number may stand between Unicode spaces, a stored
// or command-line one between ASCII spaces only.
TEST(WholeNumber, EditBoxesForgiveUnicodeSpaceTheModelOnlyAscii) {
    int v = 0;
    ASSERT_TRUE(ParseWholeNumber(QStringLiteral("\u00a0\t12\u2003"), v));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("1\u00a02"), v));
    EXPECT_EQ(ParseWholeNumber(std::string_view("\t12\r\n")), 12);
    const std::string noBreakSpace = "\xc2\xa0"; // UTF-8
    EXPECT_EQ(ParseWholeNumber(noBreakSpace + "12"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("12" + noBreakSpace), std::nullopt);
}

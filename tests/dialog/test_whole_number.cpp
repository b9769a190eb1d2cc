#include "platform/dialog/DDX.h"

#include <QString>

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

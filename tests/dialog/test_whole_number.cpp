#include "pages/SheetPage.h"
#include "platform/DecimalDigits.h"

#include <QString>

#include <string>

#include <gtest/gtest.h>

namespace {
// A number box's text as the page model takes it.
std::optional<int> typed(const QString& text) {
    return ParseWholeNumber(TypedNumberText(text));
}
} // namespace

TEST(WholeNumber, AcceptsOnlyWholeNumbers) {
    EXPECT_EQ(typed(QString()), std::nullopt);
    EXPECT_EQ(typed(QStringLiteral("  ")), std::nullopt);
    EXPECT_EQ(typed(QStringLiteral("-")), std::nullopt);
    EXPECT_EQ(typed(QStringLiteral("12a")), std::nullopt);
    EXPECT_EQ(typed(QStringLiteral("1 2")), std::nullopt);
    EXPECT_EQ(typed(QStringLiteral(" -3 ")), -3);
    EXPECT_EQ(typed(QStringLiteral("99999999999999999999")), 2147483647);
}

// One parser, two white-space rules: a typed number may stand between Unicode spaces, a stored
// or command-line one between ASCII spaces only.
TEST(WholeNumber, EditBoxesForgiveUnicodeSpaceTheModelOnlyAscii) {
    EXPECT_EQ(typed(QStringLiteral("\u00a0\t12\u2003")), 12);
    EXPECT_EQ(typed(QStringLiteral("1\u00a02")), std::nullopt);
    EXPECT_EQ(ParseWholeNumber(std::string_view("\t12\r\n")), 12);
    const std::string noBreakSpace = "\xc2\xa0"; // UTF-8
    EXPECT_EQ(ParseWholeNumber(noBreakSpace + "12"), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("12" + noBreakSpace), std::nullopt);
}

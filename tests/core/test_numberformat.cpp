#include "common/numberformat.h"

#include <gtest/gtest.h>

using namespace zf;

TEST(NumberFormat, PicturesAndRounding) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), 1234567.891, c), QStringLiteral("1,234,567.89"));
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), 2.5, c), QStringLiteral("2.5"));
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), 0.0, c), QStringLiteral("0"));
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), -0.001, c), QStringLiteral("0"))
        << "no negative zero";
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), 1.005, c), QStringLiteral("1.01"))
        << "half away from zero";
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), -1234.5, c), QStringLiteral("-1,234.5"));
    EXPECT_EQ(formatFloat(QStringLiteral("0.00"), 3.0, c), QStringLiteral("3.00"));
    EXPECT_EQ(formatFloat(QStringLiteral(",0.## kW"), 4.488, c), QStringLiteral("4.49 kW"));
    EXPECT_EQ(formatFloat(QStringLiteral("0"), 999.5, c), QStringLiteral("1000"));
    const QLocale cz(QLocale::Czech);
    EXPECT_EQ(formatFloat(QStringLiteral(",0.##"), 1234.5, cz),
              QStringLiteral("1") + cz.groupSeparator() + QStringLiteral("234,5"));
}

TEST(NumberFormat, TextPlaceholders) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(formatText(QStringLiteral("Error while opening the file %s."),
                         {QStringLiteral("a.zfp")}, c),
              QStringLiteral("Error while opening the file a.zfp."));
    EXPECT_EQ(formatText(QStringLiteral("%d%% of %.2n kW, %.0f m3/h, %f"),
                         {85, 12345.678, 2.5, 1.0 / 3}, c),
              QStringLiteral("85% of 12,345.68 kW, 3 m3/h, 0.33"));
    EXPECT_EQ(formatText(QStringLiteral("%s and %s"), {QStringLiteral("one")}, c),
              QStringLiteral("one and "));
}

TEST(NumberFormat, NumbersAsTypedInTheUsersLocale) {
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    double v = 0;
    EXPECT_TRUE(zf::parseNumber(QStringLiteral("1 234,5"), &v, czech));
    EXPECT_DOUBLE_EQ(v, 1234.5);
    EXPECT_TRUE(zf::parseNumber(QString::fromUtf8("1\u00a0234,5"), &v, czech));
    EXPECT_DOUBLE_EQ(v, 1234.5);
    EXPECT_TRUE(zf::parseNumber(QStringLiteral("1,234.5"), &v, english));
    EXPECT_DOUBLE_EQ(v, 1234.5);
    EXPECT_TRUE(zf::parseNumber(QString::fromUtf8(" \u221215,5 "), &v, czech)) << "U+2212";
    EXPECT_DOUBLE_EQ(v, -15.5);
    EXPECT_TRUE(zf::parseNumber(QStringLiteral("-0.25"), &v, english));
    EXPECT_DOUBLE_EQ(v, -0.25);
    for (const char* bad : {"", "  ", "wide", "12 m", "1.5.3", "1e999"})
        EXPECT_FALSE(zf::parseNumber(QString::fromLatin1(bad), &v, english)) << bad;
    EXPECT_FALSE(zf::parseNumber(QStringLiteral("1.234,5"), &v, english))
        << "the other locale's separators are not guessed";
}

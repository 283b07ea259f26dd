#include "platform/text/Cp1251.h"
#include "platform/text/TextHelpers.h"

#include <gtest/gtest.h>

using namespace kv::text;

TEST(Cp1251, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    QString bad;
    EXPECT_EQ(toCp1251(fromCp1251(all), &bad), all);
    EXPECT_TRUE(bad.isEmpty());
}

TEST(Cp1251, CyrillicAndSigns)
{
    EXPECT_EQ(fromCp1251("\xC0\xFF\xA8\xB8\xB9\xB6"), QStringLiteral("АяЁё№¶"));
    EXPECT_EQ(toCp1251(QStringLiteral("Привет «мир» — €")),
              "\xCF\xF0\xE8\xE2\xE5\xF2 \xAB\xEC\xE8\xF0\xBB \x97 \x88");
}

TEST(Cp1251, ReportsEachUnconvertibleCharacterOnce)
{
    QString bad;
    const std::string out = toCp1251(QStringLiteral("α ≤ β ≤ 😀"), &bad);
    EXPECT_EQ(out, "? ? ? ? ?");
    EXPECT_EQ(bad, QStringLiteral("α≤β😀"));
    EXPECT_EQ(unconvertibleCharacters(QStringLiteral("обычный текст")), QString());
}

struct LineBreakCase
{
    std::string in, converted, flattened;
};

class LineBreaks : public ::testing::TestWithParam<LineBreakCase>
{
};

TEST_P(LineBreaks, ConvertAndFlatten)
{
    const auto &c = GetParam();
    EXPECT_EQ(ConvertLineBreaks(c.in), c.converted);
    EXPECT_EQ(FlattenToOneLine(c.in), c.flattened);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineBreaks,
                         ::testing::Values(LineBreakCase{"a\r\nb",
                                                         "a\xB6"
                                                         "b",
                                                         "a b"},
                                           LineBreakCase{"a\xB6"
                                                         "b",
                                                         "a\r\nb", "a b"},
                                           LineBreakCase{"a\nb", "ab", "ab"}, // LF alone is lost
                                           LineBreakCase{"a\rb",
                                                         "a\xB6"
                                                         "b",
                                                         "a b"},
                                           LineBreakCase{"", "", ""}));

TEST(LineBreaks, ConvertTwiceRestoresCrLfText)
{
    const std::string text = "first\r\nsecond\r\n\r\nthird";
    EXPECT_EQ(ConvertLineBreaks(ConvertLineBreaks(text)), text);
}

TEST(FieldWidth, CutsAt254)
{
    EXPECT_EQ(CutToFieldWidth(std::string(254, 'x')), std::string(254, 'x'));
    EXPECT_EQ(CutToFieldWidth(std::string(255, 'x')), std::string(251, 'x') + "...");
    EXPECT_EQ(MakeQuestionLine(std::string(150, 'a') + "\r\n" + std::string(149, 'b')),
              std::string(150, 'a') + " " + std::string(100, 'b') + "...");
}

TEST(Trimming, RemovesCodesUpTo32)
{
    EXPECT_EQ(Trim(std::string("\x01\t  x y \r\n\x1f", 11)), "x y");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(Trim("\xA0x"), "\xA0x"); // no-break space is not trimmed
}

TEST(DigitKeys, OnlyDigitsAndBackspace)
{
    EXPECT_TRUE(isDigitKeyAccepted(u'0'));
    EXPECT_TRUE(isDigitKeyAccepted(u'9'));
    EXPECT_TRUE(isDigitKeyAccepted(8));
    EXPECT_FALSE(isDigitKeyAccepted(u'a'));
    EXPECT_FALSE(isDigitKeyAccepted(u'-'));
    EXPECT_FALSE(isDigitKeyAccepted(u'٣')); // other scripts' digits are refused
}

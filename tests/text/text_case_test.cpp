// Letter case of Windows-1251 bytes against the Unicode case of the
// characters they stand for.
#include "platform/text/Cp1251.h"
#include "platform/text/TextCase.h"

#include <gtest/gtest.h>

#include <QChar>

using namespace kv::text;

TEST(TextCase, LowerCaseMatchesUnicodeForEveryByte)
{
    for (int b = 0; b < 256; ++b) {
        const QChar ch(cp1251ToUnicode(static_cast<unsigned char>(b)));
        unsigned char expected = static_cast<unsigned char>(b);
        // Capitals only: the small letters without a capital in the code
        // page stay as they are.
        if (ch.isUpper()) {
            ASSERT_TRUE(unicodeToCp1251(ch.toLower().unicode(), expected)) << b;
        }
        EXPECT_EQ(static_cast<unsigned char>(lowerCaseByte(char(b))), expected) << b;
    }
}

TEST(TextCase, EqualsIgnoreCase)
{
    EXPECT_TRUE(equalsIgnoreCase("MAIN", "main"));
    EXPECT_TRUE(
        equalsIgnoreCase(toCp1251(QStringLiteral(u"ЁЛКА Ђ")), toCp1251(QStringLiteral(u"ёлка ђ"))));
    EXPECT_FALSE(equalsIgnoreCase("MAIN", "MAINS"));
    EXPECT_FALSE(equalsIgnoreCase(toCp1251(QStringLiteral(u"е")), toCp1251(QStringLiteral(u"ё"))));
}

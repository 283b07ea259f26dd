#include "Cp1251.h"

#include <array>

namespace kv::text {
namespace {

// Characters of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

} // namespace

char16_t cp1251ToUnicode(unsigned char byte)
{
    return byte < 0x80 ? char16_t(byte) : kHighHalf[byte - 0x80];
}

bool unicodeToCp1251(char16_t ch, unsigned char &byte)
{
    if (ch < 0x80) {
        byte = static_cast<unsigned char>(ch);
        return true;
    }
    if (ch >= 0x0410 && ch <= 0x044F) { // А..я, the common case
        byte = static_cast<unsigned char>(ch - 0x0410 + 0xC0);
        return true;
    }
    for (int i = 0; i < 0x40; ++i) {
        if (kHighHalf[i] == ch) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QString fromCp1251(std::string_view bytes)
{
    QString out(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar *dst = out.data();
    for (unsigned char b : bytes)
        *dst++ = QChar(cp1251ToUnicode(b));
    return out;
}

std::string toCp1251(const QString &text, QString *unconvertible)
{
    std::string out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        unsigned char byte = 0;
        if (unicodeToCp1251(ch.unicode(), byte)) {
            out.push_back(char(byte));
            continue;
        }
        // A surrogate pair is one character and becomes one '?'.
        QString bad(ch);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            bad.append(text.at(++i));
        if (unconvertible && !unconvertible->contains(bad))
            unconvertible->append(bad);
        out.push_back('?');
    }
    return out;
}

QString unconvertibleCharacters(const QString &text)
{
    QString bad;
    toCp1251(text, &bad);
    return bad;
}

} // namespace kv::text

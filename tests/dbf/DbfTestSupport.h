#pragma once
// Building dBase files byte by byte, independently of the writer under test.

#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace kv::dbf::testing {

struct RawField
{
    std::string name;
    char type;
    int length;
};

inline void put16(std::string &b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

inline void put32(std::string &b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A table file: header, the records as given (each starts with its flag), 0x1A.
inline std::string tableBytes(std::uint8_t version, const std::vector<RawField> &fields,
                              const std::vector<std::string> &records)
{
    std::string b(32 + 32 * fields.size() + 1, '\0');
    b[0] = static_cast<char>(version);
    b[1] = 124;
    b[2] = 1;
    b[3] = 1;
    put32(b, 4, static_cast<std::uint32_t>(records.size()));
    put16(b, 8, static_cast<std::uint32_t>(b.size()));
    std::uint32_t length = 1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t at = 32 + 32 * i;
        b.replace(at, fields[i].name.size(), fields[i].name);
        b[at + 11] = fields[i].type;
        b[at + 16] = static_cast<char>(fields[i].length);
        length += static_cast<std::uint32_t>(fields[i].length);
    }
    put16(b, 10, length);
    b[b.size() - 1] = 0x0D;
    for (const std::string &r : records)
        b += r;
    b += '\x1A';
    return b;
}

// A right-aligned field value of `width` characters.
inline std::string right(const std::string &v, int width)
{
    return std::string(static_cast<std::size_t>(width) - v.size(), ' ') + v;
}

inline std::string left(const std::string &v, int width)
{
    return v + std::string(static_cast<std::size_t>(width) - v.size(), ' ');
}

inline void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace kv::dbf::testing

#include "DbfTypes.h"

#include "DbfLayout.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kv::dbf {

namespace {

std::string_view trimSpaces(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\0'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<std::int64_t> decodeInteger(std::string_view raw, int decimals)
{
    std::string_view s = trimSpaces(raw);
    if (s.empty())
        return std::nullopt;
    std::string_view digits = s.front() == '+' ? s.substr(1) : s;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc() && end == digits.data() + digits.size())
        return value;
    if (decimals > 0 || s.find_first_of(".eE") != std::string_view::npos) {
        // A number with decimals, written by another program: rounded.
        std::string copy(s);
        char *stop = nullptr;
        double d = std::strtod(copy.c_str(), &stop);
        if (stop == copy.c_str() + copy.size() && std::isfinite(d) && std::fabs(d) < 9.0e18)
            return static_cast<std::int64_t>(std::llround(d));
    }
    return std::nullopt;
}

bool encodeInteger(std::optional<std::int64_t> value, char *raw, int length)
{
    if (!value) {
        std::memset(raw, ' ', static_cast<std::size_t>(length));
        return true;
    }
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, *value);
    const auto n = static_cast<int>(end - buffer);
    if (ec != std::errc() || n > length)
        return false;
    std::memset(raw, ' ', static_cast<std::size_t>(length - n));
    std::memcpy(raw + (length - n), buffer, static_cast<std::size_t>(n));
    return true;
}

std::string decodeText(std::string_view raw)
{
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\0'))
        raw.remove_suffix(1);
    return std::string(raw);
}

void encodeText(std::string_view text, char *raw, int length)
{
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(length));
    std::memcpy(raw, text.data(), n);
    std::memset(raw + n, ' ', static_cast<std::size_t>(length) - n);
}

std::optional<std::uint32_t> decodeMemoBlock(std::string_view raw, const std::string &fileName)
{
    std::string_view s = trimSpaces(raw);
    if (s.empty())
        return std::nullopt;
    std::uint32_t block = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), block);
    if (ec != std::errc() || end != s.data() + s.size())
        throw DbfError("Повреждена ссылка на MEMO-блок в таблице " + fileName + ": \"" +
                       std::string(s) + "\"");
    if (block == 0)
        return std::nullopt;
    return block;
}

void encodeMemoBlock(std::optional<std::uint32_t> block, char *raw)
{
    if (!block || !encodeInteger(std::int64_t{*block}, raw, layout::kMemoPointerLength))
        std::memset(raw, ' ', layout::kMemoPointerLength);
}

std::string systemErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return "файл или папка не найдены";
    case EACCES:
    case EPERM:
        return "нет доступа";
    case ENOSPC:
        return "нет места на диске";
    case EDQUOT:
        return "превышена дисковая квота";
    case EFBIG:
        return "файл слишком большой";
    case EROFS:
        return "диск доступен только для чтения";
    case EISDIR:
        return "это папка, а не файл";
    case EMFILE:
    case ENFILE:
        return "открыто слишком много файлов";
    case EIO:
        return "ошибка ввода-вывода";
    default:
        return "системная ошибка " + std::to_string(error);
    }
}

} // namespace kv::dbf

#include "IniFile.h"

#include "platform/text/SafeFile.h"
#include "platform/text/TextCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <charconv>

namespace kv::ini {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine
{
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

ParsedLine parseLine(std::string_view text)
{
    ParsedLine p;
    const std::string_view t = trimmed(text);
    if (t.empty() || t.front() == ';')
        return p;
    if (t.front() == '[') {
        const std::string_view inside = t.substr(1);
        p.kind = LineKind::Section;
        p.name = trimmed(inside.substr(0, inside.find(']')));
        return p;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return p;
    p.name = trimmed(t.substr(0, eq));
    if (p.name.empty())
        return p;
    p.kind = LineKind::Key;
    p.value = trimmed(t.substr(eq + 1));
    if (p.value.size() >= 2 && (p.value.front() == '"' || p.value.front() == '\'') &&
        p.value.back() == p.value.front())
        p.value = p.value.substr(1, p.value.size() - 2);
    return p;
}

bool hasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

std::optional<int> parseInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

IniFile IniFile::fromBytes(std::string_view bytes)
{
    IniFile file;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            file.lines_.push_back({std::string(bytes), {}});
            break;
        }
        std::string_view text = bytes.substr(0, lf);
        std::string end = "\n";
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
            end = "\r\n";
        }
        file.lines_.push_back({std::string(text), end});
        bytes.remove_prefix(lf + 1);
    }
    return file;
}

std::string IniFile::bytes() const
{
    std::string out;
    for (const Line &line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

bool IniFile::load(const QString &path, QString *error)
{
    lines_.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Не удаётся прочитать файл %1").arg(nativePath(path));
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Не удаётся прочитать файл %1").arg(nativePath(path));
        return false;
    }
    *this = fromBytes(std::string_view(data.constData(), std::size_t(data.size())));
    return true;
}

bool IniFile::save(const QString &path, QString *error) const
{
    auto fail = [&] {
        if (error)
            *error = QStringLiteral("Не удаётся записать в файл %1").arg(nativePath(path));
        return false;
    };
    // A read-only settings file stays as it is, even where the folder would
    // allow replacing it.
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return fail();
    const std::string data = bytes();
    if (!kv::text::saveFileSafely(path, QByteArrayView(data.data(), qsizetype(data.size()))))
        return fail();
    return true;
}

std::optional<IniFile::KeyAt> IniFile::findKey(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine p = parseLine(lines_[i].text);
        if (p.kind == LineKind::Section)
            inSection = text::equalsIgnoreCase(p.name, section);
        else if (inSection && p.kind == LineKind::Key && text::equalsIgnoreCase(p.name, key))
            return KeyAt{i, p.name, p.value};
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    if (const auto at = findKey(section, key))
        return std::string(at->value);
    return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    if (const auto at = findKey(section, key))
        return std::string(at->value);
    return std::string(defaultValue);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    if (const auto at = findKey(section, key)) {
        if (const auto number = parseInteger(at->value))
            return *number;
    }
    return defaultValue;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const bool sectionOk = !section.empty() && trimmed(section) == section &&
                           !hasLineBreak(section) && section.find(']') == std::string_view::npos;
    const bool keyOk = !key.empty() && trimmed(key) == key && !hasLineBreak(key) &&
                       key.find('=') == std::string_view::npos && key.front() != '[' &&
                       key.front() != ';';
    if (!sectionOk || !keyOk || hasLineBreak(value))
        return false;

    if (const auto at = findKey(section, key)) {
        std::string line(at->name); // the key as spelled in the file
        line += '=';
        line += value;
        lines_[at->line].text = std::move(line);
        return true;
    }

    std::string newLine(key);
    newLine += '=';
    newLine += value;

    // The first section of that name: the new key goes after its last
    // non-blank line, before the blank lines that part it from the next.
    std::optional<std::size_t> insertAt;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine p = parseLine(lines_[i].text);
        if (insertAt) {
            if (p.kind == LineKind::Section)
                break;
            if (!trimmed(lines_[i].text).empty())
                insertAt = i + 1;
        } else if (p.kind == LineKind::Section && text::equalsIgnoreCase(p.name, section)) {
            insertAt = i + 1;
        }
    }
    if (!insertAt) {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = "\r\n";
        lines_.push_back({"[" + std::string(section) + "]", "\r\n"});
        insertAt = lines_.size();
    }
    if (*insertAt > 0 && lines_[*insertAt - 1].end.empty())
        lines_[*insertAt - 1].end = "\r\n";
    lines_.insert(lines_.begin() + std::ptrdiff_t(*insertAt), Line{std::move(newLine), "\r\n"});
    return true;
}

bool IniFile::writeInteger(std::string_view section, std::string_view key, int value)
{
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    return writeString(section, key, value ? "1" : "0");
}

} // namespace kv::ini

#include "TextList.h"

#include "platform/text/Cp1251.h"
#include "platform/text/SafeFile.h"

#include <QFile>
#include <QStringDecoder>

#include <stdexcept>

namespace kv::import {

QString decodeTextList(const QByteArray &bytes)
{
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        text = decoder(bytes.mid(2));
    } else {
        text = kv::text::fromCp1251(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

std::vector<std::string> linesOf(const QString &text, QString *unconvertible)
{
    std::vector<std::string> lines;
    if (text.isEmpty())
        return lines;
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (normalized.endsWith(QLatin1Char('\n')))
        normalized.chop(1);
    const QStringList parts = normalized.split(QLatin1Char('\n'));
    lines.reserve(std::size_t(parts.size()));
    for (const QString &line : parts)
        lines.push_back(kv::text::toCp1251(line, unconvertible));
    return lines;
}

QByteArray encodeTextList(const QString &text, QString *unconvertible)
{
    QByteArray out;
    for (const std::string &line : linesOf(text, unconvertible)) {
        out.append(line.data(), qsizetype(line.size()));
        out.append("\r\n");
    }
    return out;
}

QString readTextListFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Не удаётся открыть файл %1: %2")
                                     .arg(path, file.errorString())
                                     .toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(QStringLiteral("Не удаётся прочитать файл %1: %2")
                                     .arg(path, file.errorString())
                                     .toStdString());
    return decodeTextList(bytes);
}

void writeTextListFile(const QString &path, const QString &text)
{
    QString error;
    if (!kv::text::saveFileSafely(path, encodeTextList(text), &error))
        throw std::runtime_error(
            QStringLiteral("Не удаётся записать файл %1: %2").arg(path, error).toStdString());
}

} // namespace kv::import

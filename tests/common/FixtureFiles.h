#pragma once
// The example ticket templates among the shared fixtures: the same five-line
// template saved by several programs, each named "...-example.<program>.rtf".

#include <QDir>
#include <QString>
#include <QStringList>

#include <string>

namespace kv::test {

// "templates/<file name>" of the example template saved by `program`
// ("libreoffice", "abiword", "pandoc"), relative to the fixtures folder; a
// name that does not exist when there is no such file.
inline std::string exampleTemplate(const char *program)
{
    const QStringList found =
        QDir(QStringLiteral(KV_FIXTURES_DIR "/templates"))
            .entryList({QStringLiteral("*-example.%1.rtf").arg(QLatin1String(program))},
                       QDir::Files);
    if (found.size() != 1)
        return std::string("templates/no example template from ") + program;
    return "templates/" + found.first().toStdString();
}

} // namespace kv::test

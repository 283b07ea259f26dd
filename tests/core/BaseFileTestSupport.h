#pragma once
// Helpers of the base file tests: Windows-1251 literals and a readable dump
// of a base.

#include "core/basefile/BaseData.h"
#include "platform/text/Cp1251.h"

#include <QFile>
#include <QString>

#include <string>

namespace kv::basefile::support {

// A UTF-8 literal as Windows-1251 bytes ("¤" is 0xA4, "¶" is 0xB6).
inline std::string cp(const char *utf8)
{
    return text::toCp1251(QString::fromUtf8(utf8));
}

// "g1=Алгебра; q2/1=Решите:|x + 1 = 2; t1,1,2,1=..." with CR LF shown as '|'.
inline std::string dump(const BaseData &base)
{
    std::string out;
    auto add = [&](const std::string &item, const std::string &text) {
        if (!out.empty())
            out += "; ";
        QString shown = text::fromCp1251(text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
        out += item + "=" + shown.toStdString();
    };
    for (const auto &g : base.groups)
        add("g" + std::to_string(g.number), g.name);
    for (const auto &q : base.questions)
        add("q" + std::to_string(q.number) + "/" + std::to_string(q.group), q.fullText);
    for (const auto &t : base.tickets)
        add("t" + std::to_string(t.ticket) + "," + std::to_string(t.position) + "," +
                std::to_string(t.question) + "," + std::to_string(t.group),
            t.fullText);
    return out;
}

inline std::string readDataFile(const char *name)
{
    QFile file(QStringLiteral(KV_TEST_DATA_DIR "/") + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

inline constexpr const char *kExampleDump =
    "g1=Алгебра; g2=Геометрия; q1/1=Что такое уравнение?; q2/1=Решите:|x + 1 = 2; "
    "q3/2=Что такое угол?; t1,1,2,1=Решите:|x + 1 = 2; t1,2,3,2=Что такое угол?";

} // namespace kv::basefile::support

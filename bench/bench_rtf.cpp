// Writing and reading a full ticket set as RTF: 1,000 tickets of 9 questions,
// each ticket a heading and its question paragraphs in mixed formats.
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_rtf";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static QGuiApplication app(argc, argv);
    }
}

void buildTickets(QTextDocument &document)
{
    QTextCursor c(&document);
    QTextCharFormat heading;
    heading.setFontFamilies({QStringLiteral("Times New Roman")});
    heading.setFontPointSize(14);
    heading.setFontWeight(QFont::Bold);
    QTextCharFormat number;
    number.setFontFamilies({QStringLiteral("Courier New")});
    number.setFontPointSize(10);
    QTextCharFormat text = number;
    text.setFontItalic(true);
    QTextCharFormat tail = number;
    tail.setForeground(QColor(0, 0, 160));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextBlockFormat hanging;
    hanging.setLeftMargin(19);
    hanging.setTextIndent(-19);
    for (int ticket = 1; ticket <= 1000; ++ticket) {
        c.insertBlock(centred);
        c.insertText(QStringLiteral("БИЛЕТ №%1").arg(ticket), heading);
        for (int q = 1; q <= 9; ++q) {
            c.insertBlock(hanging);
            c.insertText(QStringLiteral("%1.\t").arg(q), number);
            c.insertText(QStringLiteral("Сформулируйте и докажите теорему о среднем значении "
                                        "для функции, непрерывной на отрезке (вариант %1)")
                             .arg(ticket * 10 + q),
                         text);
            c.insertText(QStringLiteral("  [гр.%1, впр. №%2]").arg(q).arg(ticket * 9 + q), tail);
        }
    }
}

void BM_WriteTickets(benchmark::State &state)
{
    ensureApplication();
    QTextDocument document;
    buildTickets(document);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = kv::rtf::writeRtf(document);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.counters["paragraphs"] = document.blockCount();
    state.counters["rtf_bytes"] = double(bytes);
}
BENCHMARK(BM_WriteTickets)->Unit(benchmark::kMillisecond);

void BM_ReadTickets(benchmark::State &state)
{
    ensureApplication();
    QTextDocument source;
    buildTickets(source);
    const QByteArray rtf = kv::rtf::writeRtf(source);
    for (auto _ : state) {
        QTextDocument document;
        kv::rtf::RtfReader reader;
        reader.read(rtf, &document);
        benchmark::DoNotOptimize(document.blockCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadTickets)->Unit(benchmark::kMillisecond);

} // namespace

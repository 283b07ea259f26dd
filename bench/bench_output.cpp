// Laying out 1,000 tickets of 9 questions from the tickets table: plainly,
// through a five-line template, in a window's text area, and saving the
// result as RTF.
#include "core/base/BaseTables.h"
#include "core/base/GroupLookup.h"
#include "core/output/TicketFile.h"
#include "core/output/TicketLayout.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_output";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static QApplication app(argc, argv);
    }
}

// A working folder with 1,000 tickets of 9 questions from 9 groups, and the
// five-line template of the help text.
class Tickets
{
public:
    static Tickets &instance()
    {
        static Tickets tickets;
        return tickets;
    }

    QString sys() const { return m_dir.filePath(QStringLiteral("Sys")); }
    std::string path(const char *relative) const
    {
        return m_dir.filePath(QString::fromLatin1(relative)).toStdString();
    }
    QString file(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private:
    Tickets()
    {
        kv::base::createMissingBaseTables(m_dir.path());
        kv::store::Table groups;
        groups.setFileName(path(kv::base::kGroupsFile));
        groups.open();
        for (int g = 1; g <= 9; ++g) {
            groups.append();
            groups.setIntegerField("NGRUPPY", g);
            groups.setTextField("NAMEGRUPPA",
                                kv::text::toCp1251(QStringLiteral("Раздел курса № %1").arg(g)));
            groups.post();
        }
        kv::store::Table tickets;
        tickets.setFileName(path(kv::base::kTicketsFile));
        tickets.open();
        for (int t = 1; t <= 1000; ++t) {
            for (int q = 1; q <= 9; ++q) {
                tickets.append();
                tickets.setIntegerField("NBILETA", t);
                tickets.setIntegerField("NVOPROSA", q);
                tickets.setIntegerField("NGRUPPY", q);
                tickets.setIntegerField("NPOR", t * 9 + q);
                tickets.setTextField(
                    "VOPRMEMO",
                    kv::text::toCp1251(
                        QStringLiteral("Сформулируйте и докажите теорему о среднем значении "
                                       "для функции, непрерывной на отрезке (вариант %1)")
                            .arg(t * 10 + q)));
                tickets.post();
            }
        }
        QFile rtf(QDir(sys()).filePath(QStringLiteral("five.rtf")));
        rtf.open(QIODevice::WriteOnly);
        rtf.write("{\\rtf1\\ansi\\ansicpg1251\\paperw11906\\paperh16838\\margl1701\\gutter0"
                  "{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}"
                  "\\pard\\qc\\b\\fs28 #NBILETA#\\'c1\\'e8\\'eb\\'e5\\'f2 \\'b9 %NBILETA%\\par"
                  "\\pard\\b0\\i\\fs24 #NGRUPPY#%NAMEGRUPPA%\\par"
                  "\\pard\\i0\\fi-360\\li360 #NVOPROSA#%NVOPROSAGRUPPY%. %VOPRMEMO%\\par"
                  "\\pard #&NGRUPPY# \\par"
                  "\\pard #&NBILETA#\\par}");
    }

    QTemporaryDir m_dir;
};

void layOut(benchmark::State &state, bool useTemplate, bool inWindow)
{
    ensureApplication();
    Tickets &data = Tickets::instance();
    kv::store::Table tickets;
    tickets.setFileName(data.path(kv::base::kTicketsFile));
    tickets.setFilter("NBILETA=1");
    tickets.setFiltered(true);
    tickets.open();
    kv::store::Table groups;
    groups.setFileName(data.path(kv::base::kGroupsFile));
    groups.setReadOnly(true);
    kv::output::LayoutOptions options;
    options.groupNumbers = options.runningNumbers = true;
    options.useTemplate = useTemplate;
    options.templateName = "five.rtf";
    // The window's text area, shown: its document is laid out for display.
    QTextEdit edit;
    edit.setFont(kv::output::OutputFont());
    if (inWindow) {
        edit.resize(900, 600);
        edit.show();
    }
    int records = 0;
    for (auto _ : state) {
        const kv::output::LayoutResult result = kv::output::LayOutTickets(
            tickets, *edit.document(), options, data.sys(),
            [&](std::int64_t g) { return kv::base::LookupGroupName(groups, g); });
        records = result.records;
        if (inWindow)
            QApplication::processEvents();
    }
    state.counters["records"] = records;
    state.counters["paragraphs"] = edit.document()->blockCount();
}

void BM_PlainLayout(benchmark::State &state)
{
    layOut(state, false, false);
}
void BM_PlainLayoutInWindow(benchmark::State &state)
{
    layOut(state, false, true);
}
void BM_TemplateLayout(benchmark::State &state)
{
    layOut(state, true, false);
}
void BM_TemplateLayoutInWindow(benchmark::State &state)
{
    layOut(state, true, true);
}

void BM_SaveRtf(benchmark::State &state)
{
    ensureApplication();
    Tickets &data = Tickets::instance();
    kv::store::Table tickets;
    tickets.setFileName(data.path(kv::base::kTicketsFile));
    tickets.open();
    QTextDocument document;
    document.setDefaultFont(kv::output::OutputFont());
    kv::output::LayoutOptions options;
    options.useTemplate = true;
    options.templateName = "five.rtf";
    kv::store::Table groups;
    groups.setFileName(data.path(kv::base::kGroupsFile));
    const auto result =
        kv::output::LayOutTickets(tickets, document, options, data.sys(), [&](std::int64_t g) {
            return kv::base::LookupGroupName(groups, g);
        });
    for (auto _ : state)
        kv::output::SaveTicketsRtf(document, *result.pageSettings, data.file("out.rtf"));
    state.counters["bytes"] = double(QFile(data.file("out.rtf")).size());
}

BENCHMARK(BM_PlainLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLayoutInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TemplateLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TemplateLayoutInWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRtf)->Unit(benchmark::kMillisecond);

} // namespace

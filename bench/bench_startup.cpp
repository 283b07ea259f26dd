// Start-up of the main window on a large base: the start-up steps (store
// check, opening the four tables) and the first paint of the question list,
// which must read only the records it shows.
#include "core/base/BaseTables.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/store/Table.h"
#include "widgets/DBGrid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

QApplication &application()
{
    static int argc = 1;
    static char name[] = "bench_startup";
    static char *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    return app;
}

// A working folder whose questions table holds `count` records with
// 300-byte memos.
std::unique_ptr<QTemporaryDir> makeFolder(int count)
{
    auto dir = std::make_unique<QTemporaryDir>();
    kv::base::createMissingBaseTables(dir->path());
    kv::store::Table t;
    t.setFileName(dir->filePath(kv::base::kQuestionsFile).toStdString());
    t.open();
    const std::string text(300, 'x');
    for (int i = 1; i <= count; ++i) {
        t.append();
        t.setIntegerField("NPOR", i);
        t.setIntegerField("NGRUPPY", i % 20 + 1);
        t.setTextField("VOPROS", "Question " + std::to_string(i));
        t.setTextField("VOPRMEMO", text);
        t.post();
    }
    return dir;
}

void BM_StartupAndFirstPaint(benchmark::State &state)
{
    application();
    const std::unique_ptr<QTemporaryDir> dir = makeFolder(int(state.range(0)));
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir->path());
    kv::gui::ScriptedMessages messages;
    int rowsRead = 0;
    for (auto _ : state) {
        kv::gui::TForm1 form;
        form.show();
        form.DBGrid1->grab(); // paints the first page
        rowsRead = form.DBGrid1->tableModel()->recordsRead();
        benchmark::DoNotOptimize(rowsRead);
        if (form.DBGrid1->model()->rowCount() != state.range(0))
            state.SkipWithError("the list does not show every record");
    }
    if (!kv::gui::MessageService::shown().isEmpty())
        state.SkipWithError("start-up reported an error");
    state.counters["records_read"] = rowsRead;
    QDir::setCurrent(old);
}
BENCHMARK(BM_StartupAndFirstPaint)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

// Importing a list of 100,000 questions into the questions view of the main
// window (its insert steps run for every record), and renumbering them.
#include "core/base/BaseTables.h"
#include "core/import/Imports.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

using kv::gui::TForm1;

constexpr int kQuestions = 100000;

QApplication &application()
{
    static int argc = 1;
    static char name[] = "bench_import";
    static char *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    return app;
}

std::vector<std::string> questionList()
{
    std::vector<std::string> lines;
    for (int i = 1; i <= kQuestions; ++i) {
        std::string line = "\xC2\xEE\xEF\xF0\xEE\xF1 " + std::to_string(i) + " ";
        line.resize(200, 'x');
        lines.push_back(line);
        if (i % 1000 == 0)
            lines.push_back(""); // a new group every 1,000 questions
    }
    return lines;
}

// The window on a fresh working folder, made current while it lives.
struct Window
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    std::unique_ptr<TForm1> form;
    Window()
    {
        application();
        kv::base::createMissingBaseTables(dir.path());
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
    }
    ~Window()
    {
        form.reset();
        QDir::setCurrent(previous);
    }
};

void BM_ImportQuestionsThroughTheWindow(benchmark::State &state)
{
    const auto lines = questionList();
    for (auto _ : state) {
        state.PauseTiming();
        Window w;
        state.ResumeTiming();
        w.form->Table1.disableControls();
        const auto result = kv::import::importQuestions(w.form->Table1, lines, {});
        w.form->Table1.enableControls();
        benchmark::DoNotOptimize(result.imported);
    }
}
BENCHMARK(BM_ImportQuestionsThroughTheWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RenumberQuestions(benchmark::State &state)
{
    Window w;
    w.form->Table1.disableControls();
    kv::import::importQuestions(w.form->Table1, questionList(), {});
    w.form->Table1.enableControls();
    for (auto _ : state)
        w.form->RenumberQuestions();
}
BENCHMARK(BM_RenumberQuestions)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// The record store on a base of 100,000 questions with 300-byte full texts:
// filling it through a view, walking it as the program's walks do, and
// opening a view to paint the first page of a list.
#include "core/base/BaseTables.h"
#include "platform/dbf/NewTableFile.h"
#include "platform/store/Table.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kQuestions = 100000;
constexpr int kPage = 40;

std::string memoText(int i)
{
    std::string text = "Question " + std::to_string(i) + " ";
    text.resize(300, '\xE0');
    return text;
}

std::string newTable(const QTemporaryDir &dir)
{
    const std::string path = dir.path().toStdString() + "/Voprosy.DBF";
    kv::dbf::NewTableFile file(path, path, kv::base::questionFields());
    file.commit();
    return path;
}

void fill(kv::store::Table &t)
{
    for (int i = 1; i <= kQuestions; ++i) {
        t.append();
        t.setIntegerField("NPOR", i);
        t.setIntegerField("NGRUPPY", i % 50 + 1);
        t.setTextField("VOPROS", memoText(i).substr(0, 120));
        t.setTextField("VOPRMEMO", memoText(i));
        t.post();
    }
}

// One table filled once, shared by the reading benchmarks.
const std::string &filledTable()
{
    static QTemporaryDir dir;
    static const std::string path = [] {
        const std::string p = newTable(dir);
        kv::store::Table t;
        t.setFileName(p);
        t.open();
        fill(t);
        return p;
    }();
    return path;
}

void BM_Append100kQuestions(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        kv::store::Table t;
        t.setFileName(newTable(dir));
        t.open();
        state.ResumeTiming();
        fill(t);
        benchmark::DoNotOptimize(t.recordCount());
    }
}
BENCHMARK(BM_Append100kQuestions)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Walk100kQuestions(benchmark::State &state)
{
    kv::store::Table t;
    t.setFileName(filledTable());
    t.open();
    for (auto _ : state) {
        std::size_t bytes = 0;
        t.disableControls();
        t.first();
        const int count = t.recordCount();
        for (int i = 0; i < count; ++i) {
            bytes += static_cast<std::size_t>(t.integerField("NPOR").value_or(0));
            bytes += static_cast<std::size_t>(t.integerField("NGRUPPY").value_or(0));
            bytes += t.textField("VOPROS").size() + t.textField("VOPRMEMO").size();
            bytes += static_cast<std::size_t>(t.integerField("SLOGNOST").value_or(0));
            bytes += static_cast<std::size_t>(t.integerField("VAGNOST").value_or(0));
            t.next();
        }
        t.enableControls();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_Walk100kQuestions)->Unit(benchmark::kMillisecond);

void BM_OpenAndPaintFirstPage(benchmark::State &state)
{
    const std::string &path = filledTable();
    for (auto _ : state) {
        kv::store::Table t;
        t.setFileName(path);
        t.open();
        const int npor = t.fieldIndex("NPOR"), group = t.fieldIndex("NGRUPPY"),
                  text = t.fieldIndex("VOPROS");
        std::size_t bytes = 0;
        for (int row = 0; row < kPage; ++row) {
            bytes += static_cast<std::size_t>(t.integerAt(row, npor).value_or(0));
            bytes += static_cast<std::size_t>(t.integerAt(row, group).value_or(0));
            bytes += t.textAt(row, text).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_OpenAndPaintFirstPage)->Unit(benchmark::kMillisecond);

void BM_OpenFilteredView(benchmark::State &state)
{
    const std::string &path = filledTable();
    for (auto _ : state) {
        kv::store::Table t;
        t.setFileName(path);
        t.setFilter("NGRUPPY=7");
        t.setFiltered(true);
        t.open();
        benchmark::DoNotOptimize(t.recordCount());
    }
}
BENCHMARK(BM_OpenFilteredView)->Unit(benchmark::kMillisecond);

} // namespace

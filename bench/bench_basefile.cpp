// Reading and writing a base of 100,000 questions (about 30 MB of text):
// base text <-> BaseData and base files on disk, each beside a plain copy,
// read or write of the same bytes.

#include "core/basefile/BaseFile.h"
#include "core/basefile/BaseText.h"
#include "platform/text/Cp1251.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include <fcntl.h>
#include <unistd.h>

using namespace kv::basefile;

namespace {

const BaseData &bigBase()
{
    static const BaseData base = [] {
        std::mt19937 random(1);
        const std::string words[] = {
            kv::text::toCp1251(QStringLiteral("вопрос ")),
            kv::text::toCp1251(QStringLiteral("определите ")),
            kv::text::toCp1251(QStringLiteral("значение ")),
            kv::text::toCp1251(QStringLiteral("функции ")),
            "x + 1 = 2 ",
            "\r\n",
        };
        BaseData b;
        for (int g = 1; g <= 100; ++g)
            b.groups.push_back({g, kv::text::toCp1251(QStringLiteral("Группа %1").arg(g))});
        for (int q = 1; q <= 100000; ++q) {
            std::string text;
            while (text.size() < 290)
                text += words[random() % std::size(words)];
            b.questions.push_back({q, q % 100 + 1, std::move(text)});
        }
        for (int t = 1; t <= 30; ++t)
            for (int k = 1; k <= 5; ++k)
                b.tickets.push_back({t, k, t * 5 + k, 1,
                                     b.questions[static_cast<std::size_t>(t * 5 + k)].fullText});
        return b;
    }();
    return base;
}

const std::string &bigText()
{
    static const std::string text = writeBaseText(bigBase());
    return text;
}

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString scratchFile(const char *name)
{
    return scratch().filePath(QString::fromLatin1(name));
}

// Builds the base before the first timed iteration.
void prepare()
{
    bigText();
}

void setBytes(benchmark::State &state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bigText().size()));
}

void Text_Write(benchmark::State &state)
{
    prepare();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeBaseText(bigBase()));
    setBytes(state);
}

void Text_Read(benchmark::State &state)
{
    prepare();
    for (auto _ : state) {
        BaseTextReader reader;
        benchmark::DoNotOptimize(reader.read(bigText()));
    }
    setBytes(state);
}

void Plain_Copy(benchmark::State &state)
{
    prepare();
    for (auto _ : state) {
        std::string copy(bigText().size(), '\0');
        std::memcpy(copy.data(), bigText().data(), copy.size());
        benchmark::DoNotOptimize(copy);
    }
    setBytes(state);
}

void File_Write(benchmark::State &state)
{
    prepare();
    const QString path = scratchFile("base.txb");
    for (auto _ : state) {
        BaseFileWriter writer;
        if (!writer.write(path, bigBase()))
            state.SkipWithError(writer.errorString().toStdString().c_str());
    }
    setBytes(state);
}

void File_Read(benchmark::State &state)
{
    prepare();
    const QString path = scratchFile("read.txb");
    replaceFile(path, bigText(), nullptr);
    for (auto _ : state) {
        BaseFileReader reader;
        benchmark::DoNotOptimize(reader.read(path));
    }
    setBytes(state);
}

// A plain write of the same bytes; with `sync` also flushed to disk, as the
// base file writer does before it renames the new file over the old one.
void plainWrite(benchmark::State &state, bool sync)
{
    prepare();
    const QByteArray path = QFile::encodeName(scratchFile("plain.txb"));
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string &text = bigText();
        benchmark::DoNotOptimize(::write(fd, text.data(), text.size()));
        if (sync)
            ::fsync(fd);
        ::close(fd);
    }
    setBytes(state);
}

void Plain_FileWrite(benchmark::State &state)
{
    plainWrite(state, false);
}

void Plain_FileWriteSync(benchmark::State &state)
{
    plainWrite(state, true);
}

void Plain_FileRead(benchmark::State &state)
{
    prepare();
    const QString path = scratchFile("plainread.txb");
    replaceFile(path, bigText(), nullptr);
    for (auto _ : state) {
        std::string bytes;
        benchmark::DoNotOptimize(readWholeFile(path, bytes, nullptr));
    }
    setBytes(state);
}

} // namespace

BENCHMARK(Text_Write)->Unit(benchmark::kMillisecond);
BENCHMARK(Text_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(Plain_Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(File_Write)->Unit(benchmark::kMillisecond);
BENCHMARK(Plain_FileWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(Plain_FileWriteSync)->Unit(benchmark::kMillisecond);
BENCHMARK(File_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(Plain_FileRead)->Unit(benchmark::kMillisecond);

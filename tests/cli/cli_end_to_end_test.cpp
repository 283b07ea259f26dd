// The kvirton-cli executable end to end on a temporary working folder: a
// whole road from an empty folder to a saved and reloaded base, checked
// against the core; help, exit codes, failing jobs that must leave the
// tables as they were, and the progress line on a terminal.
#include "cli/Commands.h"
#include "core/base/GroupLookup.h"
#include "core/basefile/BaseText.h"
#include "core/basefile/BaseTransfer.h"
#include "core/generator/Generator.h"
#include "core/generator/RandomSource.h"
#include "core/generator/TicketStore.h"
#include "core/output/TicketFile.h"
#include "core/output/TicketLayout.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#ifdef KV_CLI_EXECUTABLE

namespace {

struct CliResult
{
    int code = -1;
    std::string out, err;
};

// Runs kvirton-cli with `args`; its stderr goes to a pipe unless `errFd` is
// given (then the child's stderr is that descriptor).
CliResult runCli(const QStringList &args, int errFd = -1)
{
    QProcess p;
    if (errFd >= 0)
        p.setChildProcessModifier([errFd] { ::dup2(errFd, STDERR_FILENO); });
    p.start(QStringLiteral(KV_CLI_EXECUTABLE), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    CliResult r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every file under Sys with its bytes.
QMap<QString, QByteArray> sysFiles(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder + "/Sys", QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(it.fileName(), fileBytes(path));
    }
    return files;
}

// A working folder prepared by the executable, with questions of three
// groups (Windows-1251 text, one of two lines) and their group names.
class CliEndToEnd : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString folder = dir.path();

    CliResult cli(QStringList args, int errFd = -1)
    {
        args.prepend(folder);
        args.prepend("-C");
        return runCli(args, errFd);
    }

    void fill()
    {
        ASSERT_EQ(cli({"init"}).code, 0);
        // "Вопрос" in Windows-1251.
        const QByteArray q = "\xC2\xEE\xEF\xF0\xEE\xF1 ";
        QByteArray list;
        for (int g = 1; g <= 3; ++g) {
            for (int i = 1; i <= 6; ++i)
                list += q + QByteArray::number(g) + "." + QByteArray::number(i) + "\r\n";
            list += "\r\n";
        }
        writeFile(folder + "/questions.txt", list);
        const CliResult imported = cli({"import-questions", folder + "/questions.txt"});
        ASSERT_EQ(imported.code, 0) << imported.err;
        EXPECT_EQ(imported.out, "Загружено вопросов: 18\n");
        // "Алгебра", "Геометрия", "Логика" in UTF-8 with a byte-order mark.
        writeFile(folder + "/groups.txt", "\xEF\xBB\xBF"
                                          "Алгебра\nГеометрия\nЛогика\n");
        const CliResult groups = cli({"import-groups", folder + "/groups.txt"});
        ASSERT_EQ(groups.code, 0) << groups.err;
        EXPECT_EQ(groups.out, "Загружено названий групп: 3\n");
    }

    kv::basefile::BaseData base(const QString &f)
    {
        kv::basefile::BaseData data;
        QString error;
        EXPECT_TRUE(kv::basefile::collectBaseData(f, data, &error)) << error.toStdString();
        return data;
    }
};

TEST_F(CliEndToEnd, FromAnEmptyFolderToASavedAndReloadedBase)
{
    fill();
    EXPECT_EQ(cli({"dump", "groups"}).out, "1\tАлгебра\n2\tГеометрия\n3\tЛогика\n");
    const CliResult questions = cli({"dump", "questions"});
    EXPECT_EQ(questions.out.rfind("1\t1\tВопрос 1.1\tВопрос 1.1\n2\t1\t", 0), 0u) << questions.out;
    EXPECT_NE(questions.out.find("18\t3\tВопрос 3.6\tВопрос 3.6\n"), std::string::npos);

    // The stored tickets are what the generator draws for this seed.
    const CliResult generated = cli(
        {"generate", "--tickets", "5", "--questions", "3", "--order", "group", "--seed", "4242"});
    ASSERT_EQ(generated.code, 0) << generated.err;
    EXPECT_EQ(generated.out, "Билетов: 5, вопросов в билете: 3\n");
    EXPECT_EQ(generated.err, ""); // no message, and no progress without a terminal

    kv::generator::GenerationParams params;
    params.ticketCountText = "5";
    params.questionsPerTicketText = "3";
    params.orderQuestions = true;
    params.order = kv::generator::TicketOrder::ByGroup;
    kv::generator::SeedRandom(4242);
    const kv::generator::GenerationResult expected = kv::generator::GenerateTickets(
        kv::generator::ReadQuestions((folder + "/Sys/Voprosy.DBF").toStdString()), 3, params);
    ASSERT_TRUE(expected.ok);
    ASSERT_EQ(expected.places.size(), 15u);
    kv::store::Table tickets;
    tickets.setFileName((folder + "/Sys/Bilety.DBF").toStdString());
    tickets.setReadOnly(true);
    tickets.open();
    ASSERT_EQ(tickets.recordCount(), 15);
    std::size_t i = 0;
    for (tickets.first(); !tickets.eof(); tickets.next(), ++i) {
        const kv::generator::hb &p = expected.places[i];
        EXPECT_EQ(tickets.integerField("NBILETA"), int(i / 3 + 1)) << i;
        EXPECT_EQ(tickets.integerField("NVOPROSA"), int(i % 3 + 1)) << i;
        EXPECT_EQ(tickets.integerField("NPOR"), p.NPOR) << i;
        EXPECT_EQ(tickets.integerField("NGRUPPY"), p.NGRUPPY) << i;
        EXPECT_EQ(tickets.textField("VOPRMEMO"), p.VOPRMEMO) << i;
    }
    tickets.close();

    // The layout is the document the core lays out from those tickets.
    const QString rtf = folder + "/tickets.rtf";
    const CliResult laidOut =
        cli({"layout", "--group-numbers", "--question-numbers", "--indent", "2", "--rtf", rtf});
    ASSERT_EQ(laidOut.code, 0) << laidOut.err;
    {
        kv::store::Table view, groups;
        view.setFileName((folder + "/Sys/Bilety.DBF").toStdString());
        groups.setFileName((folder + "/Sys/Gruppy.dbf").toStdString());
        view.open();
        QTextDocument document;
        document.setDefaultFont(kv::output::OutputFont());
        kv::output::LayoutOptions options;
        options.groupNumbers = options.runningNumbers = true;
        options.indent = 2;
        const auto result = kv::output::LayOutTickets(
            view, document, options, folder + "/Sys",
            [&](std::int64_t g) { return kv::base::LookupGroupName(groups, g); });
        ASSERT_TRUE(result.complete);
        EXPECT_EQ(fileBytes(rtf), kv::output::TicketsRtf(document, ""));
        EXPECT_EQ(cli({"layout", "--group-numbers", "--question-numbers", "--text"}).out,
                  document.toPlainText().toStdString());
    }

    // The saved file reads back to the base it was saved from; loaded into
    // another folder it gives the same tables, and saved from there the same
    // bytes.
    const QString saved = folder + "/Base/kurs.txb";
    ASSERT_EQ(cli({"save-base", saved}).code, 0);
    kv::basefile::BaseTextReader reader;
    ASSERT_TRUE(reader.read(fileBytes(saved).toStdString())) << reader.errorString().toStdString();
    const kv::basefile::BaseData original = base(folder);
    EXPECT_EQ(reader.data(), original);
    EXPECT_EQ(original.tickets.size(), 15u);

    QTemporaryDir other;
    ASSERT_EQ(runCli({"-C", other.path(), "init"}).code, 0);
    const CliResult loaded = runCli({"-C", other.path(), "load-base", saved});
    ASSERT_EQ(loaded.code, 0) << loaded.err;
    EXPECT_EQ(base(other.path()), original);
    for (const char *table : {"questions", "groups", "tickets"})
        EXPECT_EQ(runCli({"-C", other.path(), "dump", table}).out, cli({"dump", table}).out)
            << table;
    ASSERT_EQ(runCli({"-C", other.path(), "save-base", other.path() + "/again.txb"}).code, 0);
    EXPECT_EQ(fileBytes(other.path() + "/again.txb"), fileBytes(saved));
}

TEST_F(CliEndToEnd, EveryCommandHasHelpAndUsageErrorsExitWithTwo)
{
    for (const kv::cli::Command &c : kv::cli::commands()) {
        const CliResult help = runCli({c.name, "--help"});
        EXPECT_EQ(help.code, 0) << c.name;
        EXPECT_EQ(
            help.out.rfind(std::string("Использование: kvirton-cli [-C ПАПКА] ") + c.synopsis, 0),
            0u)
            << c.name << ": " << help.out;
        EXPECT_EQ(help.err, "") << c.name;
    }
    const CliResult all = runCli({"--help"});
    EXPECT_EQ(all.code, 0);
    for (const kv::cli::Command &c : kv::cli::commands())
        EXPECT_NE(all.out.find(c.synopsis), std::string::npos) << c.name;

    ASSERT_EQ(cli({"init"}).code, 0);
    const CliResult unknownOption = cli({"generate", "--tickets", "2", "--colour", "red"});
    EXPECT_EQ(unknownOption.code, 2);
    EXPECT_NE(unknownOption.err.find("--colour"), std::string::npos) << unknownOption.err;
    EXPECT_EQ(runCli({"--verbose", "dump", "groups"}).code, 2);
    EXPECT_EQ(cli({"export"}).code, 2);
    EXPECT_EQ(cli({"dump"}).code, 2);
    EXPECT_EQ(cli({"generate", "--tickets", "many"}).code, 2);
    EXPECT_EQ(cli({"similar", "--percent", "101"}).code, 2);
    EXPECT_EQ(runCli({}).code, 2);
}

TEST_F(CliEndToEnd, FailingJobsLeaveTheTablesByteForByte)
{
    fill();
    ASSERT_EQ(cli({"generate", "--tickets", "3", "--questions", "2", "--seed", "1"}).code, 0);
    const QMap<QString, QByteArray> before = sysFiles(folder);
    ASSERT_EQ(before.size(), 5); // three tables, two memo files

    struct Case
    {
        const char *what;
        QByteArray fileBytes; // a base file to load; empty: the command below
        QStringList args;
    };
    const Case cases[] = {
        // A question line without its separator, after a valid group section.
        {"damaged base file", "\xC0\xEB\xE3\xE5\xE1\xF0\xE0\r\n\r\nquestion\r\n\r\n", {}},
        // Valid groups and questions, then a ticket line with a bad number.
        {"damaged ticket section",
         "G\r\n\r\n1\xA4q\r\n\r\n1\xA4x\xA4\x31\xA4\x31\xA4q\r\n\r\n",
         {}},
        {"base file missing", "", {"load-base", "/nonexistent/folder/b.txb"}},
        {"group counts below the ticket size",
         "",
         {"generate", "--group-counts", "1 1", "--questions", "3", "--seed", "2"}},
        {"more tickets than 16-bit numbers",
         "",
         {"generate", "--tickets", "40000", "--questions", "1", "--allow-repeats"}},
        {"no group counts", "", {"generate", "--group-counts", "x", "--questions", "2"}},
        {"missing template", "", {"layout", "--template", "none.rtf", "--rtf", folder + "/t.rtf"}},
    };
    for (const Case &c : cases) {
        QStringList args = c.args;
        if (!c.fileBytes.isEmpty()) {
            writeFile(folder + "/bad.txb", c.fileBytes);
            args = QStringList{"load-base", folder + "/bad.txb"};
        }
        const CliResult r = cli(args);
        EXPECT_NE(r.code, 0) << c.what;
        EXPECT_FALSE(r.err.empty()) << c.what;
        EXPECT_EQ(sysFiles(folder), before) << c.what;
    }
}

TEST_F(CliEndToEnd, ProgressOnATerminalOnlyAndTheSameResults)
{
    fill();
    const CliResult plain = cli({"similar", "--percent", "50"});
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    EXPECT_NE(plain.out.find("1 § Вопрос 1.1\n"), std::string::npos);

    // stderr on a terminal: what the child writes there arrives at `master`.
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        GTEST_SKIP() << "no pseudo-terminal available";
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    std::string screen;
    auto drain = [&] {
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            screen.append(buffer, std::size_t(n));
    };
    const CliResult onTerminal = cli({"similar", "--percent", "50"}, slave);
    drain();
    const CliResult generated =
        cli({"generate", "--tickets", "4", "--questions", "3", "--seed", "9"}, slave);
    drain();
    ::close(slave);
    ::close(master);

    EXPECT_EQ(onTerminal.code, 0);
    EXPECT_EQ(onTerminal.out, plain.out);
    EXPECT_EQ(generated.code, 0);
    EXPECT_EQ(generated.out, "Билетов: 4, вопросов в билете: 3\n");
    EXPECT_NE(screen.find("\rАнализ: 100 %"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\rГенерация билетов: 25 %"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\rГенерация билетов: 100 %"), std::string::npos) << screen;
    // The line is erased at the end: nothing is left after the last erase.
    EXPECT_EQ(screen.substr(screen.rfind("\r\033[K") + 4), "") << screen;
}

} // namespace

#endif // KV_CLI_EXECUTABLE

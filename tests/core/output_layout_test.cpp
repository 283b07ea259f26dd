// Ticket output: the plain layout, the template engine, template lookup and
// saving, over real tables in a temporary working folder.
#include "common/FixtureFiles.h"
#include "core/base/BaseTables.h"
#include "core/base/GroupLookup.h"
#include "core/output/TicketFile.h"
#include "core/output/TicketLayout.h"
#include "core/output/TicketTemplate.h"
#include "platform/rtf/RtfReader.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

using namespace kv::output;

std::string cp(const QString &text)
{
    return kv::text::toCp1251(text);
}

struct Ticket
{
    std::optional<int> ticket;
    int question;
    int group;
    int running;
    QString text;
};

// A working folder with the three tables; tickets and groups as given.
class OutputFolder
{
public:
    OutputFolder()
    {
        kv::base::createMissingBaseTables(m_dir.path());
        m_tickets.setFileName(path(kv::base::kTicketsFile));
        m_groups.setFileName(path(kv::base::kGroupsFile));
        m_groups.setReadOnly(true);
    }

    std::string path(const char *relative) const
    {
        return QDir(m_dir.path()).filePath(QString::fromLatin1(relative)).toStdString();
    }
    QString sys() const { return QDir(m_dir.path()).filePath(QStringLiteral("Sys")); }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    void addTickets(const std::vector<Ticket> &rows)
    {
        m_tickets.open();
        for (const Ticket &r : rows) {
            m_tickets.append();
            if (r.ticket)
                m_tickets.setIntegerField("NBILETA", *r.ticket);
            m_tickets.setIntegerField("NVOPROSA", r.question);
            m_tickets.setIntegerField("NGRUPPY", r.group);
            m_tickets.setIntegerField("NPOR", r.running);
            m_tickets.setTextField("VOPRMEMO", cp(r.text));
            m_tickets.post();
        }
        m_tickets.close();
    }

    void addGroups(const std::vector<std::pair<int, QString>> &groups)
    {
        kv::store::Table t;
        t.setFileName(path(kv::base::kGroupsFile));
        t.open();
        for (const auto &[number, name] : groups) {
            t.append();
            t.setIntegerField("NGRUPPY", number);
            t.setTextField("NAMEGRUPPA", cp(name));
            t.post();
        }
    }

    void writeTemplate(const QString &name, const QByteArray &rtf) const
    {
        QFile f(QDir(sys()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rtf);
    }

    // The tickets view as the window holds it: filtered to one ticket.
    LayoutResult layOut(QTextDocument &out, const LayoutOptions &options)
    {
        m_tickets.setFilter("NBILETA=1");
        m_tickets.setFiltered(true);
        m_tickets.open();
        LayoutResult r = LayOutTickets(m_tickets, out, options, sys(), [this](std::int64_t g) {
            ++lookups;
            return kv::base::LookupGroupName(m_groups, g);
        });
        EXPECT_TRUE(m_tickets.filtered());
        m_tickets.close();
        return r;
    }

    int lookups = 0;

private:
    QTemporaryDir m_dir;
    kv::store::Table m_tickets;
    kv::store::Table m_groups;
};

// The paragraphs of a document as text; the area's final empty one left out.
QStringList paragraphs(const QTextDocument &doc)
{
    QStringList list;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        list << b.text();
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

QTextBlock blockAt(const QTextDocument &doc, int index)
{
    return doc.findBlockByNumber(index);
}

const QString Q = QStringLiteral("Что такое угол?");

// --- plain layout -------------------------------------------------------------

TEST(PlainLayout, HeadingsAndQuestionLines)
{
    OutputFolder folder;
    folder.addTickets({{1, 1, 3, 7, Q},
                       {1, 2, 4, 9, QStringLiteral("Решите:\r\nx + 1 = 2")},
                       {2, 1, 3, 8, QStringLiteral("Б")},
                       {1, 1, 5, 2, QStringLiteral("В")}});
    QTextDocument out;
    const LayoutResult r = folder.layOut(out, {});
    EXPECT_EQ(r.kind, LayoutKind::Plain);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.records, 4);
    EXPECT_EQ(r.pageSettings, std::optional<std::string>(""));
    const QStringList expected = {QString(),
                                  QStringLiteral("БИЛЕТ №1"),
                                  QString(),
                                  QStringLiteral("1.\tЧто такое угол?"),
                                  QStringLiteral("2.\tРешите:"),
                                  QStringLiteral("x + 1 = 2"),
                                  QString(),
                                  QString(),
                                  QStringLiteral("БИЛЕТ №2"),
                                  QString(),
                                  QStringLiteral("1.\tБ"),
                                  QString(),
                                  QString(),
                                  QStringLiteral("БИЛЕТ №1"),
                                  QString(),
                                  QStringLiteral("1.\tВ")};
    EXPECT_EQ(paragraphs(out), expected);
    EXPECT_EQ(out.blockCount(), expected.size() + 1); // the final empty line

    for (int i : {0, 1, 2, 6, 7, 8, 9}) {
        EXPECT_EQ(blockAt(out, i).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  Qt::AlignHCenter)
            << i;
        EXPECT_EQ(blockAt(out, i).blockFormat().leftMargin(), 0) << i;
    }
    for (int i : {3, 4, 5, 10}) {
        const QTextBlockFormat f = blockAt(out, i).blockFormat();
        EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft) << i;
        EXPECT_EQ(f.leftMargin(), 19) << i;  // the first line starts at the margin,
        EXPECT_EQ(f.textIndent(), -19) << i; // later ones 19 points further in
    }
}

TEST(PlainLayout, BracketOptions)
{
    struct Case
    {
        bool group, running;
        const char16_t *line;
    };
    const Case cases[] = {
        {false, false, u"2.\tЧто такое угол?"},
        {true, false, u"2.\tЧто такое угол?  [гр.4]"},
        {false, true, u"2.\tЧто такое угол?  [впр. №17]"},
        {true, true, u"2.\tЧто такое угол?  [гр.4, впр. №17]"},
    };
    OutputFolder folder;
    folder.addTickets({{3, 2, 4, 17, Q}});
    for (const Case &c : cases) {
        LayoutOptions options;
        options.groupNumbers = c.group;
        options.runningNumbers = c.running;
        QTextDocument out;
        folder.layOut(out, options);
        EXPECT_EQ(paragraphs(out).value(3), QString::fromUtf16(c.line));
    }
}

TEST(PlainLayout, TicketZeroFirstAndSliderBounds)
{
    OutputFolder folder;
    folder.addTickets({{0, 1, 1, 1, QStringLiteral("А")}, {5, 1, 1, 2, QStringLiteral("Б")}});
    for (const auto &[indent, hanging] : {std::pair{0, 19.0}, std::pair{80, 659.0}}) {
        LayoutOptions options;
        options.indent = indent;
        QTextDocument out;
        folder.layOut(out, options);
        EXPECT_EQ(paragraphs(out), (QStringList{QStringLiteral("1.\tА"),
                                                {},
                                                {},
                                                QStringLiteral("БИЛЕТ №5"),
                                                {},
                                                QStringLiteral("1.\tБ")}));
        EXPECT_EQ(blockAt(out, 0).blockFormat().leftMargin(), hanging);
        EXPECT_EQ(blockAt(out, 0).blockFormat().textIndent(), -hanging);
    }
}

TEST(PlainLayout, EmptyTableGivesEmptyOutputAndClearsPageSettings)
{
    OutputFolder folder;
    QTextDocument out;
    out.setPlainText(QStringLiteral("прежний текст"));
    const LayoutResult r = folder.layOut(out, {});
    EXPECT_TRUE(out.toPlainText().isEmpty());
    EXPECT_EQ(r.pageSettings, std::optional<std::string>(""));
}

TEST(PlainLayout, StartIndentShiftsEveryParagraphAndKeepsTheHangingIndent)
{
    OutputFolder folder;
    folder.addTickets({{1, 1, 1, 1, Q}});
    QTextDocument out;
    folder.layOut(out, {});
    SetStartIndent(out, 5);
    const QTextBlockFormat heading = blockAt(out, 1).blockFormat();
    const QTextBlockFormat question = blockAt(out, 3).blockFormat();
    EXPECT_EQ(heading.leftMargin() + heading.textIndent(), 40);
    EXPECT_EQ(question.leftMargin() + question.textIndent(), 40); // first line
    EXPECT_EQ(question.textIndent(), -19);                        // hanging indent kept
    SetStartIndent(out, 0);
    EXPECT_EQ(blockAt(out, 3).blockFormat().leftMargin(), 19);
}

// --- template engine -------------------------------------------------------------

// A template of plain lines, Windows-1251 text.
QByteArray rtfOf(const QStringList &lines)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}\n";
    for (const QString &line : lines) {
        rtf += "\\pard ";
        for (const char c : cp(line)) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x80 || c == '{' || c == '}' || c == '\\')
                rtf += QByteArray("\\'") + QByteArray::number(byte, 16);
            else
                rtf += c;
        }
        rtf += "\\par\n";
    }
    return rtf + "}";
}

// Marks every boundary with a line showing the values it is filled with.
const QStringList kBoundaryTemplate = {
    QStringLiteral("#&NVOPROSA#QE %NBILETA%/%NGRUPPY%/%NVOPROSA%"),
    QStringLiteral("#NBILETA#TB %NBILETA%"),
    QStringLiteral("#&NGRUPPY#GE %NBILETA%/%NGRUPPY%"),
    QStringLiteral("#NGRUPPY#GB %NGRUPPY% %NAMEGRUPPA%"),
    QStringLiteral("#NVOPROSA#QB %NVOPROSA% %NVOPROSAGRUPPY% %NPOR%"),
    QStringLiteral("#&NBILETA#TE %NBILETA%"),
    QStringLiteral("Строка без метки %NBILETA%"),
};

TEST(TemplateLayout, BoundariesInMarkerOrder)
{
    OutputFolder folder;
    folder.addGroups({{1, QStringLiteral("Алгебра")}, {2, QStringLiteral("Геометрия")}});
    // Ticket 1: groups 1, 2, 1 (the group comes back); ticket 2 begins with
    // the group ticket 1 ended with.
    folder.addTickets({{1, 1, 1, 11, QStringLiteral("а")},
                       {1, 2, 2, 12, QStringLiteral("б")},
                       {1, 3, 1, 13, QStringLiteral("в")},
                       {2, 1, 1, 14, QStringLiteral("г")},
                       {2, 2, 1, 15, QStringLiteral("д")}});
    folder.writeTemplate(QStringLiteral("t.rtf"), rtfOf(kBoundaryTemplate));
    LayoutOptions options;
    options.useTemplate = true;
    options.templateName = " t.rtf\t";
    QTextDocument out;
    const LayoutResult r = folder.layOut(out, options);
    ASSERT_TRUE(r.complete) << r.error.toStdString();
    EXPECT_EQ(r.kind, LayoutKind::Template);
    EXPECT_EQ(r.pageSettings, std::optional<std::string>(""));
    EXPECT_EQ(folder.lookups, 2); // each group looked up once
    const QStringList expected = {
        // first record: the three beginnings
        QStringLiteral("TB 1"), QStringLiteral("GB 1 Алгебра"), QStringLiteral("QB 1 1 11"),
        // question 2, group 2: closers filled with the new record's values
        QStringLiteral("QE 1/2/2"), QStringLiteral("GE 1/2"), QStringLiteral("GB 2 Геометрия"),
        QStringLiteral("QB 2 1 12"),
        // group 1 again: its position starts at 1
        QStringLiteral("QE 1/1/3"), QStringLiteral("GE 1/1"), QStringLiteral("GB 1 Алгебра"),
        QStringLiteral("QB 3 1 13"),
        // ticket 2 with the same group: the run is closed and opened again
        QStringLiteral("QE 2/1/1"), QStringLiteral("GE 2/1"), QStringLiteral("TE 2"),
        QStringLiteral("TB 2"), QStringLiteral("GB 1 Алгебра"), QStringLiteral("QB 1 1 14"),
        QStringLiteral("QE 2/1/2"), QStringLiteral("QB 2 2 15"),
        // the end closes with the last record's values
        QStringLiteral("QE 2/1/2"), QStringLiteral("GE 2/1"), QStringLiteral("TE 2")};
    EXPECT_EQ(paragraphs(out), expected);
}

TEST(TemplateLayout, WorkedExampleOnEveryFixtureTemplate)
{
    struct Case
    {
        const char *program;
        bool groupEndLine; // pandoc lost the space after #&NGRUPPY#
    };
    for (const Case c : {Case{"libreoffice", true}, Case{"abiword", true}, Case{"pandoc", false}}) {
        const std::string file = kv::test::exampleTemplate(c.program);
        SCOPED_TRACE(file);
        OutputFolder folder;
        folder.addGroups({{1, QStringLiteral("Алгебра")}, {2, QStringLiteral("Геометрия")}});
        folder.addTickets({{1, 1, 1, 1, QStringLiteral("Первый")},
                           {1, 2, 1, 2, QStringLiteral("Второй")},
                           {1, 3, 2, 3, QStringLiteral("Третий")}});
        QFile fixture(QStringLiteral(KV_FIXTURES_DIR "/") + QString::fromStdString(file));
        ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
        folder.writeTemplate(QStringLiteral("Шаблон.rtf"), fixture.readAll());
        LayoutOptions options;
        options.useTemplate = true;
        options.templateName = cp(QStringLiteral("Шаблон.rtf"));
        QTextDocument out;
        const LayoutResult r = folder.layOut(out, options);
        ASSERT_TRUE(r.complete) << r.error.toStdString();
        QStringList expected = {QStringLiteral("Билет № 1"), QStringLiteral("Алгебра"),
                                QStringLiteral("1. Первый"), QStringLiteral("2. Второй")};
        if (c.groupEndLine)
            expected << QStringLiteral(" ");
        expected << QStringLiteral("Геометрия") << QStringLiteral("1. Третий");
        if (c.groupEndLine)
            expected << QStringLiteral(" ");
        EXPECT_EQ(paragraphs(out), expected);
    }
}

TEST(TemplateLayout, VariablesInValuesAndTexts)
{
    OutputFolder folder;
    folder.addGroups({{1, QStringLiteral("Алгебра")}});
    folder.addTickets({{1, 1, 1, 5, QStringLiteral("%NAMEGRUPPA% и %VOPRMEMO%")},
                       {1, 2, 9, 6, QStringLiteral("Строка 1\r\nСтрока 2")}});
    folder.writeTemplate(
        QStringLiteral("t.rtf"),
        rtfOf({QStringLiteral("#NVOPROSA#%NPOR%-%NPOR%: %VOPRMEMO% #NBILETA#"),
               QStringLiteral(" #NVOPROSA#marker not at the start"), QStringLiteral("#NVOPROSA#"),
               QStringLiteral("#NGRUPPY#[%NAMEGRUPPA%]")}));
    LayoutOptions options;
    options.useTemplate = true;
    options.templateName = "t.rtf";
    QTextDocument out;
    ASSERT_TRUE(folder.layOut(out, options).complete);
    EXPECT_EQ(paragraphs(out), (QStringList{
                                   QStringLiteral("[Алгебра]"),
                                   QStringLiteral("5-5: Алгебра и %VOPRMEMO% #NBILETA#"),
                                   QStringLiteral("[]"), // group 9 has no record
                                   QStringLiteral("6-6: Строка 1"),
                                   QStringLiteral("Строка 2 #NBILETA#"),
                               }));
}

TEST(TemplateLayout, ValuesTakeTheFormatOfTheVariableAndTheLineKeepsItsParagraph)
{
    OutputFolder folder;
    folder.addTickets({{1, 1, 1, 5, QStringLiteral("один\r\nдва")}});
    // "%VOPRMEMO%" begins bold and ends plain; the line is centred.
    folder.writeTemplate(QStringLiteral("t.rtf"),
                         "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\qc\\li400 "
                         "#NVOPROSA#{\\i x}{\\b %VOPR}MEMO%y\\par}");
    LayoutOptions options;
    options.useTemplate = true;
    options.templateName = "T.RTF"; // letter case of the name does not matter
    QTextDocument out;
    ASSERT_TRUE(folder.layOut(out, options).complete);
    ASSERT_EQ(paragraphs(out), (QStringList{QStringLiteral("xодин"), QStringLiteral("дваy")}));
    for (int i : {0, 1}) {
        const QTextBlockFormat f = blockAt(out, i).blockFormat();
        EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(f.leftMargin(), 20);
    }
    auto formatAt = [&](int block, int offset) {
        QTextCursor c(blockAt(out, block));
        c.setPosition(blockAt(out, block).position() + offset + 1);
        return c.charFormat();
    };
    EXPECT_TRUE(formatAt(0, 0).fontItalic());            // "x"
    EXPECT_EQ(formatAt(0, 1).fontWeight(), QFont::Bold); // "один"
    EXPECT_EQ(formatAt(1, 2).fontWeight(), QFont::Bold); // "два"
    EXPECT_NE(formatAt(1, 3).fontWeight(), QFont::Bold); // "y"
}

TEST(TemplateLayout, MissingTemplatesAndNamesWithFolders)
{
    OutputFolder folder;
    folder.addTickets({{1, 1, 1, 1, Q}});
    // A real file one folder up is still refused: the name must stay in Sys.
    QFile outside(folder.file(QStringLiteral("x.rtf")));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.write(rtfOf({QStringLiteral("#NBILETA#X")}));
    outside.close();
    for (const char *name : {"nothing.rtf", "../x.rtf", "./../x.rtf", "..\\x.rtf", ".."}) {
        LayoutOptions options;
        options.useTemplate = true;
        options.templateName = name;
        QTextDocument out;
        out.setPlainText(QStringLiteral("прежний текст"));
        const LayoutResult r = folder.layOut(out, options);
        EXPECT_EQ(r.kind, LayoutKind::MissingTemplate) << name;
        EXPECT_FALSE(r.pageSettings.has_value()) << name;
        EXPECT_TRUE(out.toPlainText().isEmpty()) << name;
    }
    // A ticked template box with an empty name gives the plain layout.
    LayoutOptions options;
    options.useTemplate = true;
    options.templateName = " \t";
    QTextDocument out;
    EXPECT_EQ(folder.layOut(out, options).kind, LayoutKind::Plain);
}

TEST(TemplateLayout, PageSettingsAndFixtureFormats)
{
    OutputFolder folder;
    folder.addGroups({{1, QStringLiteral("Алгебра")}});
    folder.addTickets({{1, 1, 1, 4, QStringLiteral("Вопрос")}});
    for (const char *file : {"word2003-page-settings.rtf", "wordpad-cp1251.rtf"}) {
        QFile fixture(QStringLiteral(KV_FIXTURES_DIR "/templates/") + QLatin1String(file));
        ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
        folder.writeTemplate(QLatin1String(file), fixture.readAll());
    }
    LayoutOptions options;
    options.useTemplate = true;
    options.templateName = "word2003-page-settings.rtf";
    QTextDocument out;
    LayoutResult r = folder.layOut(out, options);
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.pageSettings,
              std::optional<std::string>(
                  "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134"));
    EXPECT_EQ(paragraphs(out),
              (QStringList{QStringLiteral("БИЛЕТ № 1"), QStringLiteral(" "),
                           QStringLiteral("1.\tВопрос [Алгебра, №4]"), QStringLiteral(" "),
                           QStringLiteral("Экзаменатор ________")}));
    EXPECT_EQ(blockAt(out, 4).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    options.templateName = "wordpad-cp1251.rtf";
    r = folder.layOut(out, options);
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.pageSettings, std::optional<std::string>(""));
    EXPECT_EQ(paragraphs(out), (QStringList{QStringLiteral("Экзаменационный билет № 1"),
                                            QStringLiteral("по дисциплине «Математика»"),
                                            QStringLiteral(" "), QStringLiteral("Раздел: Алгебра"),
                                            QStringLiteral("1. Вопрос"), QStringLiteral(" "),
                                            QStringLiteral("Заведующий кафедрой ____________")}));
    const QTextBlockFormat question = blockAt(out, 4).blockFormat();
    EXPECT_EQ(question.leftMargin(), 18); // \li360
    EXPECT_EQ(question.textIndent(), -18);
}

TEST(TemplateLayout, BadRecordEndsTheLayoutAndKeepsWhatWasLaidOut)
{
    OutputFolder folder;
    folder.addTickets(
        {{1, 1, 1, 1, QStringLiteral("А")}, {std::nullopt, 2, 1, 2, QStringLiteral("Б")}});
    folder.writeTemplate(QStringLiteral("t.rtf"), rtfOf({QStringLiteral("#NVOPROSA#%VOPRMEMO%")}));
    LayoutOptions options;
    options.useTemplate = true;
    options.templateName = "t.rtf";
    QTextDocument out;
    const LayoutResult r = folder.layOut(out, options); // also checks the filter is back on
    EXPECT_FALSE(r.complete);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(paragraphs(out), QStringList{QStringLiteral("А")});
}

// --- template list and saving ---------------------------------------------------

TEST(TicketTemplates, ListOfRtfFilesInSys)
{
    OutputFolder folder;
    const QDir sys(folder.sys());
    for (const char *name : {"b.rtf", "A.RTF", "c.txt", "Шаблон.Rtf"}) {
        QFile f(sys.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(sys.mkdir(QStringLiteral("folder.rtf")));
    EXPECT_EQ(TemplateNames(folder.sys()),
              (std::vector<QString>{QStringLiteral("A.RTF"), QStringLiteral("b.rtf"),
                                    QStringLiteral("Шаблон.Rtf")}));
    EXPECT_TRUE(TemplateNames(folder.file(QStringLiteral("missing"))).empty());
    EXPECT_FALSE(TemplatePath(folder.sys(), "folder.rtf").has_value());
}

TEST(TicketFile, SavedFileCarriesPageSettingsAndReadsBack)
{
    OutputFolder folder;
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("БИЛЕТ №1\n1.\tВопрос"));
    const QByteArray plain = TicketsRtf(doc, "");
    EXPECT_TRUE(plain.startsWith("{\\rtf1\\"));
    EXPECT_EQ(TicketsRtf(doc, " \r\n"), plain); // blanks only: not inserted
    EXPECT_EQ(TicketsRtf(doc, "\\paperw100 "), "{\\rtf1\\paperw100 " + plain.mid(6));

    const QString path = folder.file(QStringLiteral("out.rtf"));
    QString error;
    ASSERT_TRUE(SaveTicketsRtf(doc, "\\paperw100 ", path, &error)) << error.toStdString();
    QTextDocument back;
    ASSERT_TRUE(kv::rtf::RtfReader().readFile(path, &back));
    EXPECT_EQ(back.toPlainText().trimmed(), doc.toPlainText());
}

TEST(TicketFile, FailedSaveLeavesTheOldFileWhole)
{
    OutputFolder folder;
    const QString path = folder.file(QStringLiteral("old.rtf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("новое"));

    // Files may not grow beyond 16 bytes while saving: the write fails as on
    // a full disk, whatever the user's privileges.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{16, limit.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = SaveTicketsRtf(doc, "", path, &error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old content");
    EXPECT_EQ(QDir(folder.file(QString())).entryList(QDir::Files),
              QStringList{QStringLiteral("old.rtf")});
}

} // namespace

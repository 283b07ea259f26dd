// layout: the same text as the window's layout, saved as RTF or printed;
// a missing template and a failed layout write no file.
#include "CliTestSupport.h"
#include "cli/Cli.h"
#include "core/base/BaseTables.h"
#include "core/base/GroupLookup.h"
#include "core/output/TicketFile.h"
#include "core/output/TicketLayout.h"
#include "platform/store/Table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <sstream>

using namespace kv::cli::support;

namespace {

// Two tickets of two questions drawn from a small base with group names.
struct Folder
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString();
    Folder()
    {
        cli({"-C", path, "init"});
        QFile list(dir.filePath("list.txt"));
        list.open(QIODevice::WriteOnly);
        list.write("\xEF\xBB\xBF\xD0\x90\xD0\xB1\r\nA2\r\n\r\nB1\r\nB2\r\n");
        list.close();
        QFile names(dir.filePath("names.txt"));
        names.open(QIODevice::WriteOnly);
        names.write("First\nSecond\n");
        names.close();
        cli({"-C", path, "import-questions", dir.filePath("list.txt").toStdString()});
        cli({"-C", path, "import-groups", dir.filePath("names.txt").toStdString()});
        cli({"-C", path, "generate", "--tickets", "2", "--questions", "2", "--seed", "5"});
        QFile t(dir.filePath("Sys/t.rtf"));
        t.open(QIODevice::WriteOnly);
        t.write("{\\rtf1\\paperw100\\margl7\\gutter0 \\pard #NBILETA#T%NBILETA%\\par"
                "\\pard #NVOPROSA#%NVOPROSA%: %VOPRMEMO% (%NAMEGRUPPA%)\\par}");
    }

    // The window's layout of the same tickets, through the core.
    QTextDocument *expected(const kv::output::LayoutOptions &options, std::string *settings)
    {
        kv::store::Table tickets, groups;
        tickets.setFileName(dir.filePath("Sys/Bilety.DBF").toStdString());
        groups.setFileName(dir.filePath("Sys/Gruppy.dbf").toStdString());
        tickets.open();
        auto *doc = new QTextDocument;
        doc->setDefaultFont(kv::output::OutputFont());
        const auto r = kv::output::LayOutTickets(
            tickets, *doc, options, dir.filePath("Sys"),
            [&](std::int64_t g) { return kv::base::LookupGroupName(groups, g); });
        *settings = r.pageSettings.value_or("");
        return doc;
    }
};

TEST(CliLayout, SameDocumentAsTheWindowsLayout)
{
    Folder f;
    kv::output::LayoutOptions plain;
    plain.groupNumbers = plain.runningNumbers = true;
    plain.indent = 3;
    std::string settings;
    std::unique_ptr<QTextDocument> doc(f.expected(plain, &settings));

    const QString rtf = f.dir.filePath("plain.rtf");
    CliRun r = cli({"-C", f.path, "layout", "--group-numbers", "--question-numbers", "--indent",
                    "3", "--rtf", rtf.toStdString()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(fileBytes(rtf), kv::output::TicketsRtf(*doc, settings));

    r = cli({"-C", f.path, "layout", "--group-numbers", "--question-numbers", "--text"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, doc->toPlainText().toStdString()); // the final empty line as the line end
    EXPECT_EQ(r.out.rfind("\nБИЛЕТ №2\n"), r.out.find("\nБИЛЕТ №2\n"));

    kv::output::LayoutOptions withTemplate;
    withTemplate.useTemplate = true;
    withTemplate.templateName = "t.rtf";
    doc.reset(f.expected(withTemplate, &settings));
    EXPECT_EQ(settings, "\\paperw100\\margl7");
    r = cli({"-C", f.path, "layout", "--template", "t.rtf", "--rtf", rtf.toStdString()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(fileBytes(rtf), kv::output::TicketsRtf(*doc, settings));
    r = cli({"-C", f.path, "layout", "--template", "t.rtf", "--text"});
    EXPECT_NE(r.out.find("(First)"), std::string::npos);
    EXPECT_NE(r.out.find("(Second)"), std::string::npos);
}

TEST(CliLayout, FailuresWriteNoFile)
{
    Folder f;
    const QString rtf = f.dir.filePath("out.rtf");
    CliRun r = cli({"-C", f.path, "layout", "--template", "none.rtf", "--rtf", rtf.toStdString()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("none.rtf"), std::string::npos);
    r = cli({"-C", f.path, "layout", "--template", "../list.txt", "--text"});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(rtf));

    // A template that is not RTF ends the layout with the reader's message.
    QFile bad(f.dir.filePath("Sys/bad.rtf"));
    bad.open(QIODevice::WriteOnly);
    bad.write("plain text");
    bad.close();
    r = cli({"-C", f.path, "layout", "--template", "bad.rtf", "--rtf", rtf.toStdString()});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(QFile::exists(rtf));

    const std::vector<std::vector<std::string>> usageErrors = {
        {"layout"},
        {"layout", "--text", "--rtf", "x"},
        {"layout", "--text", "--indent", "81"},
        {"layout", "--text", "extra"}};
    for (std::vector<std::string> args : usageErrors) {
        args.insert(args.begin(), {"-C", f.path});
        EXPECT_EQ(cli(args).code, 2) << args.back();
    }
}

} // namespace

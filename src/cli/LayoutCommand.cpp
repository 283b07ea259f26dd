// layout: the tickets as text, plainly or through a template, as the
// "Печать билетов" tab lays them out; saved as RTF or printed as plain text.
#include "Args.h"
#include "Commands.h"
#include "Progress.h"

#include "core/base/BaseTables.h"
#include "core/base/GroupLookup.h"
#include "core/output/TicketFile.h"
#include "core/output/TicketLayout.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

#include <QDir>
#include <QTextDocument>

namespace kv::cli {

int runLayout(Context &context)
{
    const Args args(context.args, {"--group-numbers", "--question-numbers", "--text"},
                    {"--template", "--indent", "--rtf"});
    if (!args.positional().empty())
        throw UsageError("лишний аргумент " + args.positional()[0]);
    const auto rtf = args.value("--rtf");
    if (rtf.has_value() == args.has("--text"))
        throw UsageError("нужен ровно один из ключей --rtf ФАЙЛ и --text");
    kv::output::LayoutOptions options;
    options.groupNumbers = args.has("--group-numbers");
    options.runningNumbers = args.has("--question-numbers");
    options.indent = int(args.number("--indent").value_or(0));
    if (options.indent > 80)
        throw UsageError("--indent принимает число от 0 до 80");
    if (const auto name = args.value("--template")) {
        options.useTemplate = true;
        options.templateName = kv::text::toCp1251(QString::fromStdString(*name));
    }

    kv::store::Table tickets;
    tickets.setFileName(kv::base::kTicketsFile);
    tickets.setReadOnly(true);
    tickets.open();
    kv::store::Table groups;
    groups.setFileName(kv::base::kGroupsFile);
    groups.setReadOnly(true);

    QTextDocument document;
    document.setDefaultFont(kv::output::OutputFont());
    const QString sysFolder = QDir::current().filePath(QString::fromLatin1(kv::base::kSysFolder));
    const kv::output::LayoutResult result =
        kv::output::LayOutTickets(tickets, document, options, sysFolder, [&](std::int64_t group) {
            return kv::base::LookupGroupName(groups, group);
        });
    tickets.close();
    if (result.kind == kv::output::LayoutKind::MissingTemplate) {
        context.err << "Шаблон «" << *args.value("--template") << "» не найден в папке Sys.\n";
        return kExitFailed;
    }
    if (!result.complete) {
        context.err << "Билеты не получены: " << result.error.toStdString() << '\n';
        return kExitFailed;
    }
    if (args.has("--text")) {
        // The paragraphs as lines; the area's final empty line is not printed.
        QString text = document.toPlainText();
        if (text.endsWith(u'\n'))
            text.chop(1);
        if (!text.isEmpty())
            context.out << text.toStdString() << '\n';
        return kExitOk;
    }
    QString error;
    const QString path = QString::fromStdString(*rtf);
    if (!kv::output::SaveTicketsRtf(document, result.pageSettings.value_or(std::string()), path,
                                    &error)) {
        context.err << "Не удалось сохранить файл " << QDir::toNativeSeparators(path).toStdString()
                    << ": " << error.toStdString() << '\n';
        return kExitFailed;
    }
    context.out << "Сохранено: " << QDir::toNativeSeparators(path).toStdString()
                << " (вопросов в билетах: " << result.records << ")\n";
    return kExitOk;
}

} // namespace kv::cli

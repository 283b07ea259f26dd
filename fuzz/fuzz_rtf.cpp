// Feeds arbitrary bytes to the RTF reader, then writes what it read and reads
// that again: neither direction may crash, hang or grow without bound, and the
// writer's output must always be readable. What was read also serves as a
// ticket template: every marker's lines are filled and emitted.
#include "core/output/TicketTemplate.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTextDocument document;
    kv::rtf::RtfReader reader;
    reader.read(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), &document);
    const QByteArray rtf = kv::rtf::writeRtf(document);
    QTextDocument again;
    if (!reader.read(rtf, &again) || again.toRawText() != document.toRawText())
        std::abort();

    using namespace kv::output;
    const TicketTemplate ticketTemplate(document);
    STBilet row;
    row.ticketText = "12";
    row.groupText = "%NPOR%";
    row.questionText = "%NVOPROSA%";
    row.runningNumberText = "%NVOPROSAGRUPPY%";
    row.questionBody = "line 1\r\n%NAMEGRUPPA%\rline 3\n";
    row.groupName = "%VOPRMEMO%";
    row.groupPositionText = "";
    QTextDocument output;
    QTextCursor end(&output);
    for (std::string_view marker :
         {kTicketBegins, kGroupBegins, kQuestionBegins, kQuestionEnds, kGroupEnds, kTicketEnds})
        ticketTemplate.emitLines(marker, row, end);
    return 0;
}

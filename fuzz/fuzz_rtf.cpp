// Feeds arbitrary bytes to the RTF reader, then writes what it read and reads
// that again: neither direction may crash, hang or grow without bound, and the
// writer's output must always be readable.
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
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
    return 0;
}

#include "TicketFile.h"

#include "platform/rtf/RtfPageSettings.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/text/SafeFile.h"

namespace kv::output {

QByteArray TicketsRtf(const QTextDocument &document, const std::string &pageSettings)
{
    return kv::rtf::insertPageSettings(kv::rtf::writeRtf(document), pageSettings);
}

bool SaveTicketsRtf(const QTextDocument &document, const std::string &pageSettings,
                    const QString &path, QString *error)
{
    const QByteArray bytes = TicketsRtf(document, pageSettings);
    return kv::text::saveFileSafely(path, bytes, error);
}

} // namespace kv::output

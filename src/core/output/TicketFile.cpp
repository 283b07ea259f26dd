#include "TicketFile.h"

#include "platform/rtf/RtfPageSettings.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/text/SafeFile.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QTextDocument>

#include <memory>

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

void PrintTickets(const QTextDocument &document, QPagedPaintDevice &device)
{
    // A document with a page size prints page by page as it stands; the
    // page size is the printable area in the document's (screen) units, so
    // that sizes come out true on paper.
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setDefaultFont(document.defaultFont());
    copy->setDocumentMargin(0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal screenDpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const qreal screenDpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    copy->setPageSize(QSizeF(device.width() * screenDpiX / device.logicalDpiX(),
                             device.height() * screenDpiY / device.logicalDpiY()));
    copy->print(&device);
}

} // namespace kv::output

#pragma once
// Saving the laid-out tickets as an RTF file for word processors, and
// printing them.

#include <QByteArray>
#include <QString>

#include <string>

class QPagedPaintDevice;
class QTextDocument;

namespace kv::output {

// The saved form of the document: its RTF with `pageSettings` (the page size
// and margins of the template last used) right after "{\rtf1".
QByteArray TicketsRtf(const QTextDocument &document, const std::string &pageSettings);

// Writes TicketsRtf to `path` through a temporary file beside it that then
// replaces the old file, so a failure leaves any previous file whole. On
// failure returns false and sets `error` (the system's reason).
bool SaveTicketsRtf(const QTextDocument &document, const std::string &pageSettings,
                    const QString &path, QString *error = nullptr);

// Prints the whole document as it is laid out on the screen, filling the
// printable area of each page of `device`: no margins, header, footer or page
// numbers of its own.
void PrintTickets(const QTextDocument &document, QPagedPaintDevice &device);

} // namespace kv::output

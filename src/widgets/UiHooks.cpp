#include "UiHooks.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

#include "platform/text/Cp1251.h"

namespace kv::widgets {

namespace {
UiHooks &hooks()
{
    static UiHooks h;
    return h;
}
} // namespace

void setUiHooks(UiHooks h)
{
    hooks() = std::move(h);
}

bool confirm(const QString &title, const QString &text)
{
    if (hooks().confirm)
        return hooks().confirm(title, text);
    return QMessageBox::question(QApplication::activeWindow(), title, text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QString errorText(const char *what)
{
    const QByteArrayView bytes(what);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return kv::text::fromCp1251(std::string_view(bytes.data(), bytes.size()));
}

void showError(const QString &text)
{
    if (hooks().showError) {
        hooks().showError(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                          text);
}

} // namespace kv::widgets

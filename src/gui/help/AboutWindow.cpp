#include "AboutWindow.h"

#include "core/app/ProjectInfo.h"
#include "gui/MessageService.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

namespace kv::gui {

namespace {

constexpr int kWidth = 415;
constexpr int kHeight = 244;

QPixmap backgroundPicture()
{
    QPixmap picture(kWidth, kHeight);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(0x1E, 0x3C, 0x78));
    sky.setColorAt(0.55, QColor(0x6A, 0x9F, 0xD8));
    sky.setColorAt(1.0, QColor(0xE8, 0xF0, 0xFA));
    painter.fillRect(picture.rect(), sky);
    // A stack of ticket cards on the right.
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const QRectF card(270 + i * 14, 40 + i * 12, 100, 64);
        painter.setPen(QPen(QColor(0x40, 0x40, 0x60), 1));
        painter.setBrush(QColor(0xFF, 0xFC, 0xE8));
        painter.drawRoundedRect(card, 4, 4);
        painter.setPen(QPen(QColor(0x90, 0x90, 0xA8), 1));
        for (int line = 0; line < 3; ++line)
            painter.drawLine(QPointF(card.left() + 10, card.top() + 18 + line * 14),
                             QPointF(card.right() - 10, card.top() + 18 + line * 14));
    }
    return picture;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QColor &colour,
              bool bold)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colour);
    l->setPalette(palette);
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    font.setPixelSize(17);
    font.setBold(bold);
    l->setFont(font);
    return l;
}

QLabel *titleLabel(QWidget *parent, const char *name, const QString &text)
{
    QLabel *l = label(parent, name, text, Qt::yellow, true);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(27);
    font.setBold(true);
    l->setFont(font);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

TForm3::TForm3(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(backgroundPicture());
    Image1->setScaledContents(true);
    Image1->setGeometry(0, 0, kWidth, kHeight);

    Label5 = titleLabel(this, "Label5", QString::fromUtf8(kv::app::kApplicationTitle));
    Label5->setGeometry(0, 14, 260, 36);
    Label7 = titleLabel(this, "Label7", QStringLiteral("v1.3  2018 г."));
    Label7->setGeometry(0, 52, 260, 36);

    const QColor navy(0x00, 0x00, 0x80);
    const auto caption = [&](const char *name, const char *text, int y) {
        QLabel *l = label(this, name, QString::fromUtf8(text), Qt::black, false);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(0, y, 59, 24);
        return l;
    };
    const auto value = [&](const char *name, const char *text, int y, bool link) {
        QLabel *l = label(this, name, QString::fromUtf8(text), navy, true);
        if (link) {
            QFont font = l->font();
            font.setUnderline(true);
            l->setFont(font);
            l->setMouseTracking(true);
            l->installEventFilter(this);
        }
        l->setGeometry(62, y, kWidth - 66, 24);
        // The font's letters may be wider than the design's: a value that
        // does not fit is drawn smaller rather than cut.
        QFont fitted = l->font();
        while (fitted.pixelSize() > 10 &&
               QFontMetrics(fitted).horizontalAdvance(l->text()) > l->width()) {
            fitted.setPixelSize(fitted.pixelSize() - 1);
        }
        l->setFont(fitted);
        return l;
    };
    Label1 = caption("Label1", "Автор:", 120);
    Label2 = value("Label2", kv::app::kAuthorLine, 120, false);
    Label3 = caption("Label3", "Mail:", 146);
    Label4 = value("Label4", kv::app::kAuthorMail, 146, true);
    Label6 = caption("Label6", "www:", 172);
    Label8 = value("Label8", kv::app::kWebAddress, 172, true);

    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    QFont font = BitBtn1->font();
    font.setBold(true);
    font.setPixelSize(15);
    BitBtn1->setFont(font);
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(kWidth - 100, kHeight - 40, 88, 30);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
}

TForm3::~TForm3()
{
    Label4MouseLeave();
}

void TForm3::BitBtn1Click()
{
    accept();
}

void TForm3::Label4MouseDown()
{
    MessageService::openUrl(QUrl(QStringLiteral("mailto:") + Label4->text()));
}

void TForm3::Label8MouseDown()
{
    MessageService::openUrl(QUrl(Label8->text()));
}

void TForm3::Label4MouseMove()
{
    if (QApplication::overrideCursor() == nullptr) {
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
        m_handSet = true;
    }
}

void TForm3::Label4MouseLeave()
{
    if (m_handSet) {
        m_handSet = false;
        QApplication::restoreOverrideCursor();
    }
}

bool TForm3::eventFilter(QObject *watched, QEvent *event)
{
    const bool address = watched == Label4 || watched == Label8;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == Label4)
            Label4MouseDown();
        else if (watched == Label8)
            Label8MouseDown();
        break;
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (address)
            Label4MouseMove();
        else if (watched == Image1)
            Label4MouseLeave();
        break;
    case QEvent::Leave:
        if (address)
            Label4MouseLeave();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm3::hideEvent(QHideEvent *event)
{
    // A hand left over an address must not outlive the box.
    Label4MouseLeave();
    QDialog::hideEvent(event);
}

} // namespace kv::gui

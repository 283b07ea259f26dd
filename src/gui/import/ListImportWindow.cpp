#include "ListImportWindow.h"

#include "core/import/TextList.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/dbf/FileLookup.h"
#include "platform/store/Table.h"
#include "platform/text/Cp1251.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <exception>

namespace kv::gui {

ListImportWindow::ListImportWindow(QWidget *parent, const QString &objectName,
                                   const QString &caption, const QString &labelText)
    : QDialog(parent), Form1(qobject_cast<TForm1 *>(parent))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setMinimumSize(700, 500);
    resize(700, 500);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    N1_Open = MainMenu1->addAction(QStringLiteral("&Открыть файл"));
    N1_Open->setObjectName(QStringLiteral("N1_Open"));
    N2_Save = MainMenu1->addAction(QStringLiteral("&Сохранить файл"));
    N2_Save->setObjectName(QStringLiteral("N2_Save"));
    N3_Zagr = MainMenu1->addAction(QStringLiteral("&Загрузить в базу"));
    N3_Zagr->setObjectName(QStringLiteral("N3_Zagr"));
    connect(N1_Open, &QAction::triggered, this, &ListImportWindow::N1_OpenClick);
    connect(N2_Save, &QAction::triggered, this, &ListImportWindow::N2_SaveClick);
    connect(N3_Zagr, &QAction::triggered, this, [this] { N3_ZagrClick(); });
    layout->setMenuBar(MainMenu1);

    m_body = new QVBoxLayout;
    m_body->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(m_body, 1);

    Label1 = new QLabel(labelText, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont memoFont(QStringLiteral("Times New Roman"));
    memoFont.setPixelSize(20);
    Memo1->setFont(memoFont);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(StatusBar1);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void ListImportWindow::finishLayout()
{
    m_body->addWidget(Label1);
    m_body->addWidget(Memo1, 1);
}

QString ListImportWindow::baseFolder() const
{
    const std::string programDir = Form1 ? Form1->ProgramDir : QDir::currentPath().toStdString();
    const std::string folder = kv::dbf::resolvePathNoCase(programDir + "/Base");
    return QString::fromStdString(folder);
}

void ListImportWindow::N1_OpenClick()
{
    const QString path = MessageService::openFileName(
        {QString(), baseFolder(), QString(), OpenDialog1.filter, OpenDialog1.defaultSuffix}, this);
    if (path.isEmpty())
        return;
    runGuarded([&] {
        const QString text = kv::import::readTextListFile(path);
        Memo1->setPlainText(text);
    });
}

void ListImportWindow::N2_SaveClick()
{
    const QString path = MessageService::saveFileName(
        {QString(), baseFolder(), QString(), SaveDialog1.filter, SaveDialog1.defaultSuffix}, this);
    if (path.isEmpty())
        return;
    const QString text = Memo1->toPlainText();
    const QString lost = kv::text::unconvertibleCharacters(text);
    if (!lost.isEmpty() &&
        !MessageService::confirm(
            QStringLiteral("ВНИМАНИЕ"),
            QStringLiteral("Символы «%1» нельзя записать в файл %2 в кодировке Windows-1251: "
                           "они будут записаны как «?».\nПродолжить?")
                .arg(lost, path),
            this))
        return;
    runGuarded([&] { kv::import::writeTextListFile(path, text); });
}

bool ListImportWindow::takeLines(std::vector<std::string> &lines)
{
    QString lost;
    lines = kv::import::linesOf(Memo1->toPlainText(), &lost);
    if (lost.isEmpty())
        return true;
    return MessageService::confirm(
        QStringLiteral("ВНИМАНИЕ"),
        QStringLiteral("Символы «%1» нельзя сохранить в базе (кодировка Windows-1251): "
                       "они будут заменены на «?».\nПродолжить загрузку?")
            .arg(lost),
        this);
}

ImportWorkGuard::ImportWorkGuard(kv::store::Table &table)
    : m_table(table), m_detached(!table.controlsDisabled()), m_uncaught(std::uncaught_exceptions())
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_detached)
        m_table.disableControls();
}

ImportWorkGuard::~ImportWorkGuard()
{
    // A record left half-made by a failed step is not stored.
    if (std::uncaught_exceptions() > m_uncaught && m_table.isEditing()) {
        try {
            m_table.cancel();
        } catch (...) {
            // The failure being reported already says what went wrong.
        }
    }
    if (m_detached)
        m_table.enableControls();
    QApplication::restoreOverrideCursor();
}

} // namespace kv::gui

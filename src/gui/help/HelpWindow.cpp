#include "HelpWindow.h"

#include <QPalette>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace kv::gui {

namespace {

// The reference lines of the template language, each shown after two blanks,
// a hyphen and a blank.
const char *const kTemplateReference[] = {
    "#NBILETA# - метка в начале строки говорит о выводе этой строки перед выводом нового номера "
    "билета (если строка пустая, то после меток ставьте 1 пробел);",
    "#NGRUPPY# - метка в начале строки говорит о выводе этой строки перед выводом нового номера "
    "группы;",
    "#NVOPROSA# - метка в начале строки говорит о выводе этой строки перед выводом нового номера "
    "вопроса;",
    "#&ИМЯ_ПЕРЕМЕННОЙ# - метка в начале строки говорит о выводе этой строки в конце вопроса, "
    "группы или билета;",
    "%NBILETA% - номер билета;",
    "%NGRUPPY% - номер группы;",
    "%NVOPROSA% - номер вопроса;",
    "%NAMEGRUPPA% - название группы;",
    "%VOPRMEMO% - текст вопроса;",
    "%NPOR% - номер вопроса по порядку в базе;",
    "%NVOPROSAGRUPPY% - номер порядковый в одной группе из билета.",
};

const char *const kBeforeReference[] = {
    "  Справка по программе",
    "",
    "Программа предназначена для автоматического формирования билетов из списка вопросов.",
    "Вопросы разбиты на группы по какому-либо признаку, например по сложности.",
    "Программа формирует билеты, в которых вопросы одной группы не встречаются в одном билете.",
    "",
    "Изменения в версии 1.3:",
    "- исправлен код для Windows 10, в которой не формировался список файлов шаблонов;",
    "- двойной щелчок по вопросу или группе переводит запись в режим редактирования.",
    "",
    "Изменения в версии 1.2:",
    "- исправлена ошибка в \"Получить билеты в тектовом виде\" при включенном флажке шаблонов.",
    "",
    "Изменения в версии 1.1:",
    "- добавлен флажок \"Задать кол. вопросов в билете из каждой группы (числа через пробел)\" "
    "и поле к нему на вкладке \"Генерация билетов\" для задания определенного количества "
    "вопросов из каждой группы; сумма чисел должна быть равна количеству вопросов в билете;",
    "- установленные флажки и некоторые параметры теперь запоминаются;",
    "- билеты можно печатать через шаблоны (на вкладке \"Печать билетов\" флажок шаблонов и "
    "выпадающий список файлов rtf, хранящихся в папке sys), шаблоны можно редактировать и "
    "создавать в любом редакторе RTF. Переменные (%ПЕРЕМЕННАЯ%), используемые в шаблонах:",
};

const char *const kAfterReference[] = {
    "",
    "При случайном составлении билетов может получиться так, что в одном билете окажутся "
    "только легкие или только трудные вопросы.",
    "Программа помогает избежать этого.",
    "Она полезна и тогда, когда нужно составить много билетов с большим количеством вопросов "
    "из разных дисциплин.",
    "Для этого вопросы делятся на группы.",
    "Например, экзамен по десяти дисциплинам, в билете не более 5 вопросов: каждая дисциплина "
    "- отдельная группа.",
    "Другой пример: материал разбит на 8 равноценных разделов, и в каждом билете должно быть "
    "три вопроса из разных разделов.",
    "Начиная с версии 1.1 материал можно разбить на 3 раздела разного объема и брать из них 2, "
    "2 и 3 вопроса: для этого задается строка \"2 2 3\", а вопросов в билете 7.",
    "",
    "Порядок работы с программой такой:",
    "1. Составьте список вопросов.",
    "2. Сгруппируйте вопросы: сначала вопросы одной группы, затем пустая строка, затем вопросы "
    "следующей группы.",
    "3. Удалите все текущие вопросы и группы, например пунктом меню \"Настройка\\Удалить все "
    "вопросы и группы\".",
    "4. Загрузите вопросы и названия групп пунктами \"Файл\\Загрузить вопросы…\" и "
    "\"Файл\\Загрузить названия групп…\".",
    "5. Сохраните базу пунктом \"Файл\\Сохранить базу вопросов…\".",
    "6. На вкладке \"Генерация билетов\" задайте количество билетов и количество вопросов в "
    "билете и нажмите \"Генерировать\", затем посмотрите результат на вкладках \"Просмотр "
    "билетов\" и \"Печать билетов\".",
    "7. Снова сохраните базу под своим именем пунктом \"Файл\\Сохранить базу вопросов…\", так "
    "как теперь файл содержит и сгенерированный набор билетов.",
};

} // namespace

QStringList TForm6::helpLines()
{
    QStringList lines;
    for (const char *line : kBeforeReference)
        lines << QString::fromUtf8(line);
    for (const char *line : kTemplateReference)
        lines << QStringLiteral("  - ") + QString::fromUtf8(line);
    for (const char *line : kAfterReference)
        lines << QString::fromUtf8(line);
    return lines;
}

TForm6::TForm6(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Справка"));
    resize(713, 499);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    // Read-only, yet the caret is kept so that it can be put at the start.
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    RichEdit1->setPalette(palette);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(20);
    RichEdit1->setFont(font);
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setPlainText(helpLines().join(QLatin1Char('\n')));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RichEdit1);

    FormCreate();
}

void TForm6::FormCreate()
{
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
}

void TForm6::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm6::FormShow()
{
    RichEdit1->moveCursor(QTextCursor::Start);
    RichEdit1->ensureCursorVisible();
}

} // namespace kv::gui

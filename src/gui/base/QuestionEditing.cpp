// Editing of questions ("Вопросы") and groups ("Группы"): the navigator steps
// before each command, the event steps of the table views that number and
// store new records, the save steps that derive the one-line texts, and the
// renumbering of the questions.

#include "core/base/Numbering.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "platform/text/Cp1251.h"
#include "platform/text/TextHelpers.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"

#include <QAction>
#include <QApplication>
#include <QCursor>

namespace kv::gui {

using kv::store::Table;
using kv::widgets::NavButton;

namespace {

const char *const kEditModeStatus = "режим РЕДАКТИРОВАНИЯ";

// An editor's text as the program's 8-bit text with CR LF line breaks.
std::string editorBytes(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return kv::text::toCp1251(t);
}

// A group name on one line: every CR becomes ¶ and every LF is dropped. A ¶
// already in the name stays a ¶, so that the name never holds a line break.
std::string groupNameLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\r')
            out += '\xB6';
        else if (c != '\n')
            out += c;
    }
    return kv::text::CutToFieldWidth(out);
}

} // namespace

void TForm1::setUpEditing()
{
    Table1.beforeInsert = [this](Table &t) {
        const kv::base::NextQuestionNumbers n = kv::base::nextQuestionNumbers(t);
        NewQuestionNumber = static_cast<int>(n.npor);
        NewGroupNumber = static_cast<int>(n.group);
    };
    Table1.afterInsert = [this](Table &t) {
        // The new question is stored with its numbers at once; the user then
        // types its texts in edit mode.
        t.post();
        t.edit();
        t.setIntegerField("NPOR", NewQuestionNumber);
        t.setIntegerField("NGRUPPY", NewGroupNumber);
        t.post();
        t.edit();
    };
    Table1.afterEdit = [this](Table &) {
        m_questionTyped = false;
        setStatusText(QString::fromUtf8(kEditModeStatus));
        SetQuestionEditorsEditable(true);
    };
    Table1.afterPost = [this](Table &) {
        m_questionTyped = false;
        setStatusText(QString());
        SetQuestionEditorsEditable(false);
    };
    Table1.afterCancel = Table1.afterPost;
    Table1.afterDelete = [this](Table &) {
        if (N7_PerPriDel->isChecked())
            RenumberQuestions();
    };
    Table1.afterClose = [this](Table &) {
        m_questionTyped = false;
        setStatusText(QString());
    };

    // The group steps serve the editing view and the lookup view alike.
    for (Table *groups : {&Table2, &Table2_1}) {
        groups->beforeInsert = [this](Table &t) {
            NewGroupNumber = static_cast<int>(kv::base::nextGroupNumber(t));
            DBEdit1->setReadOnly(false);
            DBMemo2->setReadOnly(false);
        };
        groups->afterInsert = [this](Table &t) {
            t.post();
            t.last();
            t.edit();
            t.setIntegerField("NGRUPPY", NewGroupNumber);
            t.post();
            t.edit();
        };
        groups->afterEdit = [this](Table &) {
            m_groupTyped = false;
            setStatusText(QString::fromUtf8(kEditModeStatus));
            SetGroupEditorsEditable(true);
        };
        groups->afterPost = [this](Table &) {
            m_groupTyped = false;
            setStatusText(QString());
            SetGroupEditorsEditable(false);
        };
        groups->afterCancel = groups->afterPost;
        groups->afterClose = groups->afterPost;
        groups->afterDelete = nullptr;
    }

    // Text reaching an unlocked editor while its view edits is the user's.
    const auto typed = [](bool &flag, kv::widgets::DBMemo *memo, Table &view) {
        return [&flag, memo, &view] {
            if (!memo->isReadOnly() && view.isEditing())
                flag = true;
        };
    };
    connect(DBMemo1, &QPlainTextEdit::textChanged, this, typed(m_questionTyped, DBMemo1, Table1));
    connect(DBMemo2, &QPlainTextEdit::textChanged, this, typed(m_groupTyped, DBMemo2, Table2));
    connect(DBEdit1, &QLineEdit::textEdited, this, [this] {
        if (Table2.isEditing())
            m_groupTyped = true;
    });
    connect(DBLookupComboBox1, &QComboBox::activated, this, [this] {
        if (Table1.isEditing())
            m_questionTyped = true;
    });

    connect(DBGrid1, &kv::widgets::DBGrid::recordDoubleClicked, this, &TForm1::DBGrid1DblClick);
    connect(DBGrid2, &kv::widgets::DBGrid::recordDoubleClicked, this, &TForm1::DBGrid2DblClick);
    setUpBrowsing();
}

// --- questions ---------------------------------------------------------------------

void TForm1::DBNavigator1BeforeAction(NavButton button)
{
    switch (button) {
    case NavButton::Edit:
        SetQuestionEditorsEditable(true);
        break;
    case NavButton::Post:
        QuestionSaveSteps();
        break;
    case NavButton::Cancel:
    case NavButton::Refresh:
        SetQuestionEditorsEditable(false);
        break;
    default:
        break;
    }
}

bool TForm1::acceptUnconvertible(const QString &text)
{
    const QString lost = kv::text::unconvertibleCharacters(text);
    if (lost.isEmpty())
        return true;
    const QString message =
        QString::fromUtf8("Эти знаки нельзя сохранить в базе: %1\n"
                          "Вместо каждого из них будет записан знак \"?\". Сохранить?")
            .arg(lost);
    return MessageService::show(QString::fromUtf8("ВНИМАНИЕ"), message, MessageButtons::OkCancel,
                                MessageIcon::Warning, this) == MessageAnswer::Ok;
}

void TForm1::QuestionSaveSteps()
{
    // Leaving the full-text editor hands its text to the record.
    DBLookupComboBox1->setFocus();
    const QString text = DBMemo1->toPlainText();
    if (!acceptUnconvertible(text))
        throw kv::widgets::CommandDeclined{};
    Table1.setTextField("VOPROS", kv::text::MakeQuestionLine(editorBytes(text)));
    SetQuestionEditorsEditable(false);
}

void TForm1::DBGrid1DblClick()
{
    if (!Table1.isEditing())
        runGuarded([this] { Table1.edit(); });
}

void TForm1::Button5Click()
{
    RenumberQuestions();
}

void TForm1::RenumberQuestions()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    repaint();
    const kv::store::Bookmark mark = Table1.bookmark();
    DBGrid1->setTable(nullptr);
    // The bound editors follow the walk only at its end, not record by record.
    Table1.disableControls();
    const bool walked = runGuarded([this] {
        const int count = Table1.recordCount();
        if (count <= 0)
            return;
        Table1.first();
        for (int n = 1; n <= count; ++n) {
            if (n > 1)
                Table1.next();
            Table1.edit();
            Table1.setIntegerField("NPOR", n);
            Table1.post();
        }
    });
    // A failed walk leaves its record unposted: it is dropped, the numbers
    // already posted stay, and the list and cursor come back as after a walk.
    if (!walked && Table1.isEditing())
        runGuarded([this] { Table1.cancel(); });
    Table1.enableControls();
    DBGrid1->setTable(&Table1);
    runGuarded([this, mark] {
        if (mark >= 0)
            Table1.gotoBookmark(mark);
    });
    QApplication::restoreOverrideCursor();
}

// --- groups ------------------------------------------------------------------------

void TForm1::DBNavigator2BeforeAction(NavButton button)
{
    switch (button) {
    case NavButton::Insert:
    case NavButton::Edit:
        SetGroupEditorsEditable(true);
        break;
    case NavButton::Post:
        GroupSaveSteps();
        break;
    case NavButton::Cancel:
    case NavButton::Refresh:
        SetGroupEditorsEditable(false);
        break;
    default:
        break;
    }
}

void TForm1::GroupSaveSteps()
{
    const QString number = DBEdit1->text();
    const std::optional<std::int64_t> value = kv::text::ParseInteger(number.toStdString());
    if (!value)
        throw std::runtime_error(QString::fromUtf8("\"%1\" не является допустимым целым числом")
                                     .arg(number)
                                     .toStdString());
    const QString name = DBMemo2->toPlainText();
    if (!acceptUnconvertible(name))
        throw kv::widgets::CommandDeclined{};
    Table2.setIntegerField("NGRUPPY", *value);
    Table2.setTextField("NAMEGRUPPA", groupNameLine(editorBytes(name)));
    SetGroupEditorsEditable(false);
}

void TForm1::DBGrid2DblClick()
{
    if (!Table2.isEditing())
        runGuarded([this] { Table2.edit(); });
}

// --- closing the program -------------------------------------------------------

void TForm1::SavePendingEditsOnClose()
{
    // Typed text is never dropped without a word: a question or group still
    // being edited is saved through its save steps when the user agrees.
    struct Pending
    {
        Table *table;
        bool typed;
        const char *question;
        void (TForm1::*save)();
    };
    const Pending pending[] = {
        {&Table1, m_questionTyped, "Вопрос редактируется и не сохранён. Сохранить изменения?",
         &TForm1::QuestionSaveSteps},
        {&Table2, m_groupTyped, "Группа редактируется и не сохранена. Сохранить изменения?",
         &TForm1::GroupSaveSteps},
    };
    for (const Pending &p : pending) {
        if (!p.table->isOpen() || !p.table->isEditing() || !p.typed)
            continue;
        if (!MessageService::confirm(QString::fromUtf8("ВНИМАНИЕ"), QString::fromUtf8(p.question),
                                     this))
            continue;
        try {
            (this->*p.save)();
            p.table->post();
        } catch (const kv::widgets::CommandDeclined &) {
        } catch (const std::exception &e) {
            MessageService::showError(e, this);
        }
    }
}

} // namespace kv::gui

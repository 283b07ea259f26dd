// The browsing views "Просмотр групп" (questions of one group, Table4) and
// "Просмотр билетов" (questions of one ticket, Table3): a number field with a
// step control sets the view's filter; "Показать все" lifts it.

#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "widgets/UpDown.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace kv::gui {

using kv::widgets::UpDown;

namespace {

// Puts the step control to the right of its field, in the field's cell.
void placeBeside(QLineEdit *field, UpDown *upDown)
{
    QWidget *page = field->parentWidget();
    for (QGridLayout *grid : page->findChildren<QGridLayout *>()) {
        const int index = grid->indexOf(field);
        if (index < 0)
            continue;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        grid->removeWidget(field);
        auto *pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(field);
        pair->addWidget(upDown);
        pair->addStretch(1);
        grid->addLayout(pair, row, column, rowSpan, columnSpan);
        return;
    }
}

// The count label follows the keys released in the group view's field.
class KeyReleaseWatch : public QObject
{
public:
    KeyReleaseWatch(QObject *parent, std::function<void()> onRelease)
        : QObject(parent), m_onRelease(std::move(onRelease))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyRelease)
            m_onRelease();
        return false;
    }

private:
    std::function<void()> m_onRelease;
};

} // namespace

void TForm1::setUpBrowsing()
{
    const auto makeUpDown = [](QLineEdit *field, const char *name) {
        auto *upDown = new UpDown(field->parentWidget());
        upDown->setObjectName(QLatin1String(name));
        upDown->setAssociate(field);
        upDown->setMinimum(1);
        upDown->setMaximum(999);
        upDown->setPosition(1);
        placeBeside(field, upDown);
        return upDown;
    };
    UpDown1 = makeUpDown(Edit1, "UpDown1");
    UpDown2 = makeUpDown(Edit2, "UpDown2");
    connect(UpDown1, &UpDown::stepped, this, &TForm1::UpDown1Click);
    connect(UpDown2, &UpDown::stepped, this, &TForm1::UpDown2Click);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { ApplyViewFilter(Edit1); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { ApplyViewFilter(Edit2); });
    Edit1->installEventFilter(new KeyReleaseWatch(Edit1, [this] { RefreshGroupViewCount(); }));
}

void TForm1::RefreshGroupViewCount()
{
    int count = 0;
    runGuarded([this, &count] {
        if (Table4.isOpen())
            count = Table4.recordCount();
    });
    Label4->setText(QString::fromUtf8("Всего вопросов показано - ") + QString::number(count));
}

void TForm1::ApplyViewFilter(QLineEdit *field)
{
    const bool groupView = field == Edit1;
    kv::store::Table &view = groupView ? Table4 : Table3;
    const char *prefix = groupView ? "NGRUPPY=" : "NBILETA=";

    QString digits;
    for (const QChar c : field->text()) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    if (digits != field->text())
        field->setText(digits); // runs this step again on the cleaned text
    if (digits.isEmpty()) {
        runGuarded([&view] { view.setFiltered(false); });
        return;
    }
    // A fourth digit typed after three pushes the first one out.
    if (digits.size() > 3) {
        digits = digits.mid(1, 3);
        field->setText(digits);
    }
    runGuarded([&] {
        view.setFilter(prefix + digits.toStdString());
        view.setFiltered(true);
    });
    if (groupView)
        RefreshGroupViewCount();
}

void TForm1::ShowAllInView(QLineEdit *field)
{
    UpDown *upDown = field == Edit1 ? UpDown1 : UpDown2;
    // The first write makes the second a change even on an empty field.
    field->setText(QStringLiteral("1"));
    field->setText(QString());
    upDown->setMinimum(0);
    upDown->setPosition(0);
    if (field == Edit1)
        RefreshGroupViewCount();
}

void TForm1::Button2Click()
{
    ShowAllInView(Edit1);
}

void TForm1::Button1Click()
{
    ShowAllInView(Edit2);
}

// After "Показать все" the step control may stand at 0; a step brings its
// lower bound back to 1.
void TForm1::UpDown1Click()
{
    if (UpDown1->position() > 0)
        UpDown1->setMinimum(1);
}

void TForm1::UpDown2Click()
{
    if (UpDown2->position() > 0)
        UpDown2->setMinimum(1);
}

} // namespace kv::gui

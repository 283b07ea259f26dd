#include "MainWindow.h"

#include "core/app/ProjectInfo.h"
#include "core/base/BaseTables.h"
#include "core/generator/RandomSource.h"
#include "core/output/TicketLayout.h"
#include "gui/MessageService.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/DropDownComboBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include <ctime>

namespace kv::gui {

using kv::widgets::DBEdit;
using kv::widgets::DBGrid;
using kv::widgets::DBLookupComboBox;
using kv::widgets::DBMemo;
using kv::widgets::DBNavigator;
using kv::widgets::DigitKeyFilter;
using kv::widgets::DropDownComboBox;
using kv::widgets::FieldKind;
using kv::widgets::GridColumn;
using kv::widgets::NavButton;

namespace {
QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

template <class W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}
} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(u(kv::app::kProgramCaption));
    MessageService::installWidgetHooks();

    setUpTables();
    connect(&Table1, &kv::store::Table::stateChanged, this, &TForm1::applyPendingEditorLocks);
    connect(&Table2, &kv::store::Table::stateChanged, this, &TForm1::applyPendingEditorLocks);
    buildMenu();
    buildTabs();
    setUpGenerationTab();
    setUpPrintTab();
    setUpEditing();

    StatusBar1 = named(new QLabel(this), "StatusBar1");
    StatusBar1->setStyleSheet(QStringLiteral("color: red;"));
    statusBar()->addWidget(StatusBar1, 1);
    statusBar()->setSizeGripEnabled(true);

    // Client area 979 × 624 below the menu, centred on the screen.
    resize(979, 624 + menuBar()->sizeHint().height());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

// --- tables ----------------------------------------------------------------------------

void TForm1::setUpTables()
{
    Table1.setObjectName(QStringLiteral("Table1"));
    Table1.setFileName(kv::base::kQuestionsFile);
    Table2.setObjectName(QStringLiteral("Table2"));
    Table2.setFileName(kv::base::kGroupsFile);
    Table3.setObjectName(QStringLiteral("Table3"));
    Table3.setFileName(kv::base::kTicketsFile);
    Table3.setFilter("");
    Table3.setFiltered(true);
    Table4.setObjectName(QStringLiteral("Table4"));
    Table4.setFileName(kv::base::kQuestionsFile);
    Table4.setFilter("");
    Table4.setFiltered(true);
    Table2_1.setObjectName(QStringLiteral("Table2_1"));
    Table2_1.setFileName(kv::base::kGroupsFile);
    Table2_1.setReadOnly(true);
    Table2_1.setFilter("");
    Table2_1.setFiltered(true);
}

// --- start-up and shutdown ---------------------------------------------------------

void TForm1::FormCreate()
{
    // 1. Keyboard layouts: recorded only; the text controls take any input.
    RussianLayout = {"00000419"};
    EnglishLayout = {"00000409"};

    // 2. The record store is built in; what it needs is a Sys folder here
    //    that can be read and written.
    if (!kv::base::canWorkInFolder(QDir::currentPath())) {
        const QString text = u("В системе не установлен BDE. Скачать можно тут: ") +
                             u(kv::app::kDocumentationUrl) + u("\n") + u("Перейти?");
        const MessageAnswer answer = MessageService::show(
            u("Внимание!"), text, MessageButtons::OkCancel, MessageIcon::Stop, this);
        if (answer == MessageAnswer::Ok) {
            MessageService::openUrl(QUrl(u(kv::app::kDocumentationUrl)));
            m_terminateRequested = true;
            QCoreApplication::quit();
            return;
        }
    }

    // 3.–6.
    ProgramDir = QDir::currentPath().toStdString();
    BaseFileName = "default.txb";
    kv::generator::SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    PageControl1->setCurrentWidget(TabSheet1);

    // 7. A table that cannot be opened ends the start-up here; the window is
    //    still shown with empty lists.
    for (kv::store::Table *t : {&Table1, &Table2, &Table3, &Table4}) {
        if (!runGuarded([t] { t->open(); }))
            return;
    }

    // 8.
    SetQuestionEditorsEditable(false);
    SetGroupEditorsEditable(false);

    // 9.
    LoadSettings();
}

void TForm1::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    SavePendingEditsOnClose();
    // Without settings read at start-up the controls hold design values;
    // writing them would replace the user's stored settings.
    if (m_settingsRead)
        runGuarded([this] { SaveSettings(); });
    // Closing drops a pending edit.
    for (kv::store::Table *t : {&Table1, &Table2, &Table2_1, &Table3, &Table4})
        runGuarded([t] { t->close(); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, whatever else is open.
    event->accept();
    QCoreApplication::quit();
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (RichEdit1)
        RichEdit1->viewport()->repaint();
}

void TForm1::setStatusText(const QString &text)
{
    StatusBar1->setText(text);
}

QString TForm1::statusText() const
{
    return StatusBar1->text();
}

void TForm1::SetQuestionEditorsEditable(bool editable)
{
    if (Table1.controlsDisabled()) {
        m_pendingQuestionEditable = editable;
        return;
    }
    m_pendingQuestionEditable.reset();
    DBLookupComboBox1->setLocked(!editable);
    DBMemo1->setLocked(!editable);
}

void TForm1::SetGroupEditorsEditable(bool editable)
{
    if (Table2.controlsDisabled()) {
        m_pendingGroupEditable = editable;
        return;
    }
    m_pendingGroupEditable.reset();
    DBEdit1->setLocked(!editable);
    DBMemo2->setLocked(!editable);
}

void TForm1::applyPendingEditorLocks()
{
    if (m_pendingQuestionEditable && !Table1.controlsDisabled())
        SetQuestionEditorsEditable(*m_pendingQuestionEditable);
    if (m_pendingGroupEditable && !Table2.controlsDisabled())
        SetGroupEditorsEditable(*m_pendingGroupEditable);
}

// --- menu ------------------------------------------------------------------------------

void TForm1::buildMenu()
{
    QStyle *st = style();
    const auto item = [this](QMenu *menu, const char *name, const char *caption,
                             void (TForm1::*slot)()) {
        QAction *a = menu->addAction(u(caption));
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const auto separator = [](QMenu *menu, const char *name) {
        QAction *a = menu->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };

    N1_Pack = named(menuBar()->addMenu(u("&Файл")), "N1_Pack");
    N2_LoadB = item(N1_Pack, "N2_LoadB", "Загрузить вопросы...", &TForm1::N2_LoadBClick);
    N5_LoadG = item(N1_Pack, "N5_LoadG", "Загрузить названия групп...", &TForm1::N5_LoadGClick);
    N5 = separator(N1_Pack, "N5");
    N6_Pack = item(N1_Pack, "N6_Pack", "Упаковать базы", &TForm1::N6_PackClick);
    N3 = separator(N1_Pack, "N3");
    N6 = item(N1_Pack, "N6", "Открыть базу вопросов...", &TForm1::N6Click);
    N6->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    N6->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    N7 = item(N1_Pack, "N7", "Сохранить базу вопросов...", &TForm1::N7Click);
    N7->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    N7->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    N1 = separator(N1_Pack, "N1");
    N4_Exit = item(N1_Pack, "N4_Exit", "Выход", &TForm1::N4_ExitClick);
    N4_Exit->setIcon(st->standardIcon(QStyle::SP_DialogCloseButton));

    N4 = named(menuBar()->addMenu(u("&Настройка")), "N4");
    N5_PDel = item(N4, "N5_PDel", "&Подтверждение удаления", &TForm1::N5_PDelClick);
    N5_PDel->setCheckable(true);
    N5_PDel->setChecked(true);
    N7_PerPriDel =
        item(N4, "N7_PerPriDel", "Пересчет №п/п при удалении", &TForm1::N7_PerPriDelClick);
    N7_PerPriDel->setCheckable(true);
    N7_PerPriDel->setChecked(true);
    N11 = separator(N4, "N11");
    N12 = item(N4, "N12", "Удалить все вопросы и группы", &TForm1::N12Click);
    N12->setIcon(st->standardIcon(QStyle::SP_TrashIcon));

    N2 = named(menuBar()->addMenu(u("&Справка")), "N2");
    N8 = item(N2, "N8", "Справка...", &TForm1::N8Click);
    N8->setShortcut(QKeySequence(Qt::Key_F1));
    N8->setIcon(st->standardIcon(QStyle::SP_DialogHelpButton));
    N13 = item(N2, "N13", "Журнал...", &TForm1::N13Click);
    N13->setVisible(false);
    N9 = separator(N2, "N9");
    N10 = item(N2, "N10", "О программе...", &TForm1::N10Click);
    N10->setIcon(st->standardIcon(QStyle::SP_MessageBoxInformation));
}

void TForm1::N2_LoadBClick()
{
    if (auto *dialog = qobject_cast<QDialog *>(Form2))
        dialog->exec();
}

void TForm1::N5_LoadGClick()
{
    if (auto *dialog = qobject_cast<QDialog *>(Form4))
        dialog->exec();
}

void TForm1::N10Click()
{
    if (auto *dialog = qobject_cast<QDialog *>(Form3))
        dialog->exec();
}

void TForm1::N8Click()
{
    if (Form6) {
        Form6->show();
        Form6->raise();
        Form6->activateWindow();
    }
}

void TForm1::N13Click()
{
    if (LogForm) {
        LogForm->show();
        LogForm->raise();
    }
}

void TForm1::Button6Click()
{
    if (Form7) {
        Form7->show();
        Form7->raise();
        Form7->activateWindow();
    }
}

void TForm1::N4_ExitClick()
{
    QCoreApplication::quit();
}

void TForm1::N5_PDelClick()
{
    // The action has toggled its tick already.
    const bool confirm = N5_PDel->isChecked();
    for (DBNavigator *n : {DBNavigator1, DBNavigator2, DBNavigator3, DBNavigator4})
        n->setConfirmDelete(confirm);
}

void TForm1::N7_PerPriDelClick()
{
    // The tick alone carries the option; the delete step of the questions
    // table reads it.
}

// --- tabs ------------------------------------------------------------------------------

void TForm1::buildTabs()
{
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->setUsesScrollButtons(false);
    setCentralWidget(PageControl1);

    TabSheet1 = buildQuestionsTab();
    TabSheet2 = buildGroupsTab();
    TabSheet4 = buildGroupViewTab();
    TabSheet5 = buildGenerationTab();
    TabSheet6 = buildTicketViewTab();
    TabSheet7 = buildPrintTab();
    PageControl1->addTab(TabSheet1, u("Вопросы"));
    PageControl1->addTab(TabSheet2, u("Группы"));
    PageControl1->addTab(TabSheet4, u("Просмотр групп"));
    PageControl1->addTab(TabSheet5, u("Генерация билетов"));
    PageControl1->addTab(TabSheet6, u("Просмотр билетов"));
    PageControl1->addTab(TabSheet7, u("Печать билетов"));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::onTabChanged);
}

void TForm1::onTabChanged(int index)
{
    QWidget *page = PageControl1->widget(index);
    if (page == TabSheet1)
        TabSheet1Show();
    else if (page == TabSheet2)
        TabSheet2Show();
    else if (page == TabSheet4)
        TabSheet4Show();
    else if (page == TabSheet5)
        TabSheet5Show();
    else if (page == TabSheet6)
        TabSheet6Show();
    else if (page == TabSheet7)
        TabSheet7Show();
}

// A table that could not be opened at start-up is left alone when its tab is
// shown: the start-up already reported it.
void TForm1::TabSheet1Show()
{
    if (Table1.isOpen())
        runGuarded([this] { Table1.refresh(); });
}

void TForm1::TabSheet2Show()
{
    if (Table2.isOpen())
        runGuarded([this] { Table2.refresh(); });
}

void TForm1::TabSheet4Show()
{
    if (Table4.isOpen())
        runGuarded([this] { Table4.refresh(); });
}

void TForm1::TabSheet6Show() {}

void TForm1::TabSheet7Show() {}

static std::vector<GridColumn> questionColumns()
{
    return {{"NPOR", u("№п/п"), FieldKind::Integer},
            {"NGRUPPY", u("№ гр."), FieldKind::Integer},
            {"VOPROS", u("Текст вопроса"), FieldKind::Text}};
}

QWidget *TForm1::buildQuestionsTab()
{
    auto *page = named(new QWidget, "TabSheet1");
    auto *layout = new QVBoxLayout(page);

    DBGrid1 = named(new DBGrid(page), "DBGrid1");
    DBGrid1->setColumns(questionColumns());
    DBGrid1->setTable(&Table1);
    layout->addWidget(DBGrid1, 3);

    Memo1 = named(new QPlainTextEdit(page), "Memo1");
    Memo1->setVisible(false);

    auto *bar = new QHBoxLayout;
    DBNavigator1 = named(new DBNavigator(page), "DBNavigator1");
    DBNavigator1->setTable(&Table1);
    DBNavigator1->beforeAction = [this](NavButton b) { DBNavigator1BeforeAction(b); };
    bar->addWidget(DBNavigator1);
    Button5 = named(new QPushButton(u("Пересчет №п/п"), page), "Button5");
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    bar->addWidget(Button5);
    bar->addStretch(1);
    Button6 = named(new QPushButton(u("Анализ совпадения вопросов"), page), "Button6");
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    bar->addWidget(Button6);
    layout->addLayout(bar);

    layout->addWidget(label(u("Название группы"), page));
    DBLookupComboBox1 = named(new DBLookupComboBox(page), "DBLookupComboBox1");
    DBLookupComboBox1->setField(&Table1, "NGRUPPY");
    DBLookupComboBox1->setListSource(&Table2, "NGRUPPY", "NAMEGRUPPA");
    layout->addWidget(DBLookupComboBox1);

    layout->addWidget(label(u("Полный текст вопроса"), page));
    DBMemo1 = named(new DBMemo(page), "DBMemo1");
    DBMemo1->setField(&Table1, "VOPRMEMO");
    DBMemo1->setLocked(true);
    layout->addWidget(DBMemo1, 2);
    return page;
}

QWidget *TForm1::buildGroupsTab()
{
    auto *page = named(new QWidget, "TabSheet2");
    auto *layout = new QVBoxLayout(page);

    DBGrid2 = named(new DBGrid(page), "DBGrid2");
    DBGrid2->setColumns({{"NGRUPPY", u("№ группы"), FieldKind::Integer},
                         {"NAMEGRUPPA", u("Название группы"), FieldKind::Text}});
    DBGrid2->setTable(&Table2);
    layout->addWidget(DBGrid2, 3);

    auto *bar = new QHBoxLayout;
    DBNavigator2 = named(new DBNavigator(page), "DBNavigator2");
    DBNavigator2->setTable(&Table2);
    DBNavigator2->beforeAction = [this](NavButton b) { DBNavigator2BeforeAction(b); };
    bar->addWidget(DBNavigator2);
    bar->addSpacing(16);
    bar->addWidget(label(u("№ группы"), page));
    DBEdit1 = named(new DBEdit(page), "DBEdit1");
    DBEdit1->setField(&Table2, "NGRUPPY", FieldKind::Integer);
    DBEdit1->setMaxLength(3);
    DBEdit1->setFixedWidth(60);
    DBEdit1->setLocked(true);
    DigitKeyFilter::install(DBEdit1);
    bar->addWidget(DBEdit1);
    bar->addStretch(1);
    layout->addLayout(bar);

    DBMemo2 = named(new DBMemo(page), "DBMemo2");
    DBMemo2->setField(&Table2, "NAMEGRUPPA");
    DBMemo2->setLocked(true);
    layout->addWidget(DBMemo2, 1);
    return page;
}

QWidget *TForm1::buildGroupViewTab()
{
    auto *page = named(new QWidget, "TabSheet4");
    auto *layout = new QVBoxLayout(page);

    auto *top = new QGridLayout;
    top->addWidget(label(u("№ группы"), page), 0, 0);
    Edit1 = named(new QLineEdit(u("1"), page), "Edit1");
    Edit1->setFixedWidth(60);
    DigitKeyFilter::install(Edit1);
    top->addWidget(Edit1, 1, 0);
    Button2 = named(new QPushButton(u("Показать все"), page), "Button2");
    Button2->setToolTip(u("Показать все группы"));
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    top->addWidget(Button2, 1, 1);
    Label4 = named(new QLabel(u("Всего вопросов показано - 0"), page), "Label4");
    Label4->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    top->addWidget(Label4, 1, 2);
    DBLookupComboBox3 = named(new DBLookupComboBox(page), "DBLookupComboBox3");
    DBLookupComboBox3->setField(&Table4, "NGRUPPY");
    DBLookupComboBox3->setListSource(&Table2, "NGRUPPY", "NAMEGRUPPA");
    DBLookupComboBox3->setLocked(true);
    top->addWidget(DBLookupComboBox3, 1, 3);
    top->setColumnStretch(3, 1);
    layout->addLayout(top);

    DBGrid4 = named(new DBGrid(page), "DBGrid4");
    DBGrid4->setColumns(questionColumns());
    DBGrid4->setTable(&Table4);
    layout->addWidget(DBGrid4, 3);

    DBNavigator4 = named(new DBNavigator(page), "DBNavigator4");
    DBNavigator4->setTable(&Table4);
    DBNavigator4->setVisibleButtons(
        {NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last, NavButton::Refresh});
    layout->addWidget(DBNavigator4, 0, Qt::AlignLeft);

    DBMemo4 = named(new DBMemo(page), "DBMemo4");
    DBMemo4->setField(&Table4, "VOPRMEMO");
    DBMemo4->setReadOnly(true);
    layout->addWidget(DBMemo4, 2);
    return page;
}

QWidget *TForm1::buildGenerationTab()
{
    auto *page = named(new QWidget, "TabSheet5");
    auto *layout = new QVBoxLayout(page);

    auto *counts = new QGridLayout;
    counts->addWidget(label(u("Количество билетов"), page), 0, 0);
    EditKB = named(new QLineEdit(u("16"), page), "EditKB");
    DigitKeyFilter::install(EditKB);
    counts->addWidget(EditKB, 1, 0);
    counts->addWidget(label(u("Количество вопросов в билете"), page), 2, 0);
    EditKVB = named(new QLineEdit(u("9"), page), "EditKVB");
    DigitKeyFilter::install(EditKVB);
    counts->addWidget(EditKVB, 3, 0);
    const auto counter = [page](const char *name, const char *text, bool right) {
        auto *l = named(new QLabel(u(text), page), name);
        l->setStyleSheet(QStringLiteral("font-weight: bold;"));
        if (right)
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    LabelVVB = counter("LabelVVB", "Всего вопросов в базе - 0", true);
    LabelGr = counter("LabelGr", "Групп - 0", false);
    LabelVVB2 = counter("LabelVVB2", "Всего вопросов в билетах - 0", true);
    counts->addWidget(LabelVVB, 1, 1);
    counts->addWidget(LabelGr, 1, 2);
    counts->addWidget(LabelVVB2, 3, 1);
    counts->setColumnStretch(3, 1);
    layout->addLayout(counts);

    auto *frame = named(new QGroupBox(u(" Параметры генерации билетов "), page), "GroupBox1");
    auto *fl = new QVBoxLayout(frame);
    auto *rules = new QHBoxLayout;
    CheckBox1 = named(new QCheckBox(u("Разрешить одинаковые вопросы в разных билетах"), frame),
                      "CheckBox1");
    CheckBox3 = named(new QCheckBox(u("Разрешить более 1-го вопроса из группы в билете"), frame),
                      "CheckBox3");
    rules->addWidget(CheckBox1);
    rules->addWidget(CheckBox3);
    rules->addStretch(1);
    fl->addLayout(rules);
    CheckBox6 =
        named(new QCheckBox(
                  u("Задать кол. вопросов в билете из каждой группы (числа через пробел)"), frame),
              "CheckBox6");
    fl->addWidget(CheckBox6);
    EditKV = named(new QLineEdit(frame), "EditKV");
    EditKV->setEnabled(false);
    EditKV->setStyleSheet(QStringLiteral("QLineEdit:disabled { background: silver; }"));
    fl->addWidget(EditKV);
    CheckBox2 = named(new QCheckBox(u("Упорядочить вопросы в билете "), frame), "CheckBox2");
    CheckBox2->setChecked(true);
    fl->addWidget(CheckBox2);
    RadioGroup1 = named(new QGroupBox(frame), "RadioGroup1");
    auto *rl = new QHBoxLayout(RadioGroup1);
    RadioGroup1Npor = named(new QRadioButton(u("По № п/п"), RadioGroup1), "RadioGroup1Npor");
    RadioGroup1Group = named(new QRadioButton(u("По группе"), RadioGroup1), "RadioGroup1Group");
    RadioGroup1Npor->setChecked(true);
    rl->addWidget(RadioGroup1Npor);
    rl->addWidget(RadioGroup1Group);
    rl->addStretch(1);
    fl->addWidget(RadioGroup1);
    layout->addWidget(frame);

    auto *buttons = new QHBoxLayout;
    const QIcon ok = style()->standardIcon(QStyle::SP_DialogOkButton);
    BitBtn1 = named(new QPushButton(ok, u("Генерировать"), page), "BitBtn1");
    BitBtn4 = named(new QPushButton(ok, u("Сгенерировать и просмотреть"), page), "BitBtn4");
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn4);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return page;
}

QWidget *TForm1::buildTicketViewTab()
{
    auto *page = named(new QWidget, "TabSheet6");
    auto *layout = new QVBoxLayout(page);

    auto *top = new QGridLayout;
    top->addWidget(label(u("№ билета"), page), 0, 0);
    Edit2 = named(new QLineEdit(u("1"), page), "Edit2");
    Edit2->setFixedWidth(60);
    DigitKeyFilter::install(Edit2);
    top->addWidget(Edit2, 1, 0);
    Button1 = named(new QPushButton(u("Показать все"), page), "Button1");
    Button1->setToolTip(u("Показать все билеты"));
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    top->addWidget(Button1, 1, 1);
    DBLookupComboBox2 = named(new DBLookupComboBox(page), "DBLookupComboBox2");
    DBLookupComboBox2->setField(&Table3, "NGRUPPY");
    DBLookupComboBox2->setListSource(&Table2, "NGRUPPY", "NAMEGRUPPA");
    DBLookupComboBox2->setLocked(true);
    top->addWidget(DBLookupComboBox2, 1, 2);
    top->setColumnStretch(2, 1);
    layout->addLayout(top);

    DBGrid3 = named(new DBGrid(page), "DBGrid3");
    DBGrid3->setColumns({{"NBILETA", u("№Бл."), FieldKind::Integer},
                         {"NVOPROSA", u("№В.в Бл."), FieldKind::Integer},
                         {"NPOR", u("№п/п"), FieldKind::Integer},
                         {"NGRUPPY", u("№ гр."), FieldKind::Integer},
                         {"VOPROS", u("Текст вопроса"), FieldKind::Text}});
    DBGrid3->setTable(&Table3);
    layout->addWidget(DBGrid3, 3);

    DBNavigator3 = named(new DBNavigator(page), "DBNavigator3");
    DBNavigator3->setTable(&Table3);
    DBNavigator3->setVisibleButtons(
        {NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last, NavButton::Refresh});
    layout->addWidget(DBNavigator3, 0, Qt::AlignLeft);

    DBMemo3 = named(new DBMemo(page), "DBMemo3");
    DBMemo3->setField(&Table3, "VOPRMEMO");
    DBMemo3->setReadOnly(true);
    layout->addWidget(DBMemo3, 2);
    return page;
}

QWidget *TForm1::buildPrintTab()
{
    auto *page = named(new QWidget, "TabSheet7");
    auto *layout = new QVBoxLayout(page);

    auto *options = new QGridLayout;
    Button3 = named(new QPushButton(u("Получить билеты в текстовом виде"), page), "Button3");
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    options->addWidget(Button3, 0, 0);
    CheckBox5 = named(new QCheckBox(u("Указать в скобках номер группы"), page), "CheckBox5");
    CheckBox4 = named(new QCheckBox(u("Указать в скобках общий номер вопроса"), page), "CheckBox4");
    options->addWidget(CheckBox5, 0, 1);
    options->addWidget(CheckBox4, 1, 1);
    CheckBoxSh = named(
        new QCheckBox(u("Использовать шаблон (ДОЖДИТЕСЬ ЗАВЕРШЕНИЯ ПРИ ПОЛУЧЕНИИ БИЛЕТОВ)"), page),
        "CheckBoxSh");
    options->addWidget(CheckBoxSh, 2, 0, 1, 2);
    ComboBoxSh = named(new DropDownComboBox(page), "ComboBoxSh");
    ComboBoxSh->setEditable(true);
    ComboBoxSh->setInsertPolicy(QComboBox::InsertAlphabetically);
    options->addWidget(ComboBoxSh, 3, 0, 1, 2);
    TrackBar1 = named(new QSlider(Qt::Horizontal, page), "TrackBar1");
    TrackBar1->setRange(0, 80);
    TrackBar1->setValue(0);
    TrackBar1->setTickPosition(QSlider::TicksAbove);
    TrackBar1->setToolTip(u("Отступ"));
    options->addWidget(TrackBar1, 4, 0, 1, 2);
    options->setColumnStretch(2, 1);
    layout->addLayout(options);

    RichEdit1 = named(new QTextEdit(page), "RichEdit1");
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setTabChangesFocus(false);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setFont(kv::output::OutputFont());
    layout->addWidget(RichEdit1, 1);

    auto *buttons = new QHBoxLayout;
    BitBtn2 = named(new QPushButton(u("Печатать"), page), "BitBtn2");
    BitBtn3 = named(new QPushButton(u("Сохранить в файл"), page), "BitBtn3");
    Button4 = named(new QPushButton(u("Сохранить и открыть"), page), "Button4");
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(Button4);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

} // namespace kv::gui

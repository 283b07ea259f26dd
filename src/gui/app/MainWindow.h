#pragma once
// The main window: the six tabs over the question base, the main menu, the
// status line, and the table views every other window reaches through it.
// Creating it runs the start-up steps (store check, working folder, random
// seed, opening the tables, reading the settings); destroying it writes the
// settings and closes the tables.

#include <QMainWindow>

#include <QString>

#include <cstdint>
#include <optional>

#include <string>

#include "platform/store/Table.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTextDocument;
class QTextEdit;

namespace kv::widgets {
class DBGrid;
class DBNavigator;
class DBLookupComboBox;
class DBMemo;
class DBEdit;
class DropDownComboBox;
class UpDown;
enum class NavButton;
} // namespace kv::widgets

namespace kv::gui {

// A keyboard layout loaded at start-up. Layouts have no meaning for this
// program's text input; the handle only records which one was asked for.
struct KeyboardLayout
{
    std::string id; // "00000419" Russian, "00000409" English
};

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The secondary windows, created after this one by the entry point.
    QWidget *Form2 = nullptr;         // question import (modal)
    QWidget *Form3 = nullptr;         // about (modal)
    QWidget *Form4 = nullptr;         // group-name import (modal)
    QWidget *Form5 = nullptr;         // group chooser
    QWidget *Form6 = nullptr;         // help
    QWidget *Form7 = nullptr;         // similarity analysis
    QWidget *FormStatusBar = nullptr; // status message history
    QWidget *LogForm = nullptr;       // operation log

    // Set when the start-up check ended the program: the entry point then
    // does not show the window and does not run the event loop.
    bool terminateRequested() const { return m_terminateRequested; }
    // Whether the settings were read at start-up (they are written back at
    // exit only then, so that design values never replace stored ones).
    bool settingsRead() const { return m_settingsRead; }

    // Status line (red): "режим РЕДАКТИРОВАНИЯ" while a record is edited.
    void setStatusText(const QString &text);
    QString statusText() const;

    // --- shared state ------------------------------------------------------------
    std::string ProgramDir;
    std::string BaseFileName;
    KeyboardLayout RussianLayout;
    KeyboardLayout EnglishLayout;
    int NewQuestionNumber = 0;
    int NewGroupNumber = 0;
    std::string TemplatePageSettings;

    // --- table views ---------------------------------------------------------------
    kv::store::Table Table1;   // questions: list and editing
    kv::store::Table Table2;   // groups: list and editing
    kv::store::Table Table3;   // tickets (filtered view)
    kv::store::Table Table4;   // questions of one group (filtered view)
    kv::store::Table Table2_1; // groups, read-only, for the group-name lookup

    // --- controls ------------------------------------------------------------------
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet4 = nullptr, *TabSheet5 = nullptr,
            *TabSheet6 = nullptr, *TabSheet7 = nullptr;
    QLabel *StatusBar1 = nullptr;

    QMenu *N1_Pack = nullptr, *N4 = nullptr, *N2 = nullptr;
    QAction *N2_LoadB = nullptr, *N5_LoadG = nullptr, *N5 = nullptr, *N6_Pack = nullptr,
            *N3 = nullptr, *N6 = nullptr, *N7 = nullptr, *N1 = nullptr, *N4_Exit = nullptr;
    QAction *N5_PDel = nullptr, *N7_PerPriDel = nullptr, *N11 = nullptr, *N12 = nullptr;
    QAction *N8 = nullptr, *N13 = nullptr, *N9 = nullptr, *N10 = nullptr;

    // "Вопросы"
    kv::widgets::DBGrid *DBGrid1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    kv::widgets::DBNavigator *DBNavigator1 = nullptr;
    QPushButton *Button5 = nullptr, *Button6 = nullptr;
    kv::widgets::DBLookupComboBox *DBLookupComboBox1 = nullptr;
    kv::widgets::DBMemo *DBMemo1 = nullptr;
    // "Группы"
    kv::widgets::DBGrid *DBGrid2 = nullptr;
    kv::widgets::DBNavigator *DBNavigator2 = nullptr;
    kv::widgets::DBEdit *DBEdit1 = nullptr;
    kv::widgets::DBMemo *DBMemo2 = nullptr;
    // "Просмотр групп"
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button2 = nullptr;
    QLabel *Label4 = nullptr;
    kv::widgets::DBLookupComboBox *DBLookupComboBox3 = nullptr;
    kv::widgets::DBGrid *DBGrid4 = nullptr;
    kv::widgets::DBNavigator *DBNavigator4 = nullptr;
    kv::widgets::DBMemo *DBMemo4 = nullptr;
    // "Генерация билетов"
    QLineEdit *EditKB = nullptr, *EditKVB = nullptr, *EditKV = nullptr;
    QLabel *LabelVVB = nullptr, *LabelGr = nullptr, *LabelVVB2 = nullptr;
    QCheckBox *CheckBox1 = nullptr, *CheckBox3 = nullptr, *CheckBox6 = nullptr,
              *CheckBox2 = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QRadioButton *RadioGroup1Npor = nullptr, *RadioGroup1Group = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn4 = nullptr;
    // "Просмотр билетов"
    QLineEdit *Edit2 = nullptr;
    QPushButton *Button1 = nullptr;
    kv::widgets::DBLookupComboBox *DBLookupComboBox2 = nullptr;
    kv::widgets::DBGrid *DBGrid3 = nullptr;
    kv::widgets::DBNavigator *DBNavigator3 = nullptr;
    kv::widgets::DBMemo *DBMemo3 = nullptr;
    // "Печать билетов"
    QTextEdit *RichEdit1 = nullptr;
    QSlider *TrackBar1 = nullptr;
    QCheckBox *CheckBox5 = nullptr, *CheckBox4 = nullptr, *CheckBoxSh = nullptr;
    kv::widgets::DropDownComboBox *ComboBoxSh = nullptr;
    QPushButton *Button3 = nullptr, *BitBtn2 = nullptr, *BitBtn3 = nullptr, *Button4 = nullptr;

    // The editor locks of the "Вопросы" and "Группы" tabs.
    void SetQuestionEditorsEditable(bool editable);
    void SetGroupEditorsEditable(bool editable);
    // While a walk holds the bound controls back (an import, a renumbering),
    // the editors' lock is restyled once, when the walk lets them go.
    std::optional<bool> m_pendingQuestionEditable, m_pendingGroupEditable;
    void applyPendingEditorLocks();

public slots:
    // Tab show steps.
    void TabSheet1Show();
    void TabSheet2Show();
    void TabSheet4Show();
    void TabSheet5Show();
    // Generation tab: count fields and switches.
    void EditKBChange();
    void EditKVBChange();
    void CheckBox2Click();
    void CheckBox6Click();
    void TabSheet6Show();
    void TabSheet7Show();

    // Menu.
    void N2_LoadBClick();
    void N5_LoadGClick();
    void N6_PackClick();
    void N6Click();
    void N7Click();

public:
    // Writes the base into Base/<BaseFileName> under the program's folder
    // without asking (creating a missing Base folder) and shows the name in
    // the caption. Throws when the base cannot be read or the file written.
    void SaveCurrentBase();
    // The base-file dialogs keep their last file name between uses.
    QString OpenDialog1FileName;
    QString SaveDialog2FileName;

public slots:
    void N4_ExitClick();
    void N5_PDelClick();
    void N7_PerPriDelClick();
    void N12Click();
    void N8Click();
    void N13Click();
    void N10Click();

    // Buttons whose work is filled in by the editing, browsing, generation and
    // output commands.
    void Button5Click();
    void Button6Click();
    void Button2Click();
    void Button1Click();
    void BitBtn1Click();
    void BitBtn4Click();
    void Button3Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void Button4Click();
    void ComboBoxShDropDown();
    void TrackBar1Change();

    // Navigator steps before their commands.
    void DBNavigator1BeforeAction(kv::widgets::NavButton button);
    void DBNavigator2BeforeAction(kv::widgets::NavButton button);
    void DBGrid1DblClick();
    void DBGrid2DblClick();
    void UpDown1Click();
    void UpDown2Click();

public:
    // Question and group editing, browsing views.
    kv::widgets::UpDown *UpDown1 = nullptr; // steps Edit1 (group view)
    kv::widgets::UpDown *UpDown2 = nullptr; // steps Edit2 (ticket view)
    void RenumberQuestions();
    // The filter of a browsing view follows its number field.
    void ApplyViewFilter(QLineEdit *field);
    void ShowAllInView(QLineEdit *field);
    void RefreshGroupViewCount();
    // The print tab: the group-name lookup of templates, saving, and the
    // guard against a second layout while one runs.
    void setUpPrintTab();
    std::string LookupGroupName(std::int64_t group);
    QString saveTickets(); // the chosen file name; empty when cancelled
    void setOutputCommandsEnabled(bool enabled);
    bool m_layoutRunning = false;
    QString m_lastSaveName; // offered by the save dialog

private:
    void setUpEditing();
    void setUpBrowsing();
    void QuestionSaveSteps();
    void GroupSaveSteps();
    bool acceptUnconvertible(const QString &text);
    void SavePendingEditsOnClose();
    // Whether the user changed the record being edited through the editors.
    bool m_questionTyped = false;
    bool m_groupTyped = false;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildTabs();
    QWidget *buildQuestionsTab();
    QWidget *buildGroupsTab();
    QWidget *buildGroupViewTab();
    QWidget *buildGenerationTab();
    QWidget *buildTicketViewTab();
    QWidget *buildPrintTab();
    void setUpTables();
    void onTabChanged(int index);

    void FormCreate();
    void FormDestroy();
    void LoadSettings();
    void SaveSettings();
    void setUpGenerationTab();
    void countFieldChanged(QLineEdit *field);
    int questionRecordCount() const;
    int groupRecordCount() const;
    int radioGroup1Index() const; // -1 when neither item is selected
    void setRadioGroup1Index(int index);
    QString settingsPath() const;

    bool m_terminateRequested = false;
    bool m_settingsRead = false;
    bool m_destroyed = false;
};

} // namespace kv::gui

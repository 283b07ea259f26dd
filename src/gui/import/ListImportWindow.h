#pragma once
// What the two list import windows share: the menu bar "&Открыть файл",
// "&Сохранить файл", "&Загрузить в базу", the bold caption over the list, the
// list editor Memo1, the two file dialogs and an unused status bar. The
// windows are created at start-up and live until the program ends, so the
// text stays from one opening to the next.

#include <QDialog>

#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenuBar;
class QPlainTextEdit;
class QStatusBar;
class QVBoxLayout;

namespace kv::store {
class Table;
}

namespace kv::gui {

class TForm1;

// The settings of a standard file dialog.
struct FileDialogSettings
{
    QString filter;        // "description|pattern|..."
    QString defaultSuffix; // without the dot
};

class ListImportWindow : public QDialog
{
    Q_OBJECT
public:
    // The main window, whose table views the import fills (the parent given
    // at creation when it is the main window).
    TForm1 *Form1 = nullptr;

    QMenuBar *MainMenu1 = nullptr;
    QAction *N1_Open = nullptr, *N2_Save = nullptr, *N3_Zagr = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    FileDialogSettings OpenDialog1{QStringLiteral("Текстовые (*.txt )|*.txt|Все (*.*)|*.*"),
                                   QStringLiteral("txt")};
    FileDialogSettings SaveDialog1{QStringLiteral("Текст (*.txt )|*.txt|Все (*.*)|*.*"),
                                   QStringLiteral("txt")};

public slots:
    // Replaces the list by the lines of a chosen file; cancelling changes
    // nothing, an unreadable file is reported and leaves the list.
    void N1_OpenClick();
    // Writes the list to a chosen file (Windows-1251, CR LF after every line,
    // an existing file replaced without asking).
    void N2_SaveClick();
    virtual void N3_ZagrClick() = 0;

protected:
    ListImportWindow(QWidget *parent, const QString &objectName, const QString &caption,
                     const QString &labelText);

    // The layout under the menu bar; the list caption and Memo1 are added by
    // finishLayout after what the window puts above them.
    QVBoxLayout *body() const { return m_body; }
    void finishLayout();

    // The lines of Memo1 as Windows-1251 text. Characters the code page cannot
    // hold are named to the user first: OK takes them as '?', Cancel returns
    // false and nothing is to be done.
    bool takeLines(std::vector<std::string> &lines);

    // The folder the file dialogs start in: the base folder of the program.
    QString baseFolder() const;

private:
    QVBoxLayout *m_body = nullptr;
};

// While alive: the hourglass cursor, and the list grids over `table`
// detached; both are restored however the work ends.
class ImportWorkGuard
{
public:
    explicit ImportWorkGuard(kv::store::Table &table);
    ~ImportWorkGuard();
    ImportWorkGuard(const ImportWorkGuard &) = delete;
    ImportWorkGuard &operator=(const ImportWorkGuard &) = delete;

private:
    kv::store::Table &m_table;
    bool m_detached;
    int m_uncaught;
};

} // namespace kv::gui

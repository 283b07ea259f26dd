#pragma once
// The status message history window (dormant: nothing shows it and nothing
// adds lines to it). It loads SYSTEM/StatusBar.log under the folder that is
// current when it is created and writes its lines back when it is destroyed.
// Created at start-up with the other windows; lives until the program ends.

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace kv::gui {

class TFormStatusBar : public QDialog
{
    Q_OBJECT
public:
    explicit TFormStatusBar(QWidget *parent = nullptr);
    ~TFormStatusBar() override;

    QPlainTextEdit *Memo1 = nullptr;

    // The folder recorded at creation (the working folder at start-up).
    const QString &folder() const { return m_folder; }

private:
    void FormCreate();
    void FormDestroy();

    QString m_folder;
};

} // namespace kv::gui

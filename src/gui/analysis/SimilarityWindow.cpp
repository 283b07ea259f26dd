#include "SimilarityWindow.h"

#include "core/analysis/Similarity.h"
#include "gui/MessageService.h"
#include "gui/app/MainWindow.h"
#include "gui/base/ViewsSetAside.h"
#include "platform/text/Cp1251.h"
#include "widgets/DigitKeyFilter.h"
#include "widgets/UpDown.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <memory>
#include <optional>
#include <stdexcept>

namespace kv::gui {

namespace {

namespace an = kv::analysis;

constexpr int kDefaultPercent = 70;
constexpr int kProgressSteps = 1000;
// While the progress window is up, window events run at least this often.
constexpr qint64 kEventIntervalMs = 40;

// The questions in table order: the full text and the running number of
// every record of the questions file, read through a view of its own so that
// the main window's current record and a pending edit stay as they are.
std::vector<an::AnalysisQuestion> readQuestions(const TForm1 &form)
{
    kv::store::Table view;
    view.setFileName(form.Table1.fileName());
    view.setReadOnly(true);
    view.open();
    std::vector<an::AnalysisQuestion> questions;
    const int count = view.recordCount();
    questions.reserve(std::size_t(count));
    view.first();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            view.next();
        questions.push_back({view.integerField("NPOR").value_or(0), view.textField("VOPRMEMO")});
    }
    return questions;
}

} // namespace

TForm7::TForm7(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Анализ совпадения вопросов"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setMinimumSize(700, 500);
    resize(700, 500);

    Label1 = new QLabel(QStringLiteral("Процент совпадения"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(QString::number(kDefaultPercent), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaximumWidth(60);
    kv::widgets::DigitKeyFilter::install(Edit1);
    UpDown1 = new kv::widgets::UpDown(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setAssociate(Edit1);
    UpDown1->setMinimum(0);
    UpDown1->setMaximum(100);
    UpDown1->setIncrement(5);
    UpDown1->setPosition(kDefaultPercent);
    BitBtn1 = new QPushButton(QStringLiteral("Начать анализ"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    QFont bold = BitBtn1->font();
    bold.setBold(true);
    BitBtn1->setFont(bold);
    BitBtn1->setDefault(true);

    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont listFont(QStringLiteral("Times New Roman"));
    listFont.setStyleHint(QFont::Serif);
    RichEdit1->setFont(listFont);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(6, 0, 6, 0);
    top->addWidget(Label1);
    top->addWidget(Edit1);
    top->addWidget(UpDown1);
    top->addSpacing(16);
    top->addWidget(BitBtn1);
    top->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(RichEdit1, 1);
    layout->addWidget(StatusBar1);

    connect(Edit1, &QLineEdit::textChanged, this, &TForm7::Edit1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
}

void TForm7::Edit1Change()
{
    const QString text = Edit1->text();
    // An empty field is a number being typed.
    if (text.trimmed().isEmpty())
        return;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) {
        MessageService::showError(
            QString::fromUtf8("\"%1\" не является допустимым целым числом").arg(text), this);
        return;
    }
    // Each write runs this step again.
    if (value > 100) {
        Edit1->setText(QStringLiteral("100"));
        return;
    }
    if (value < 0) {
        Edit1->setText(QStringLiteral("0"));
        return;
    }
    UpDown1->setPosition(value);
}

void TForm7::BitBtn1Click()
{
    if (m_running || !Form1)
        return;
    m_running = true;
    RichEdit1->clear();
    StatusBar1->clearMessage();

    std::optional<WaitCursor> wait;
    wait.emplace();
    an::AnalysisResult result;
    std::uint64_t doneAtStop = 0, totalPairs = 0;
    // Failures end the analysis quietly: a table that cannot be read or a
    // percentage that is no whole number lists nothing.
    try {
        const std::vector<an::AnalysisQuestion> questions = readQuestions(*Form1);
        bool ok = false;
        const int percent = Edit1->text().trimmed().toInt(&ok);
        if (ok) {
            QElapsedTimer clock;
            clock.start();
            qint64 lastEvents = 0;
            std::unique_ptr<QProgressDialog> dialog;
            const auto progress = [&](std::uint64_t done, std::uint64_t total) {
                doneAtStop = done;
                totalPairs = total;
                const qint64 now = clock.elapsed();
                if (!dialog) {
                    if (now < ProgressDelayMs || done >= total)
                        return an::AnalysisStep::Continue;
                    dialog = std::make_unique<QProgressDialog>(this);
                    dialog->setWindowTitle(windowTitle());
                    dialog->setCancelButtonText(QStringLiteral("Прервать"));
                    dialog->setRange(0, kProgressSteps);
                    dialog->setMinimumDuration(0);
                    dialog->setAutoClose(false);
                    dialog->setAutoReset(false);
                    dialog->setWindowModality(Qt::ApplicationModal);
                    // The pointer must be able to reach the cancel button.
                    wait.reset();
                    dialog->show();
                    lastEvents = -kEventIntervalMs;
                }
                if (now - lastEvents >= kEventIntervalMs) {
                    lastEvents = now;
                    dialog->setLabelText(
                        QStringLiteral("Сравнение вопросов: проверено пар %1 из %2")
                            .arg(done)
                            .arg(total));
                    dialog->setValue(int(total ? done * kProgressSteps / total : 0));
                    QCoreApplication::processEvents();
                }
                return dialog->wasCanceled() ? an::AnalysisStep::Stop : an::AnalysisStep::Continue;
            };
            result = an::AnalyseSimilarity(questions, percent, progress);
        }
    } catch (const std::exception &) {
        result = {};
    }

    QStringList lines;
    lines.reserve(qsizetype(result.lines.size()));
    for (const std::string &line : result.lines)
        lines << kv::text::fromCp1251(line);
    RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
    RichEdit1->moveCursor(QTextCursor::Start);
    if (!result.complete)
        StatusBar1->showMessage(
            QStringLiteral("Анализ прерван: проверено пар %1 из %2, показаны совпадения, "
                           "найденные до остановки.")
                .arg(doneAtStop)
                .arg(totalPairs));
    m_running = false;
}

} // namespace kv::gui

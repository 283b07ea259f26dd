#pragma once
// A pair of arrow buttons that steps the whole number in an associated field
// by one within its bounds and writes the new number into the field.

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kv::widgets {

class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    void setAssociate(QLineEdit *field);
    QLineEdit *associate() const { return m_field; }

    void setMinimum(int minimum) { m_min = minimum; }
    void setMaximum(int maximum) { m_max = maximum; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // Sets the position without writing it into the field.
    void setPosition(int position) { m_position = position; }
    int position() const { return m_position; }
    // How far one arrow press moves the number (1 unless set).
    void setIncrement(int increment) { m_increment = increment; }
    int increment() const { return m_increment; }

    // One step (+1 or -1, times the increment) from the number in the field (the position when
    // the field holds no number), kept within the bounds, written into the
    // field. The arrows run this.
    void step(int delta);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    void stepped();

private:
    QPointer<QLineEdit> m_field;
    QToolButton *m_down = nullptr;
    QToolButton *m_up = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_increment = 1;
};

} // namespace kv::widgets

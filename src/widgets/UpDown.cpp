#include "UpDown.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace kv::widgets {

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_down = new QToolButton(this);
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setArrowType(Qt::LeftArrow);
    m_down->setFocusPolicy(Qt::NoFocus);
    m_down->setAutoRepeat(true);
    m_up = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("up"));
    m_up->setArrowType(Qt::RightArrow);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_up->setAutoRepeat(true);
    layout->addWidget(m_down);
    layout->addWidget(m_up);
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
}

void UpDown::setAssociate(QLineEdit *field)
{
    m_field = field;
}

void UpDown::step(int delta)
{
    int from = m_position;
    if (m_field) {
        bool ok = false;
        const int n = m_field->text().trimmed().toInt(&ok);
        if (ok)
            from = n;
    }
    // A number outside the bounds (typed or pasted) is first brought inside.
    from = std::clamp(from, m_min, m_max);
    m_position = std::clamp(from + delta * m_increment, m_min, m_max);
    if (m_field)
        m_field->setText(QString::number(m_position));
    emit stepped();
}

} // namespace kv::widgets

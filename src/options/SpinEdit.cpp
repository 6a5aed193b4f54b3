#include "SpinEdit.h"

#include "CVBeep.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>

namespace {
bool IsAcceptedCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c.category() == QChar::Other_Control;
}
} // namespace

TSpinEdit::TSpinEdit(int minimum, int maximum, QWidget *parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum)
{
    lineEdit()->setMaxLength(4);
    setValue(minimum);
}

void TSpinEdit::setValue(int value)
{
    lineEdit()->setText(QString::number(Bounded(value)));
}

QString TSpinEdit::text() const
{
    return lineEdit()->text();
}

std::optional<qlonglong> TSpinEdit::Parsed() const
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    bool ok = false;
    const qlonglong number = text().toLongLong(&ok);
    if (!ok || !decimal.match(text()).hasMatch()) return std::nullopt;
    return number;
}

std::optional<int> TSpinEdit::value() const
{
    const std::optional<qlonglong> number = Parsed();
    if (!number) return std::nullopt;
    return int(std::clamp<qlonglong>(*number, m_minimum, m_maximum));
}

void TSpinEdit::stepBy(int steps)
{
    setValue(value().value_or(m_minimum) + steps);
    selectAll();
}

void TSpinEdit::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (typed.size() == 1 && !IsAcceptedCharacter(typed.front())) {
        Beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent *event)
{
    if (const std::optional<qlonglong> number = Parsed(); number && (*number < m_minimum || *number > m_maximum))
        setValue(*value());
    QAbstractSpinBox::focusOutEvent(event);
}

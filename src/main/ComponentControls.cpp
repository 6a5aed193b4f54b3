#include "ComponentControls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {
constexpr int MaxComponent = 255;
}

bool FocusLeavesControl(const QFocusEvent &event)
{
    switch (event.reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

KeyVerdict ValidateNumberKeys(const QKeyEvent &event)
{
    // Shortcuts and navigation keys are not characters; they keep working.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return KeyVerdict::Pass;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return KeyVerdict::Discard;
    default:
        break;
    }
    const QString text = event.text();
    if (text.size() != 1 || !text.at(0).isPrint()) return KeyVerdict::Pass;
    const QChar ch = text.at(0);
    if (ch >= u'0' && ch <= u'9') return KeyVerdict::Pass;
    if (ch == u'+' || ch == u'-') return KeyVerdict::Discard;
    return KeyVerdict::Beep;
}

ComponentSpin::ComponentSpin(QWidget *parent) : QSpinBox(parent)
{
    setRange(0, MaxComponent);
    lineEdit()->setMaxLength(3);
    connect(lineEdit(), &QLineEdit::textChanged, this, &ComponentSpin::editTextChanged);
}

QString ComponentSpin::text() const
{
    return lineEdit()->text();
}

void ComponentSpin::setText(const QString &text)
{
    lineEdit()->setText(text);
}

QValidator::State ComponentSpin::validate(QString &input, int &) const
{
    if (input.size() > 3) return QValidator::Invalid;
    for (QChar ch : input)
        if (ch < u'0' || ch > u'9') return QValidator::Invalid;
    if (!input.isEmpty() && input.toInt() > MaxComponent) input = QString::number(MaxComponent);
    return QValidator::Acceptable;
}

int ComponentSpin::valueFromText(const QString &text) const
{
    return text.isEmpty() ? 0 : std::clamp(text.toInt(), 0, MaxComponent);
}

void ComponentSpin::fixup(QString &input) const
{
    if (input.isEmpty()) input = QStringLiteral("0");
}

void ComponentSpin::stepBy(int steps)
{
    // The spin box rewrites its text with the line edit's signals blocked.
    QSpinBox::stepBy(steps);
    emit editTextChanged();
}

void ComponentSpin::keyPressEvent(QKeyEvent *event)
{
    switch (ValidateNumberKeys(*event)) {
    case KeyVerdict::Pass:
        QSpinBox::keyPressEvent(event);
        return;
    case KeyVerdict::Beep:
        QApplication::beep();
        break;
    case KeyVerdict::Discard:
        break;
    }
    event->accept();
}

void ComponentSpin::focusOutEvent(QFocusEvent *event)
{
    // The spin box would re-format its text ("007" as "7", "" as "0"); the editor keeps what was typed and
    // decides itself what an emptied field shows. Putting the typed text back is no edit: it is not reported,
    // which also keeps a window that is being destroyed (and so loses the focus) from being told.
    const QString typed = text();
    QSpinBox::focusOutEvent(event);
    int pos = 0;
    QString check = typed;
    if (text() != typed && validate(check, pos) == QValidator::Acceptable && check == typed) {
        const QSignalBlocker unreported(lineEdit());
        setText(typed);
    }
    if (FocusLeavesControl(*event)) emit left();
}

ComponentSlider::ComponentSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, MaxComponent);
    setPageStep(10);
}

int ComponentSlider::RoundToTen(int value)
{
    int tens = value / 10;
    const int rest = value % 10;
    if (rest > 5 || (rest == 5 && tens % 2 == 1)) ++tens;
    return tens * 10;
}

void ComponentSlider::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Home:
        setValue(minimum());
        break;
    case Qt::Key_End:
        setValue(maximum());
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        setValue(std::clamp(RoundToTen(value()) - 10, minimum(), maximum()));
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        setValue(std::clamp(RoundToTen(value()) + 10, minimum(), maximum()));
        break;
    default:
        QSlider::keyPressEvent(event);
        return;
    }
    event->accept();
}

void NotationEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (FocusLeavesControl(*event)) emit left();
}

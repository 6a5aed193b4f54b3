// TSpinEdit: a field of whole numbers within a range, with up and down buttons. It takes only digits and
// signs from the keyboard (anything else beeps), at most four characters; the arrows step by one within
// the range, and a valid number outside the range becomes the nearest bound when the focus leaves.
// Text that is no number (empty, a lone sign, something pasted) stays as it is for the reader to refuse.
#pragma once

#include <QAbstractSpinBox>

#include <optional>

class TSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
    // What assistive technology reads as the field's value and range (Qt's accessible spin box asks for these).
    Q_PROPERTY(int value READ shownValue WRITE setValue)
    Q_PROPERTY(int minimum READ minimum CONSTANT)
    Q_PROPERTY(int maximum READ maximum CONSTANT)

public:
    TSpinEdit(int minimum, int maximum, QWidget *parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setValue(int value);
    // The text as a number brought into the range, or nothing when the text is no decimal integer.
    std::optional<int> value() const;
    // The same, the minimum while the text is no number.
    int shownValue() const { return value().value_or(m_minimum); }
    QString text() const;

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    QValidator::State validate(QString &, int &) const override { return QValidator::Acceptable; }
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    std::optional<qlonglong> Parsed() const;
    int Bounded(int value) const { return qBound(m_minimum, value, m_maximum); }

    int m_minimum;
    int m_maximum;
};

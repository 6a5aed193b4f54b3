// The editor's controls for one colour component (0 to 255): a number field and a slider with the
// editor's own key rules, and the notation text field that reports when the user leaves it.
#pragma once

#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

class QKeyEvent;

// What the component field does with a key: pass it on, drop it, or drop it with a beep.
enum class KeyVerdict { Pass, Discard, Beep };
KeyVerdict ValidateNumberKeys(const QKeyEvent &event);

// Digits only, at most three, and a number above 255 becomes 255 while it is typed. An empty text is
// allowed and reads as 0; text typed with leading zeros ("007") is kept as typed, also when the focus leaves.
class ComponentSpin : public QSpinBox
{
    Q_OBJECT

public:
    explicit ComponentSpin(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    void fixup(QString &input) const override;
    void stepBy(int steps) override;

signals:
    // Every change of the text by the user: typing, also a keystroke that keeps the value ("0" becoming
    // "00", which QSpinBox's own textChanged does not report), and the arrow keys and buttons.
    void editTextChanged();
    // The focus went to another control of the window (not to a menu or another window).
    void left();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// Left and right (and up and down) move to the next multiple of 10 after rounding the position to the
// nearest one, half to even; Home and End go to the ends.
class ComponentSlider : public QSlider
{
    Q_OBJECT

public:
    explicit ComponentSlider(QWidget *parent = nullptr);
    static int RoundToTen(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

class NotationEdit : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

signals:
    void left();

protected:
    void focusOutEvent(QFocusEvent *event) override;
};

// True when a focus change moves the focus to another control of the same window.
bool FocusLeavesControl(const QFocusEvent &event);

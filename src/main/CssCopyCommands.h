// Copy As: a command for each CSS format that puts the current colour on the clipboard in it, in a submenu
// whose entries show, as their hints, their text for the colour as the menu opens; and Copy Again, which
// repeats the format last chosen and names it in its caption. The format chosen is kept as a preference.
#pragma once

#include "uFunctions.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QAction;
class QMenu;
namespace colour {
struct ColourFormat;
}

class CssCopyCommands : public QObject
{
    Q_OBJECT

public:
    // Makes a command the window's own (its list, its hint, its rule that a command runs only when available),
    // which runs `run` when chosen.
    using AddCommand = std::function<QAction *(const char *name, const QString &caption, const QString &hint,
                                               const QKeySequence &shortcut, std::function<void()> run)>;

    // Puts a text on the clipboard as the window's other copy commands do, telling the user when it cannot.
    using CopyText = std::function<void(const std::string &text)>;

    // The format commands go into `menu`, in CSS's order, then Copy Again is made.
    CssCopyCommands(CopyText copyText, QMenu &menu, const AddCommand &addCommand, QObject *parent = nullptr);

    QAction *again() const { return m_again; }
    // The current colour, as the window sets it.
    void setColour(colour::Colour colour) { m_colour = colour; }

private:
    void copy(const colour::ColourFormat &format);
    void nameAgain();
    void showTexts();

    CopyText m_copyText;
    QMenu &m_menu;
    QAction *m_again = nullptr;
    colour::Colour m_colour = colour::White;
};

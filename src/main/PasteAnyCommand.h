// Paste Any Color: the colour the clipboard's text holds in any notation of CSS Color 4 (or the program's own).
// It follows the clipboard, so that the command is offered only while there is such a colour, and tells what
// had to give way to make that colour one of the program's.
#pragma once

#include "uFunctions.h"

#include <QObject>
#include <QString>

class Clipboard;

class PasteAnyCommand : public QObject
{
    Q_OBJECT

public:
    explicit PasteAnyCommand(Clipboard &clipboard, QObject *parent = nullptr);

    // Whether the clipboard's text, as last read, holds a colour.
    bool available() const { return m_available; }
    // Reads the clipboard now; its colour goes out by `pasted`.
    void paste();

signals:
    // `note` is the word for the status bar: what was mapped or dropped, or empty.
    void pasted(colour::Colour colour, const QString &note);

private:
    void clipboardRead();

    Clipboard &m_clipboard;
    bool m_available = false;
};

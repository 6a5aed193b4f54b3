// The menu of the recent colours: an entry per colour, newest first, with a swatch and its HTML notation, then
// the command that clears them. It follows the history as it changes.
#pragma once

#include "uFunctions.h"

#include <QMenu>

class ColourHistory;

class RecentColoursMenu : public QMenu
{
    Q_OBJECT

public:
    // `clear` is the command that clears the history; it stands last.
    RecentColoursMenu(const ColourHistory &history, QAction *clear, QWidget *parent = nullptr);

signals:
    void colourChosen(colour::Colour colour);

private:
    void rebuild();

    const ColourHistory &m_history;
    QAction *m_clear;
};

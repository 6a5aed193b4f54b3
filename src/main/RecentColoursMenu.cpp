#include "RecentColoursMenu.h"

#include "ColourHistory.h"
#include "ColourSwatch.h"

using namespace colour;

RecentColoursMenu::RecentColoursMenu(const ColourHistory &history, QAction *clear, QWidget *parent)
    : QMenu(parent), m_history(history), m_clear(clear)
{
    connect(&history, &ColourHistory::changed, this, &RecentColoursMenu::rebuild);
    rebuild();
}

void RecentColoursMenu::rebuild()
{
    clear();
    for (const Colour colour : m_history.colours()) {
        QAction *entry =
            addAction(SwatchIcon(colour, devicePixelRatio()), QString::fromStdString(ColourToHTMLText(colour)));
        connect(entry, &QAction::triggered, this, [this, colour] { emit colourChosen(colour); });
    }
    addSeparator();
    addAction(m_clear);
}

#include "RecentColoursMenu.h"

#include "ColourHistory.h"
#include "QtColour.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon Swatch(Colour colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(toQColor(colour));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

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
        QAction *entry = addAction(Swatch(colour), QString::fromStdString(ColourToHTMLText(colour)));
        connect(entry, &QAction::triggered, this, [this, colour] { emit colourChosen(colour); });
    }
    addSeparator();
    addAction(m_clear);
}

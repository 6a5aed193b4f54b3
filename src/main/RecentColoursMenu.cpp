#include "RecentColoursMenu.h"

#include "ColourHistory.h"
#include "QtColour.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Drawn in the screen's own pixels, so that its edge stays sharp at any scale.
QIcon Swatch(Colour colour, qreal scale)
{
    constexpr int Side = 16;
    QPixmap pixmap(QSize(Side, Side) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(toQColor(colour));
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.drawRect(QRectF(0, 0, Side - 1.0 / scale, Side - 1.0 / scale));
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
        QAction *entry =
            addAction(Swatch(colour, devicePixelRatio()), QString::fromStdString(ColourToHTMLText(colour)));
        connect(entry, &QAction::triggered, this, [this, colour] { emit colourChosen(colour); });
    }
    addSeparator();
    addAction(m_clear);
}

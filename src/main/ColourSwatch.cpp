#include "ColourSwatch.h"
#include "QtColour.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

using namespace colour;

ColourSwatch::ColourSwatch(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    describeColour();
}

// A screen reader tells the colour by its description, as the HTML notation.
void ColourSwatch::describeColour()
{
    setAccessibleDescription(QString::fromStdString(ColourToHTMLText(m_colour)));
}

void ColourSwatch::setColour(Colour colour)
{
    if (colour == m_colour) return;
    m_colour = colour;
    describeColour();
    update();
    emit colourChanged(colour);
}

void ColourSwatch::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), toQColor(m_colour));
    }
    QFrame::paintEvent(event);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    emit released(event->button(), event->position().toPoint());
}

void ColourSwatch::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}

QIcon SwatchIcon(Colour colour, qreal scale)
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

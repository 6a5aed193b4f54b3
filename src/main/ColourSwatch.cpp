#include "ColourSwatch.h"

#include <QPainter>

ColourSwatch::ColourSwatch(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourSwatch::setColour(Colour colour)
{
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), QColor(GetRValue(m_colour), GetGValue(m_colour), GetBValue(m_colour)));
    }
    QFrame::paintEvent(event);
}

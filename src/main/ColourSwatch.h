// A sunken panel filled with one Colour: the large current-colour swatch and the colour slots.
// Its colour is the Qt property "Color" (a signed 32-bit Colour value) so stored state can reach it by name, and
// its accessible description the colour's HTML notation.
#pragma once

#include "uFunctions.h"

#include <QFrame>
#include <QIcon>

class ColourSwatch : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(int Color READ colorValue WRITE setColorValue NOTIFY colourChanged)

public:
    explicit ColourSwatch(QWidget *parent = nullptr);

    colour::Colour colour() const { return m_colour; }
    void setColour(colour::Colour colour);

    int colorValue() const { return int(m_colour); }
    void setColorValue(int value) { setColour(colour::Colour(value)); }

signals:
    void colourChanged(colour::Colour colour);
    // A mouse button came up over the swatch; the position is in the swatch's own coordinates.
    void released(Qt::MouseButton button, const QPoint &pos);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void describeColour();

    colour::Colour m_colour = colour::White;
};

// A small square of the colour with a grey edge, for a menu entry or a button, drawn in the screen's own pixels
// at `scale` so that its edge stays sharp.
QIcon SwatchIcon(colour::Colour colour, qreal scale);

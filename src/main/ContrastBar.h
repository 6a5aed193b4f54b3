// The contrast bar: the current colour as text on a background colour and the background as text on it, the
// WCAG ratio of the two with the five verdicts, and the colour nearest the current one that passes AA normal
// text. The bar only shows: a colour it offers (the nearest passing one, the background of a swap) goes out by
// colourChosen, and the current colour comes back in by setForeground like every control's.
#pragma once

#include "uFunctions.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class ContrastSample;

class ContrastBar : public QWidget
{
    Q_OBJECT

public:
    explicit ContrastBar(QWidget *parent = nullptr);

    colour::Colour background() const { return m_background; }
    void setBackground(colour::Colour colour);
    void setForeground(colour::Colour colour);
    // Hidden and shown by the View menu and the window's stored state; the window fits its height to it.
    void setVisible(bool visible) override;

signals:
    void backgroundChanged(colour::Colour colour);
    void colourChosen(colour::Colour colour);
    void visibilityChanged(bool visible);

private:
    void refresh();
    void swap();

    colour::Colour m_foreground = 0;
    colour::Colour m_background = colour::White;
    ContrastSample *m_onBackground = nullptr;
    ContrastSample *m_onForeground = nullptr;
    QLabel *m_ratio = nullptr;
    QList<QLabel *> m_verdicts;
    QPushButton *m_nearest = nullptr;
    colour::Colour m_nearestColour = 0;
};

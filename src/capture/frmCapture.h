// Picking the colour of a screen pixel: a borderless window over each captured screen shows that screen's part
// of a snapshot, and the user picks a pixel of it with the mouse or the keyboard. What the user sees is exactly
// what is read.
#pragma once

#include "CaptureChoices.h"
#include "DisplayProfile.h"
#include "ScreenService.h"
#include "uFunctions.h"

#include <QWidget>

#include <optional>
#include <string>
#include <utility>
#include <variant>

// What a pick took: the device value the screen was sent, and what it means in sRGB where the screen's colour
// profile tells.
struct PickedColour
{
    colour::Colour device = colour::White;
    std::optional<colour::SRGBValue> srgb; // none without a usable profile
    std::string profile;                   // the profile's description; why it cannot serve; or empty without one
};

// One screen's capture window. The pick point is the snapshot pixel a pick takes: the one under the pointer's
// hot spot, or where the arrow keys moved it; the colour taken is the mean of the sample's square around it.
class TCaptureFrm : public QWidget
{
    Q_OBJECT

public:
    TCaptureFrm();

    // Covers the picture's screen with it, with the magnifier and the sample chosen, until hidden.
    void Show(const ScreenPicture &picture, CaptureChoices choices);
    // Lets go of the picture, once the window is hidden.
    void Release();
    void SetZoom(int zoom);
    void SetSample(int side);

    // None while the pointer is on another screen and no key has moved the point here.
    std::optional<QPoint> PickPoint() const { return m_point; }
    // The magnifier's lines for a picture pixel: its colour and place, then what the picture is known to hold.
    QStringList MagnifierText(QPoint pixel) const;

    // Picture pixels per logical pixel, across and down, of a picture shown over a whole screen of `screen`
    // logical size and device pixel ratio `dpr`. Qt's own ratio wherever it accounts for the picture: the
    // screen's logical size is rounded to whole pixels, and the ratio of the sizes would be off by up to half a
    // pixel at the far edge. Only where the compositor scales on its own (Wayland at a fractional scale, where
    // Qt 6.4 draws at the next whole one) does the ratio of the sizes tell.
    static QSizeF PictureScale(QSize screen, qreal dpr, QSize picture);
    // The picture's pixel under `position`, in logical pixels of the window, exactly as the window system
    // gave it (a widget's own event position is rounded to whole logical pixels).
    static QPoint PicturePixel(QPointF position, QSizeF scale, QSize picture);

signals:
    void picked(const PickedColour &colour);
    void cancelled();
    void zoomChanged(int zoom);
    void sampleChanged(int side);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QSizeF Scale() const;
    QPoint PixelAt(QPointF position) const;
    PickedColour Picked(QPoint pixel) const;
    void MovePickPoint(std::optional<QPoint> point);
    void MovePickPointBy(int dx, int dy);
    QPointF PixelCentre(QPoint pixel) const;
    QRect OverlayRect(QPoint pixel) const; // what the cross-hair and the magnifier cover
    QRect CrossHairRect(QPoint pixel) const;
    int MagnifiedPixel() const; // logical pixels across one enlarged pixel

    QRect MagnifierRect(QPoint pixel) const;
    void PaintCrossHair(QPainter &painter, QPoint pixel) const;
    void PaintMagnifier(QPainter &painter, QPoint pixel) const;
    void StepZoom(int steps);
    void StepSample(int steps);
    bool IsRepeat(const QKeyEvent &press) const;
    bool IsRealRelease(const QKeyEvent &release) const;

    ScreenPicture m_picture;
    std::optional<std::variant<colour::DisplayProfile, std::string>> m_profile; // the picture's, or why it cannot serve
    QByteArray m_profileBytes;                                                  // what m_profile was read from
    int m_zoom = CaptureZooms.front();
    int m_sample = CaptureSamples.front();
    int m_wheel = 0; // wheel turns not yet a whole step
    std::optional<QPoint> m_point;
    // The last release that belonged to a held key (its scan code and time): the press of the same key at the
    // same time repeats it.
    std::optional<std::pair<quint32, quint64>> m_repeat;
};

// Picking the colour of a screen pixel: a borderless window over the whole primary screen shows a snapshot
// of it, and the user's click on the snapshot chooses the pixel. What the user sees is exactly what is read.
#pragma once

#include "uFunctions.h"

#include <QDialog>
#include <QImage>

#include <optional>

class ScreenService;

// One window serves every capture with a new snapshot: the first showing of a window the size of the screen
// costs as much again as the grab itself (fresh memory for its backing store), later ones almost nothing.
class TCaptureFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TCaptureFrm(QWidget *parent = nullptr);

    // Shows `snapshot` over the whole primary screen until the user picks a pixel (OK) or cancels.
    int exec(const QImage &snapshot);

    // The snapshot's pixel under the point where the left button was released; valid after OK.
    QPoint pickedPixel() const { return m_picked; }
    Colour pickedColour() const;

    // The device pixel of a snapshot of `snapshot` size drawn over a window of `window` size, under `position`.
    // Scales by the two sizes rather than by a device pixel ratio, which is exact at fractional scales too.
    static QPoint SnapshotPixel(QPointF position, QSize window, QSize snapshot);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    using QDialog::exec;
    Colour SnapshotColour(QPoint pixel) const;
    QRect magnifierRect(QPointF pointer) const;
    void paintMagnifier(QPainter &painter) const;

    QImage m_snapshot;
    QPoint m_picked;
    Colour m_pickedColour = White;
    std::optional<QPointF> m_pointer;
};

// Takes a snapshot through `screen`, lets the user pick a pixel of it in `form`, and returns its colour; nothing
// when the user cancelled, here or at the desktop's own question. Throws ECVException (a warning) when no
// snapshot can be had.
std::optional<Colour> CaptureColour(ScreenService &screen, TCaptureFrm &form);

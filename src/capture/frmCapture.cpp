#include "frmCapture.h"

#include "CVExceptions.h"
#include "ScreenService.h"

#include <QBitmap>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MagnifiedPixels = 9;  // device pixels across the magnifier
constexpr int MagnifiedSize = 8;    // logical pixels per magnified pixel
constexpr int MagnifierOffset = 24; // from the pointer's hot spot

QCursor CaptureCursor()
{
    const QBitmap bitmap = QBitmap::fromImage(QImage(QStringLiteral(":/cursor/capture-bitmap.png")));
    const QBitmap mask = QBitmap::fromImage(QImage(QStringLiteral(":/cursor/capture-mask.png")));
    return QCursor(bitmap, mask, 0, 0); // the eyedropper's tip is the hot spot
}

} // namespace

TCaptureFrm::TCaptureFrm(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("CaptureFrm"));
    setWindowTitle(QStringLiteral("CaptureFrm")); // never shown: the window has no title bar
    setCursor(CaptureCursor());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // On X11 the window is mapped by the server at once, without the window manager's round trip; it takes
    // the keyboard itself (Qt sets the input focus directly for such a window).
    if (!IsWaylandSession()) setWindowFlag(Qt::X11BypassWindowManagerHint);
}

int TCaptureFrm::exec(const QImage &snapshot)
{
    m_snapshot = snapshot;
    m_pointer.reset();
    const QScreen *screen = QGuiApplication::primaryScreen();
    setGeometry(screen ? screen->geometry() : QRect(QPoint(0, 0), snapshot.deviceIndependentSize().toSize()));
    // A Wayland client cannot place its window; only full screen puts it over the whole output.
    if (IsWaylandSession()) setWindowState(windowState() | Qt::WindowFullScreen);
    const int result = QDialog::exec();
    m_snapshot = QImage(); // the next capture brings its own; no picture of the screen is kept
    return result;
}

Colour TCaptureFrm::pickedColour() const { return m_pickedColour; }

Colour TCaptureFrm::SnapshotColour(QPoint pixel) const
{
    const QRgb rgb = m_snapshot.pixel(pixel);
    return MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QPoint TCaptureFrm::SnapshotPixel(QPointF position, QSize window, QSize snapshot)
{
    if (window.isEmpty() || snapshot.isEmpty()) return {};
    const int x = int(std::floor(position.x() * snapshot.width() / window.width()));
    const int y = int(std::floor(position.y() * snapshot.height() / window.height()));
    return {std::clamp(x, 0, snapshot.width() - 1), std::clamp(y, 0, snapshot.height() - 1)};
}

void TCaptureFrm::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(rect(), m_snapshot);
    if (m_pointer && event->rect().intersects(magnifierRect(*m_pointer))) paintMagnifier(painter);
}

QRect TCaptureFrm::magnifierRect(QPointF pointer) const
{
    const int side = MagnifiedPixels * MagnifiedSize + 2;
    // Wide enough for the widest hexadecimal text too, whatever the font.
    const int boxWidth = std::max(side, fontMetrics().horizontalAdvance(QStringLiteral("0x00DDDDDD")) + 8);
    const int textHeight = fontMetrics().height() + 4;
    QRect box(pointer.toPoint() + QPoint(MagnifierOffset, MagnifierOffset), QSize(boxWidth, side + textHeight));
    // Keep it on screen: flip to the other side of the pointer near the right and bottom edges.
    if (box.right() > width()) box.moveRight(int(pointer.x()) - MagnifierOffset);
    if (box.bottom() > height()) box.moveBottom(int(pointer.y()) - MagnifierOffset);
    return box;
}

void TCaptureFrm::paintMagnifier(QPainter &painter) const
{
    const QRect box = magnifierRect(*m_pointer);
    const QPoint centre = SnapshotPixel(*m_pointer, size(), m_snapshot.size());
    const QSize zoomSize = QSize(MagnifiedPixels, MagnifiedPixels) * MagnifiedSize;
    const QRect zoom(box.topLeft() + QPoint((box.width() - zoomSize.width()) / 2, 1), zoomSize);

    painter.fillRect(box, palette().window());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect source(centre - QPoint(MagnifiedPixels / 2, MagnifiedPixels / 2), QSize(MagnifiedPixels, MagnifiedPixels));
    QImage area(source.size(), QImage::Format_RGB32);
    area.fill(Qt::black); // beyond the screen's edge
    {
        QPainter copy(&area);
        copy.drawImage(QPoint(0, 0), m_snapshot, source);
    }
    painter.drawImage(zoom, area);
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const QRect centrePixel(zoom.topLeft() + QPoint(MagnifiedPixels / 2, MagnifiedPixels / 2) * MagnifiedSize,
                            QSize(MagnifiedSize, MagnifiedSize));
    painter.setPen(Qt::white);
    painter.drawRect(centrePixel.adjusted(-1, -1, 0, 0));
    painter.setPen(Qt::black);
    painter.drawRect(centrePixel.adjusted(-2, -2, 1, 1));

    const QString text = QString::fromStdString(ColourToHEXText(SnapshotColour(centre)));
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(box.left(), zoom.bottom() + 2, box.width(), box.bottom() - zoom.bottom() - 2),
                     Qt::AlignCenter, text);
}

void TCaptureFrm::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pointer) update(magnifierRect(*m_pointer));
    m_pointer = event->position();
    update(magnifierRect(*m_pointer));
}

void TCaptureFrm::mouseReleaseEvent(QMouseEvent *event)
{
    // The release alone counts; Shift and the other modifiers are ignored.
    switch (event->button()) {
    case Qt::LeftButton:
        m_picked = SnapshotPixel(event->position(), size(), m_snapshot.size());
        m_pickedColour = SnapshotColour(m_picked);
        accept();
        break;
    case Qt::RightButton:
        reject();
        break;
    default:
        break;
    }
}

void TCaptureFrm::keyPressEvent(QKeyEvent *event)
{
    // QDialog would close on the press of Escape; the capture closes on its release only.
    event->accept();
}

void TCaptureFrm::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) reject();
    event->accept();
}

bool TCaptureFrm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        raise();
        activateWindow();
    }
    return QDialog::event(event);
}

std::optional<Colour> CaptureColour(ScreenService &screen, TCaptureFrm &form)
{
    std::optional<QImage> snapshot;
    bool cancelled = false;
    QString failure, details;
    QEventLoop waiting;
    QObject::connect(&screen, &ScreenService::snapshotReady, &waiting, [&](const QImage &image) {
        snapshot = image;
        waiting.quit();
    });
    QObject::connect(&screen, &ScreenService::snapshotFailed, &waiting, [&](const QString &message, const QString &cause) {
        failure = message.isEmpty() ? QStringLiteral("The screen could not be read.") : message;
        details = cause;
        waiting.quit();
    });
    QObject::connect(&screen, &ScreenService::snapshotCancelled, &waiting, [&] {
        cancelled = true;
        waiting.quit();
    });
    screen.requestSnapshot();
    if (!snapshot && !cancelled && failure.isEmpty()) waiting.exec();
    if (cancelled) return std::nullopt;
    if (!snapshot) throw ECVException(failure, details, 1);

    if (form.exec(*snapshot) != QDialog::Accepted) return std::nullopt;
    return form.pickedColour();
}

#include "frmCapture.h"

#include "AreaSample.h"
#include "KeyState.h"
#include "QtColour.h"
#include "SessionType.h"

#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cmath>

using namespace colour;

namespace {

constexpr int MagnifierSide = 117;  // logical pixels across the enlarged pixels, about
constexpr int MagnifierOffset = 24; // from the pick point
constexpr int CrossHairGap = 3;     // logical pixels left clear around the pick point
constexpr int CrossHairArm = 11;
constexpr int MagnifierTextWidth = 300; // at most, for a line that tells of the screen's colour profile

// A Wayland compositor gives the pointer's position in 1/256 of a logical pixel, so the left or top edge of a
// device pixel can come out a hair before the edge.
constexpr qreal PixelEdgeTolerance = 0.01;

// A picture with transparency, not a bitmap and a mask: Qt's Wayland platform has no picture of those to give
// the compositor, which then shows no pointer at all.
QCursor CaptureCursor()
{
    return QCursor(QPixmap(QStringLiteral(":/cursor/capture.png")), 0, 0); // the eyedropper's tip is the hot spot
}

} // namespace

TCaptureFrm::TCaptureFrm() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("CaptureFrm"));
    setWindowTitle(QStringLiteral("CaptureFrm")); // never shown: the window has no title bar
    setCursor(CaptureCursor());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // On X11 the window is mapped by the server at once, without the window manager's round trip; it takes
    // the keyboard itself (Qt sets the input focus directly for such a window).
    if (!isWaylandSession()) setWindowFlag(Qt::X11BypassWindowManagerHint);
}

void TCaptureFrm::Show(const ScreenPicture &picture, CaptureChoices choices)
{
    m_picture = picture;
    // A screen's profile is read once while its bytes stay the same: reading builds a transform.
    if (picture.profile != m_profileBytes) {
        m_profileBytes = picture.profile;
        m_profile.reset();
        if (!picture.profile.isEmpty())
            m_profile =
                DisplayProfile::Read(std::string_view(picture.profile.constData(), size_t(picture.profile.size())));
    }
    m_zoom = NearestCaptureZoom(choices.zoom);
    m_sample = NearestCaptureSample(choices.sample);
    m_wheel = 0;
    m_point.reset();
    m_repeat.reset();
    setScreen(picture.screen);
    setGeometry(picture.screen->geometry());
    // A Wayland client cannot place its window; only full screen puts it over the whole output.
    if (isWaylandSession()) setWindowState(windowState() | Qt::WindowFullScreen);
    show();
    raise();
}

void TCaptureFrm::Release()
{
    m_picture = {}; // the next capture brings its own; no picture of the screen is kept
    m_point.reset();
}

void TCaptureFrm::SetZoom(int zoom)
{
    // The magnifier's old place too: a smaller one would leave the old one's edge on the picture.
    if (m_point) update(OverlayRect(*m_point));
    m_zoom = NearestCaptureZoom(zoom);
    if (m_point) update(OverlayRect(*m_point));
}

void TCaptureFrm::SetSample(int side)
{
    if (m_point) update(OverlayRect(*m_point));
    m_sample = NearestCaptureSample(side);
    if (m_point) update(OverlayRect(*m_point));
}

QSizeF TCaptureFrm::PictureScale(QSize screen, qreal dpr, QSize picture)
{
    const auto scale = [dpr](int logical, int pixels) {
        return std::abs(logical * dpr - pixels) < dpr || logical <= 0 ? dpr : qreal(pixels) / logical;
    };
    return {scale(screen.width(), picture.width()), scale(screen.height(), picture.height())};
}

QPoint TCaptureFrm::PicturePixel(QPointF position, QSizeF scale, QSize picture)
{
    if (picture.isEmpty()) return {};
    const int x = int(std::floor(position.x() * scale.width() + PixelEdgeTolerance));
    const int y = int(std::floor(position.y() * scale.height() + PixelEdgeTolerance));
    return {std::clamp(x, 0, picture.width() - 1), std::clamp(y, 0, picture.height() - 1)};
}

QSizeF TCaptureFrm::Scale() const
{
    const QScreen *screen = m_picture.screen;
    return screen ? PictureScale(screen->geometry().size(), screen->devicePixelRatio(), m_picture.image.size())
                  : QSizeF(1, 1);
}

QPoint TCaptureFrm::PixelAt(QPointF position) const
{
    return PicturePixel(position, Scale(), m_picture.image.size());
}

PickedColour TCaptureFrm::Picked(QPoint pixel) const
{
    // Where the screen has a profile, the mean of what the screen was sent is what the profile converts.
    PickedColour picked{AverageArea(m_picture.image, pixel, m_sample).colour, std::nullopt, {}};
    if (!m_profile) return picked;
    if (const auto *profile = std::get_if<DisplayProfile>(&*m_profile)) {
        picked.srgb = profile->ToSRGB(picked.device);
        picked.profile = profile->Description();
    } else {
        picked.profile = std::get<std::string>(*m_profile);
    }
    return picked;
}

QPointF TCaptureFrm::PixelCentre(QPoint pixel) const
{
    const QSizeF scale = Scale();
    return {(pixel.x() + 0.5) / scale.width(), (pixel.y() + 0.5) / scale.height()};
}

void TCaptureFrm::MovePickPoint(std::optional<QPoint> point)
{
    if (point == m_point) return;
    // Only what the cross-hair and the magnifier cover is painted again.
    if (m_point) update(OverlayRect(*m_point));
    m_point = point;
    if (m_point) update(OverlayRect(*m_point));
}

void TCaptureFrm::MovePickPointBy(int dx, int dy)
{
    const QRect pixels = m_picture.image.rect();
    if (pixels.isEmpty()) return;
    const QPoint from = m_point.value_or(pixels.center());
    MovePickPoint(QPoint(std::clamp(from.x() + dx, pixels.left(), pixels.right()),
                         std::clamp(from.y() + dy, pixels.top(), pixels.bottom())));
}

QRect TCaptureFrm::OverlayRect(QPoint pixel) const
{
    return MagnifierRect(pixel) | CrossHairRect(pixel);
}

QRect TCaptureFrm::CrossHairRect(QPoint pixel) const
{
    const QPoint centre = PixelCentre(pixel).toPoint();
    const int reach = CrossHairArm + 2;
    return {centre - QPoint(reach, reach), centre + QPoint(reach, reach)};
}

int TCaptureFrm::MagnifiedPixel() const
{
    return std::max(3, MagnifierSide / m_zoom);
}

QStringList TCaptureFrm::MagnifierText(QPoint pixel) const
{
    const QPoint inSnapshot = m_picture.origin + pixel;
    const PickedColour picked = Picked(pixel);
    QStringList lines{QStringLiteral("%1  (%2, %3)")
                          .arg(QString::fromStdString(ColourToHEXText(picked.device)))
                          .arg(inSnapshot.x())
                          .arg(inSnapshot.y())};
    if (picked.srgb) {
        // The profile's name, shortened to fit: the colour must show whole.
        const QString value = QStringLiteral("sRGB %1%2 via ")
                                  .arg(QString::fromStdString(ColourToHTMLText(picked.srgb->colour)),
                                       picked.srgb->clipped ? QStringLiteral(" (clipped)") : QString());
        const int room = MagnifierTextWidth - fontMetrics().horizontalAdvance(value + QStringLiteral("\"\""));
        lines.append(value + u'"' +
                     fontMetrics().elidedText(QString::fromStdString(picked.profile), Qt::ElideMiddle, room) + u'"');
    } else if (!picked.profile.empty()) {
        lines.append(QStringLiteral("The screen's color profile can't be used"));
    }
    if (m_sample > 1) {
        const QRect counted = SampleRect(pixel, m_sample) & m_picture.image.rect();
        const int pixels = counted.width() * counted.height();
        QString sample = QStringLiteral("%1x%1 average").arg(m_sample);
        if (pixels < m_sample * m_sample) sample += QStringLiteral(", %1 pixels").arg(pixels);
        lines.append(sample);
    }
    if (m_picture.mayShowPointer) lines.append(QStringLiteral("The desktop drew its pointer into this picture"));
    return lines;
}

QRect TCaptureFrm::MagnifierRect(QPoint pixel) const
{
    const int side = m_zoom * MagnifiedPixel() + 2;
    // Wide enough for the widest text too, whatever the font; the first line keeps its width from pixel to pixel.
    const QStringList text = MagnifierText(pixel);
    int textWidth = fontMetrics().horizontalAdvance(QStringLiteral("0x00DDDDDD  (88888, 88888)"));
    for (const QString &line : text.mid(1))
        textWidth = std::max(textWidth, fontMetrics().horizontalAdvance(line));
    const int boxWidth = std::max(side, textWidth + 8);
    const int textHeight = int(text.size()) * fontMetrics().height() + 4;
    const QPoint centre = PixelCentre(pixel).toPoint();
    QRect box(centre + QPoint(MagnifierOffset, MagnifierOffset), QSize(boxWidth, side + textHeight));
    // Keep it on screen: flip to the other side of the pick point near the right and bottom edges.
    if (box.right() > width()) box.moveRight(centre.x() - MagnifierOffset);
    if (box.bottom() > height()) box.moveBottom(centre.y() - MagnifierOffset);
    return box;
}

void TCaptureFrm::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    {
        // Drawn in the picture's own pixels: one on each device pixel wherever the scale is Qt's own, so that
        // what is seen is exactly what is picked.
        const QSizeF scale = Scale();
        painter.save();
        painter.scale(1 / scale.width(), 1 / scale.height());
        painter.drawImage(QPoint(0, 0), m_picture.image);
        painter.restore();
    }
    if (!m_point || !event->rect().intersects(OverlayRect(*m_point))) return;
    PaintCrossHair(painter, *m_point);
    PaintMagnifier(painter, *m_point);
}

void TCaptureFrm::PaintCrossHair(QPainter &painter, QPoint pixel) const
{
    const QPointF centre = PixelCentre(pixel);
    const qreal gap = CrossHairGap + 0.5 / Scale().width();
    QList<QLineF> arms;
    for (const QPointF direction : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)})
        arms.append(QLineF(centre + direction * gap, centre + direction * CrossHairArm));
    // Dark with a light edge: seen on any colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLines(arms);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLines(arms);
}

void TCaptureFrm::PaintMagnifier(QPainter &painter, QPoint pixel) const
{
    const QRect box = MagnifierRect(pixel);
    const int cell = MagnifiedPixel();
    const QSize zoomSize = QSize(m_zoom, m_zoom) * cell;
    const QRect zoom(box.topLeft() + QPoint((box.width() - zoomSize.width()) / 2, 1), zoomSize);

    painter.fillRect(box, palette().window());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect source(pixel - QPoint(m_zoom / 2, m_zoom / 2), QSize(m_zoom, m_zoom));
    QImage area(source.size(), QImage::Format_RGB32);
    area.fill(Qt::black); // beyond the screen's edge
    {
        QPainter copy(&area);
        copy.drawImage(QPoint(0, 0), m_picture.image, source);
    }
    painter.drawImage(zoom, area);
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    // The centre pixel, and the square averaged around it as far as the magnifier shows it: white inside black.
    const auto outline = [&](int side) {
        const QRect cells = SampleRect(QPoint(m_zoom / 2, m_zoom / 2), side) & QRect(0, 0, m_zoom, m_zoom);
        const QRect square(zoom.topLeft() + cells.topLeft() * cell, cells.size() * cell);
        painter.setPen(Qt::white);
        painter.drawRect(square.adjusted(-1, -1, 0, 0));
        painter.setPen(Qt::black);
        painter.drawRect(square.adjusted(-2, -2, 1, 1));
    };
    outline(1);
    if (m_sample > 1) outline(m_sample);

    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(box.left(), zoom.bottom() + 2, box.width(), box.bottom() - zoom.bottom() - 2),
                     Qt::AlignCenter, MagnifierText(pixel).join(u'\n'));
}

void TCaptureFrm::enterEvent(QEnterEvent *event)
{
    // The window under the pointer takes the keys.
    activateWindow();
    MovePickPoint(PixelAt(event->scenePosition()));
}

void TCaptureFrm::leaveEvent(QEvent *)
{
    MovePickPoint(std::nullopt);
}

void TCaptureFrm::mouseMoveEvent(QMouseEvent *event)
{
    MovePickPoint(PixelAt(event->scenePosition()));
}

void TCaptureFrm::mouseReleaseEvent(QMouseEvent *event)
{
    // The release alone counts; Shift and the other modifiers are ignored.
    switch (event->button()) {
    case Qt::LeftButton: {
        const QPoint pixel = PixelAt(event->scenePosition());
        MovePickPoint(pixel);
        emit picked(Picked(pixel));
        break;
    }
    case Qt::RightButton:
        emit cancelled();
        break;
    default:
        break;
    }
}

void TCaptureFrm::wheelEvent(QWheelEvent *event)
{
    // Away from the user zooms in: fewer pixels across; with Ctrl it takes a larger sample. A touchpad turns in
    // small parts of a step.
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / QWheelEvent::DefaultDeltasPerStep;
    if (steps == 0) return;
    m_wheel -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (event->modifiers() & Qt::ControlModifier)
        StepSample(steps);
    else
        StepZoom(-steps);
}

void TCaptureFrm::StepZoom(int steps)
{
    const int zoom = StepCaptureZoom(m_zoom, steps);
    if (zoom == m_zoom) return;
    SetZoom(zoom);
    emit zoomChanged(m_zoom);
}

void TCaptureFrm::StepSample(int steps)
{
    const int side = StepCaptureSample(m_sample, steps);
    if (side == m_sample) return;
    SetSample(side);
    emit sampleChanged(m_sample);
}

bool TCaptureFrm::IsRepeat(const QKeyEvent &press) const
{
    return press.isAutoRepeat() || m_repeat == std::pair(press.nativeScanCode(), press.timestamp());
}

bool TCaptureFrm::IsRealRelease(const QKeyEvent &release) const
{
    if (release.isAutoRepeat()) return false;
    // On X11 a repeat's release can come unflagged; then the key is still down.
    return !isKeyDown(release.nativeScanCode()).value_or(false);
}

void TCaptureFrm::keyPressEvent(QKeyEvent *event)
{
    // A held arrow key keeps moving the point; Enter and Space pick once, on a press made in this window.
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        MovePickPointBy(-step, 0);
        break;
    case Qt::Key_Right:
        MovePickPointBy(step, 0);
        break;
    case Qt::Key_Up:
        MovePickPointBy(0, -step);
        break;
    case Qt::Key_Down:
        MovePickPointBy(0, step);
        break;
    case Qt::Key_BracketLeft:
        StepSample(-1);
        break;
    case Qt::Key_BracketRight:
        StepSample(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_point && !IsRepeat(*event)) emit picked(Picked(*m_point));
        break;
    default:
        break;
    }
    event->accept();
}

void TCaptureFrm::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    if (!IsRealRelease(*event)) {
        m_repeat = std::pair(event->nativeScanCode(), event->timestamp());
        return;
    }
    // Escape cancels on its release; every other key's release, such as that of the key that started the
    // capture, does nothing.
    if (event->key() == Qt::Key_Escape) emit cancelled();
}

void TCaptureFrm::closeEvent(QCloseEvent *event)
{
    // Closed some other way, for instance by the system's close keys: a cancel too.
    event->ignore();
    emit cancelled();
}

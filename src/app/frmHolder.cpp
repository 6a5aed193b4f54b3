#include "frmHolder.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>

namespace {
// Never shown: it only holds the picture until the bitmap is drawn from it.
class THolder : public QWidget
{
public:
    THolder() : SplashImage(new QLabel(this))
    {
        SplashImage->setObjectName(QStringLiteral("SplashImage"));
        // Decoded through QImage: a QPixmap loaded by name stays in the pixmap cache for the whole run.
        SplashImage->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/splash/splash.gif"))));
    }

    QLabel *SplashImage;
};
} // namespace

std::unique_ptr<QPixmap> LoadSplashPicture()
{
    const THolder holder;
    const QPixmap picture = holder.SplashImage->pixmap();
    if (picture.isNull()) return nullptr;
    auto bitmap = std::make_unique<QPixmap>(picture.size());
    QPainter painter(bitmap.get());
    painter.drawPixmap(0, 0, picture);
    if (!painter.end()) return nullptr;
    return bitmap;
}

// Writes a picture in which every pixel tells where it is: red x & 255, green y & 255, blue (x >> 8) << 4 |
// (y >> 8). A pick one pixel off reads another colour.
// Usage: coordinate_wallpaper WIDTH HEIGHT FILE.png
//        coordinate_wallpaper --show FILE.png   shows the picture in a full-screen window until ended, for a
//                                                desktop without a wallpaper of its own (a bare compositor), and
//                                                says "shown" once it is drawn
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
class PictureWindow : public QRasterWindow
{
public:
    explicit PictureWindow(const QImage &picture) : m_picture(picture) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        // One picture pixel on each device pixel: the window covers the screen at its scale.
        QPainter painter(this);
        painter.scale(1 / devicePixelRatio(), 1 / devicePixelRatio());
        painter.drawImage(0, 0, m_picture);
        if (!std::exchange(m_shown, true)) {
            std::puts("shown"); // for the test that waits for it
            std::fflush(stdout);
        }
    }

private:
    QImage m_picture;
    bool m_shown = false;
};
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--show") == 0) {
        QGuiApplication application(argc, argv);
        PictureWindow window{QImage(QString::fromLocal8Bit(argv[2]))};
        window.setTitle(QStringLiteral("Wallpaper"));
        window.showFullScreen();
        return QGuiApplication::exec();
    }
    if (argc != 4) {
        std::fputs("usage: coordinate_wallpaper WIDTH HEIGHT FILE.png | --show FILE.png\n", stderr);
        return 2;
    }
    QImage picture(std::atoi(argv[1]), std::atoi(argv[2]), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = qRgb(x & 255, y & 255, (x >> 8) << 4 | (y >> 8));
    }
    return picture.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}

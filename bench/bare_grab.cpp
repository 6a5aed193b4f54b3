// The yardstick for the --pick start-up benchmark: a plain Qt program that grabs the primary screen once and
// shows the picture in a borderless window over the whole screen (mapped as the capture window is, without
// the window manager's round trip), with none of the program's start-up, preferences or magnifier.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace {
class Picture : public QWidget
{
public:
    explicit Picture(QPixmap picture)
        : QWidget(nullptr,
                  Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint),
          m_picture(std::move(picture))
    {
        setWindowTitle(QStringLiteral("CaptureFrm"));
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawPixmap(0, 0, m_picture); }

private:
    QPixmap m_picture;
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    Picture window(screen->grabWindow(0));
    window.setGeometry(screen->geometry());
    window.show();
    return app.exec();
}

// Writes a picture in which every pixel tells where it is: red x & 255, green y & 255, blue (x >> 8) << 4 |
// (y >> 8). A pick one pixel off reads another colour. Usage: coordinate_wallpaper WIDTH HEIGHT FILE.png
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fputs("usage: coordinate_wallpaper WIDTH HEIGHT FILE.png\n", stderr);
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

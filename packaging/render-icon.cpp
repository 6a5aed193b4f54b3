// render-icon: renders an SVG into the PNG sizes of the hicolor icon theme, at build time.
// Usage: render-icon SVG OUTPUT_DIR SIZE...  writes OUTPUT_DIR/<SIZE>x<SIZE>/apps/<name of SVG>.png
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Rendering needs no screen; the offscreen platform keeps the tool usable on build machines without X.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QTextStream errors(stderr);
    if (arguments.size() < 4) {
        errors << "Usage: render-icon SVG OUTPUT_DIR SIZE...\n";
        return 1;
    }
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        errors << "render-icon: cannot read " << arguments[1] << '\n';
        return 1;
    }
    const QString name = QFileInfo(arguments[1]).completeBaseName() + QStringLiteral(".png");
    for (const QString &argument : arguments.mid(3)) {
        const int size = argument.toInt();
        if (size <= 0) {
            errors << "render-icon: not a size: " << argument << '\n';
            return 1;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[2]).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + name)) {
            errors << "render-icon: cannot write the " << argument << " pixel icon in " << folder << '\n';
            return 1;
        }
    }
    return 0;
}

// Renders the program's SVG icon into a square PNG of the given size, for the icon theme of
// desktops that do not read SVG icons. Usage: render_icon <in.svg> <out.png> <size>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <in.svg> <out.png> <size>\n", argv[0]);
        return 2;
    }
    const int size = QByteArray(argv[3]).toInt();
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || size <= 0 || size > 1024) {
        std::fprintf(stderr, "%s: cannot render %s at %s\n", argv[0], argv[1], argv[3]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}

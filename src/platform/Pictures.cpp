#include "Pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon builtInIcon(const QString &resource, int size)
{
    QSvgRenderer renderer(resource);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    // The arrow pictures are not square: centred in the icon, never stretched.
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    for (const int scale : {1, 2}) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

#include "BuiltInIcon.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QtMath>

namespace {

QIcon drawnIcon(const QString &resource, int size)
{
    QSvgRenderer renderer(resource);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    // The arrow pictures are not square: centred in the icon, never stretched.
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    // Drawn for the screens there are: twice the pixels only where a screen has more than one
    // device pixel per pixel.
    QList<int> scales{1};
    if (const int highest = qCeil(qGuiApp ? qGuiApp->devicePixelRatio() : 1.0); highest > 1)
        scales << highest;
    for (const int scale : scales) {
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

using IconCache = QHash<QPair<QString, int>, QIcon>;

IconCache &iconCache()
{
    static IconCache cache;
    return cache;
}

// Pixmaps go while the application that made them still exists.
void dropIcons()
{
    iconCache().clear();
}

} // namespace

QIcon builtInIcon(const QString &resource, int size)
{
    // Drawn once per run: a window opened again shows the same pixmaps, which also keeps the
    // style's cache of their disabled look from gaining a copy per opening.
    IconCache &cache = iconCache();
    const QPair<QString, int> key(resource, size);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    if (cache.isEmpty())
        qAddPostRoutine(dropIcons);
    const QIcon icon = drawnIcon(resource, size);
    cache.insert(key, icon);
    return icon;
}

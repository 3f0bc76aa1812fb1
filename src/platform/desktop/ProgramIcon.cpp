#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon programIcon()
{
    // Drawn here rather than left to the SVG icon plug-in, so that the icon does not depend on
    // which image plug-ins the desktop happens to have.
    QSvgRenderer renderer(QStringLiteral(":/assets/trelvax.svg"));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

#include "Capture.h"

#include <QPainter>
#include <QWidget>

QImage CaptureWindow(QWidget *window, bool client, int left, int top, int width, int height)
{
    if (!window || width <= 0 || height <= 0)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    QPoint clientOrigin;
    if (!client) {
        const QRect frame = window->frameGeometry();
        clientOrigin = window->geometry().topLeft() - frame.topLeft();
        painter.fillRect(QRect(-left, -top, frame.width(), frame.height()), window->palette().window());
    }
    window->render(&painter, clientOrigin - QPoint(left, top), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return picture;
}

QImage CaptureClient(QWidget *window)
{
    if (!window)
        return {};
    return CaptureWindow(window, true, 0, 0, window->width(), window->height());
}

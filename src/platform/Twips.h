#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QtGlobal>

// Windows and controls are measured in twips, 15 to the screen pixel.
constexpr int kTwipsPerPixel = 15;

// Computed in 64 bits, so that no int, however it came about, overflows on the way.
constexpr int pixelsFromTwips(int twips)
{
    const qint64 t = twips;
    return int(t >= 0 ? (t + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-t + kTwipsPerPixel / 2) / kTwipsPerPixel));
}

constexpr int twipsFromPixels(int pixels)
{
    return pixels * kTwipsPerPixel;
}

// A control's place in its window, given in twips.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height));
}

// The small face the print window's panel and its frame's strip were laid out for in twips.
inline QFont controlFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    return font;
}

#pragma once

#include <QtGlobal>

// Windows and controls are measured in twips, 15 to the screen pixel.
constexpr int kTwipsPerPixel = 15;

// Computed in 64 bits, so that no int, however it came about, overflows on the way.
constexpr int pixelsFromTwips(int twips)
{
    const qint64 t = twips;
    return int(t >= 0 ? (t + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-t + kTwipsPerPixel / 2) / kTwipsPerPixel));
}

constexpr int twipsFromPixels(int pixels)
{
    return pixels * kTwipsPerPixel;
}

#pragma once

#include <QtGlobal>

// Windows and controls are measured in twips, 15 to the screen pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int pixelsFromTwips(int twips)
{
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int twipsFromPixels(int pixels)
{
    return pixels * kTwipsPerPixel;
}

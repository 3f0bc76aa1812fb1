#pragma once

#include <QSize>

class Screen
{
public:
    virtual ~Screen() = default;
    // The size of the screen the program starts on, in pixels.
    virtual QSize sizeInPixels() const = 0;
};

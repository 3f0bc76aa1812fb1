#pragma once

#include <QImage>

class QWidget;

// What a window shows, as a picture of the screen's colour depth. The content is rendered off
// screen, so that neither other windows nor the edges of the screen get into it: a window
// larger than the screen comes out whole, and hidden controls are absent.

// A rectangle in pixels of the window's client area (client) or of the whole window, its
// frame included (!client; the frame the desktop draws is shown in the window colour).
// Parts of the rectangle outside the window are black.
QImage CaptureWindow(QWidget *window, bool client, int left, int top, int width, int height);

// The whole client area of the window.
QImage CaptureClient(QWidget *window);

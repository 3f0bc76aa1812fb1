#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The screen's copy of a built-in vector picture. Drawing the blanks' long antialiased strokes
// takes many times longer than showing the whole print window, so the screen shows a raster of
// them, made once per run for the pixel size and device pixel ratio they are shown at and
// shared by every print window. Printers and PDF files are given the vector art.
namespace BuiltInRaster {

// The picture `resource` (":/assets/blank1.svg") as `devicePixels` device pixels, with its
// device pixel ratio set to `ratio`, premultiplied for a plain blend. The build draws the
// blanks for 96 DPI at one and at two device pixels per pixel; a raster of any other size is
// drawn here from the vector art. A raster stays until two of other sizes have been
// asked for since. Null when the picture cannot be drawn.
QImage raster(const QString &resource, QSize devicePixels, qreal ratio);

} // namespace BuiltInRaster

#pragma once

#include "LayoutTypes.h"

#include <QFont>
#include <QSizeF>

class QPaintDevice;

// Text on the certificate page: the same letters at the same width on the screen, in the page
// picture and on a 600-dpi printer. Fonts are unhinted, so glyph advances scale linearly with
// the device's resolution instead of snapping to whole screen pixels.
namespace PageText {

// The faces the certificate was designed with are seldom installed; each is mapped to an
// installed face of a similar look, the same on every machine. Called once at start-up (the
// print window calls it too, for tests and tools that skip main()).
void registerFontSubstitutions();

// The font a label draws with.
QFont fontOf(const LabelFontSpec &spec);
// Whether a face can be given to a label: installed, or mapped to an installed face.
bool isFaceAvailable(const QString &face);

// The size the text takes on the page, in millimetres: the width of its advances and the
// height of one line.
QSizeF textSizeMm(const QFont &font, const QString &text);
// The same measured on a device, in millimetres; a test compares devices with it.
QSizeF textSizeMmOn(const QFont &font, const QString &text, QPaintDevice *device);

} // namespace PageText

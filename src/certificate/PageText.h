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

// The font a label asks for, as the operator names it (a point size).
QFont fontOf(const LabelFontSpec &wanted);

// The font to draw with on a device of the given resolution, and the scale to draw it at.
// Font engines size fonts in whole dots (9.75 points are 81.25 dots at 600 dpi, drawn as 81),
// so the font is taken at the nearest whole size and the painter scales it to the exact one.
struct DeviceFont
{
    QFont font;
    qreal scale = 1; // exact size / whole size
};
DeviceFont deviceFont(const LabelFontSpec &wanted, qreal dpi);
// Whether a face can be given to a label: installed, or mapped to an installed face.
bool isFaceAvailable(const QString &face);
// The family the font engine really draws a label's font with.
QString shownFamily(const LabelFontSpec &font);
// Whether a label's font is drawn in the face asked for, or in a face that stands in for it
// by the substitutions above: "Epson1" drawn as its monospaced stand-in is "Epson1" shown.
// A fallback the font engine picked on its own is not.
bool showsFace(const LabelFontSpec &font, const QString &face);

// The size the text takes on the page, in millimetres: the width of its advances and the
// height of one line.
QSizeF textSizeMm(const LabelFontSpec &wanted, const QString &text);
// The same measured on a device as it is drawn there, in millimetres.
QSizeF textSizeMmOn(const LabelFontSpec &wanted, const QString &text, QPaintDevice *device);

} // namespace PageText

#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the program stores and compares them: 32-bit values 0x00BBGGRR, or &H80000000 + n
// for the platform's system colour n. A label's fore colour is one of these, and it is also
// its selection mark, so comparisons are on the values, never on the resolved colours.
namespace PlatformColour {

constexpr qint32 kSelection = 0xFF0000;                  // pure blue
constexpr qint32 kNormalText = qint32(0x80000012u);      // the system's button-text colour
constexpr qint32 kDefaultRedNumber = 255;                // pure red
constexpr qint32 kEscNumber = 192;                       // dark red, given by Esc
constexpr qint32 kBlack = 0;

// The colour to draw with. System colours resolve to their classic values, not to the
// desktop theme: the page is a paper form, and a dark theme must not whiten its text.
QColor toColor(qint32 value);
qint32 fromColor(const QColor &colour);

} // namespace PlatformColour

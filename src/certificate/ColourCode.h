#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

// Colours as the program stores and compares them: 32-bit values 0x00BBGGRR, or &H80000000 + n
// for the platform's system colour n. A label's fore colour is one of these, and it is also
// its selection mark, so comparisons are on the values, never on the resolved colours.
class SettingsStore;

namespace ColourCode {

constexpr qint32 kSelection = 0xFF0000;             // pure blue
constexpr qint32 kNormalText = qint32(0x80000012u); // the system's button-text colour
constexpr qint32 kDefaultRedNumber = 255;           // pure red
constexpr qint32 kEscNumber = 192;                  // dark red, given by Esc
constexpr qint32 kBlack = 0;

// The colour to draw with. System colours resolve to their classic values, not to the
// desktop theme: the page is a paper form, and a dark theme must not whiten its text.
QColor toColor(qint32 value);
qint32 fromColor(const QColor &colour);

// Whether a number colour may be given to a label: a colour by its parts, or a system colour
// the program knows. The selection colour may not be: a number label drawn in it would count
// as selected, and the operator could not tell it from a real selection.
bool isNumberColour(qint32 value);
// A number colour stored as a decimal whole number. `missing` when there is no entry or the
// value is no colour a label may take (out of range, the selection colour); `current` when the
// entry is no 32-bit whole number at all.
qint32 storedNumberColour(const SettingsStore &settings, const QString &section, const QString &key, qint32 missing,
                          qint32 current);

// The print window's number colours, kept from one run to the next in sections "PTS1CRNB1"
// (red) and "PTS1CRNB2" (black), key "1".
struct NumberColours
{
    qint32 red;
    qint32 black;
};
// A missing entry gives red and the system's text colour; see storedNumberColour().
NumberColours readNumberColours(const SettingsStore &settings, NumberColours current);
void storeNumberColours(SettingsStore &settings, NumberColours colours);

} // namespace ColourCode

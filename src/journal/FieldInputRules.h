#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The rules the record editor applies to the text of its field boxes, apart from the widgets.
namespace FieldInputRules {

// The number of characters a VIN has; any other length is shown in red.
constexpr int kVinLength = 17;

// The text without line breaks: a CR LF pair, a lone CR and a lone LF are each removed; no
// other character goes with them.
QString withoutLineBreaks(QStringView text);

// Every Latin and Cyrillic letter in upper case ("ё" becomes "Ё"); every other character, and
// a letter whose capital the journal file could not hold, unchanged.
QString inCapitals(QStringView text);

// Whether a box takes the character from the operator: "|" separates the journal's fields and a
// character with no Windows-1251 byte cannot be stored, so neither is taken.
bool isAccepted(QChar c);
// The text with the characters a box does not take left out; the rest keeps its order.
QString accepted(QStringView text);

} // namespace FieldInputRules

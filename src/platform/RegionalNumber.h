#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Positions and font sizes as the operator's regional settings write numbers: at most seven
// significant digits, no trailing zeros, no group separator, the regional decimal separator
// (a comma under Russian settings). The locale is QLocale(), the system's unless a test sets
// another default.
namespace RegionalNumber {

QString format(float value);
// Blanks around the number are accepted; a group separator, a decimal separator of other
// regional settings or a value beyond single precision is not.
std::optional<float> parse(QStringView text);

} // namespace RegionalNumber

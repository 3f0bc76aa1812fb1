#include "RegionalNumber.h"

#include <QLocale>

#include <cmath>

namespace RegionalNumber {

namespace {
QLocale strictLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}
} // namespace

QString format(float value)
{
    return strictLocale().toString(double(value), 'g', 7);
}

std::optional<float> parse(QStringView text)
{
    bool ok = false;
    const float value = strictLocale().toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace RegionalNumber

#include "FieldInputRules.h"

#include "platform/Cp1251.h"

namespace FieldInputRules {

QString withoutLineBreaks(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            result.append(c);
    }
    return result;
}

QString inCapitals(QStringView text)
{
    QString result = text.toString();
    for (QChar &c : result) {
        if (!c.isLower())
            continue;
        const QChar::Script script = c.script();
        if (script != QChar::Script_Latin && script != QChar::Script_Cyrillic)
            continue;
        const QChar upper = c.toUpper();
        if (Cp1251::isRepresentable(upper))
            c = upper;
    }
    return result;
}

bool isAccepted(QChar c)
{
    return c != QLatin1Char('|') && Cp1251::isRepresentable(c);
}

QString accepted(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (isAccepted(c))
            result.append(c);
    }
    return result;
}

} // namespace FieldInputRules

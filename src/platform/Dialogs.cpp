#include "Dialogs.h"

#include <QStringList>

namespace {
QStringList filterPairs(const QString &pairs)
{
    QStringList parts = pairs.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts;
}
} // namespace

QString qtNameFilters(const QString &pairs)
{
    const QStringList parts = filterPairs(pairs);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString firstNameFilter(const QString &pairs)
{
    const QString filters = qtNameFilters(pairs);
    return filters.section(QStringLiteral(";;"), 0, 0);
}

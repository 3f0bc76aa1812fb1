#include "Dialogs.h"

#include <QDir>
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

std::optional<QString> Dialogs::choosePrinter(QPrinter &, QWidget *)
{
    return std::nullopt;
}

Dialogs::Message fileNotSaved(const QString &what, const QString &path, const QString &reason)
{
    return {QStringLiteral("Не удалось сохранить ") + what + QStringLiteral(" в файл ") + QDir::toNativeSeparators(path)
                + QLatin1Char('\n') + reason,
            QStringLiteral("Ошибка сохранения"), Dialogs::Icon::Critical};
}

QString qtNameFilters(const QString &pairs)
{
    const QStringList parts = filterPairs(pairs);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog takes the patterns from the parentheses that end a filter: a description
        // that already ends with them is shown as given, not with the patterns a second time.
        const QString ending = QLatin1Char('(') + patterns + QLatin1Char(')');
        const QString &description = parts.at(i);
        if (description.trimmed().endsWith(ending))
            filters << description;
        else
            filters << description + QLatin1Char(' ') + ending;
    }
    return filters.join(QStringLiteral(";;"));
}

QString firstNameFilter(const QString &pairs)
{
    const QString filters = qtNameFilters(pairs);
    return filters.section(QStringLiteral(";;"), 0, 0);
}

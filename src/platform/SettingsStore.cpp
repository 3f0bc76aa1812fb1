#include "SettingsStore.h"

#include "RegionalNumber.h"

#include <QLocale>

namespace {
const QString kApplication = QStringLiteral("Trelvax");
}

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             kApplication, kApplication))
{
}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore()
{
    m_settings->sync();
}

QString SettingsStore::storedSection(const QString &section) const
{
    const QStringList groups = m_settings->childGroups();
    for (const QString &g : groups) {
        if (g.compare(section, Qt::CaseInsensitive) == 0)
            return g;
    }
    return section;
}

QString SettingsStore::storedKey(const QString &storedSection, const QString &key) const
{
    m_settings->beginGroup(storedSection);
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    for (const QString &k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return key;
}

QString SettingsStore::value(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const QString s = storedSection(section);
    const QString path = s + QLatin1Char('/') + storedKey(s, key);
    const QVariant v = m_settings->value(path);
    if (!v.isValid())
        return defaultValue;
    // A list-looking text ("a, b") comes back from an INI file as a string list.
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

int SettingsStore::intValue(const QString &section, const QString &key, int defaultValue) const
{
    // Plain decimal only: "2,100" is no whole number here.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const int n = c.toInt(value(section, key, QString()).trimmed(), &ok);
    return ok ? n : defaultValue;
}

int SettingsStore::intValue(const QString &section, const QString &key, int defaultValue,
                            IntRange range) const
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const qlonglong n = c.toLongLong(value(section, key, QString()).trimmed(), &ok);
    if (!ok)
        return defaultValue;
    if (n >= range.min && n <= range.max)
        return int(n);
    if (range.outside == IntRange::Outside::UseDefault)
        return defaultValue;
    return n < range.min ? range.min : range.max;
}

double SettingsStore::realValue(const QString &section, const QString &key, double defaultValue,
                                RealRange range) const
{
    const std::optional<float> n = RegionalNumber::parse(value(section, key, QString()));
    if (!n)
        return defaultValue;
    return range.apply(double(*n), defaultValue);
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    const QString s = storedSection(section);
    return m_settings->contains(s + QLatin1Char('/') + storedKey(s, key));
}

void SettingsStore::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString s = storedSection(section);
    m_settings->setValue(s + QLatin1Char('/') + storedKey(s, key), value);
}

void SettingsStore::setInt(const QString &section, const QString &key, int value)
{
    setValue(section, key, QLocale::c().toString(value));
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    const QString s = storedSection(section);
    m_settings->remove(s + QLatin1Char('/') + storedKey(s, key));
}

bool SettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

#include "SettingsStore.h"

#include "AtomicFile.h"
#include "Dialogs.h"
#include "RegionalNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {
const QString kApplication = QStringLiteral("Trelvax");

// False, with the system's words in *error, when the file is there but cannot be read whole.
bool read(const QString &path, QByteArray &bytes, QString *error)
{
    QFile file(path);
    bytes.clear();
    if (file.open(QIODevice::ReadOnly) ? readToEnd(file, bytes) : !file.exists())
        return true;
    *error = QStringLiteral("не удалось прочитать файл ") + QDir::toNativeSeparators(path) + QStringLiteral(": ")
        + file.errorString();
    return false;
}
} // namespace

SettingsStore::SettingsStore()
    : SettingsStore(QSettings(QSettings::IniFormat, QSettings::UserScope, kApplication, kApplication).fileName())
{
}

SettingsStore::SettingsStore(const QString &iniPath) : m_path(iniPath)
{
    if (!m_workingFolder.isValid()) {
        m_settings = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
        return;
    }
    m_workingCopy = m_workingFolder.filePath(QStringLiteral("settings.ini"));
    QString unread;
    takeChangesOnDisk(&unread);
    m_settings = std::make_unique<QSettings>(m_workingCopy, QSettings::IniFormat);
}

SettingsStore::~SettingsStore()
{
    m_dialogs = nullptr;
    sync();
}

bool SettingsStore::takeChangesOnDisk(QString *error)
{
    const QFileInfo onDisk(m_path);
    if (onDisk.size() == m_publishedSize && onDisk.lastModified() == m_publishedTime)
        return true;
    // A file read only in part is not written over: the next sync reads it again.
    QByteArray bytes;
    if (!read(m_path, bytes, error))
        return false;
    m_published = bytes;
    m_publishedSize = onDisk.size();
    m_publishedTime = onDisk.lastModified();
    // QSettings reads its file again when it changed, and keeps what was set since.
    if (!onDisk.exists())
        QFile::remove(m_workingCopy);
    else
        writeFileAtomically(m_workingCopy, m_published);
    return true;
}

bool SettingsStore::publish(QString *error)
{
    if (m_workingCopy.isEmpty())
        return true;
    QByteArray bytes;
    if (!read(m_workingCopy, bytes, error))
        return false;
    if (bytes == m_published)
        return true;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    if (!writeFileAtomically(m_path, bytes, error))
        return false;
    m_published = bytes;
    const QFileInfo written(m_path);
    m_publishedSize = written.size();
    m_publishedTime = written.lastModified();
    return true;
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

QString SettingsStore::value(const QString &section, const QString &key, const QString &defaultValue) const
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

int SettingsStore::intValue(const QString &section, const QString &key, int defaultValue, IntRange range) const
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

double SettingsStore::realValue(const QString &section, const QString &key, double defaultValue, RealRange range) const
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
    // What is set stays pending until the file on disk has been read whole.
    QString error;
    if (m_workingCopy.isEmpty() || takeChangesOnDisk(&error)) {
        m_settings->sync();
        // A damaged file read at the start is no failure to write.
        if (m_settings->status() == QSettings::AccessError)
            error = QStringLiteral("нет доступа к рабочей копии ") + QDir::toNativeSeparators(m_workingCopy);
        else if (publish(&error))
            return true;
    }
    if (m_dialogs)
        m_dialogs->inform(QStringLiteral("Не удалось сохранить настройки программы в файл ")
                              + QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + error,
                          programTitle(), Dialogs::Icon::Exclamation);
    return false;
}

QString SettingsStore::fileName() const
{
    return m_path;
}

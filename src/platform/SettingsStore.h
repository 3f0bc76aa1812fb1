#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The values a number read back from the settings may take, and what becomes of one outside
// them. Every number the windows read goes through a range: the file can be edited by hand or
// damaged, and a stored 2147483647 must not reach the arithmetic that lays out a window.
class Dialogs;

template<typename T>
struct SettingRange
{
    enum class Outside {
        Clamp,      // the nearest end of the range
        UseDefault, // the read's default, as for a missing entry
    };
    T min;
    T max;
    Outside outside = Outside::Clamp;

    T apply(T value, T defaultValue) const
    {
        if (value >= min && value <= max)
            return value;
        if (outside == Outside::UseDefault)
            return defaultValue;
        return value < min ? min : max;
    }
};
using IntRange = SettingRange<int>;
using RealRange = SettingRange<double>;

// Per-user settings of the program, kept as texts in an INI file. Section and key names are
// matched without regard to letter case, as the program has always addressed them; an entry
// keeps the spelling under which it was first written, so the file stays readable.
class SettingsStore
{
public:
    // The INI file of the user's configuration folder for the application "Trelvax".
    SettingsStore();
    // An INI file at the given path (tests, tools).
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString value(const QString &section, const QString &key, const QString &defaultValue) const;
    // A whole number; the default when the entry is missing or is not a whole number.
    int intValue(const QString &section, const QString &key, int defaultValue) const;
    // A whole number inside `range`; the default when the entry is missing or is not a whole
    // number (also one too large for any integer type).
    int intValue(const QString &section, const QString &key, int defaultValue, IntRange range) const;
    // A position or size as the program writes them: the operator's regional number format,
    // single precision (RegionalNumber), inside `range`. The default when the entry is missing
    // or is not such a number (another decimal separator, infinite, NaN, beyond single
    // precision).
    double realValue(const QString &section, const QString &key, double defaultValue, RealRange range) const;
    // Whether the entry exists: some readers treat a missing entry and an unreadable one
    // differently.
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void setInt(const QString &section, const QString &key, int value);
    void remove(const QString &section, const QString &key);

    // Writes pending changes to disk; returns false when the file could not be written, and
    // tells the operator why when reportFailuresTo() was called.
    bool sync();
    QString fileName() const;
    void reportFailuresTo(Dialogs &dialogs) { m_dialogs = &dialogs; }

private:
    QString storedSection(const QString &section) const;
    QString storedKey(const QString &storedSection, const QString &key) const;
    // The file as it is on disk now, into the working copy, when another program changed it.
    // False, with the system's words in *error, when it cannot be read whole.
    bool takeChangesOnDisk(QString *error);
    bool publish(QString *error);

    QString m_path;
    // QSettings replaces its file without checking the flush to the disk or the close, and
    // cannot say why a write failed: it works on a copy of its own here, which sync() puts in
    // the file's place as the program replaces all its files.
    QTemporaryDir m_workingFolder;
    QString m_workingCopy;
    // The file's bytes, size and time as last read or written.
    QByteArray m_published;
    qint64 m_publishedSize = -1;
    QDateTime m_publishedTime;
    Dialogs *m_dialogs = nullptr;
    std::unique_ptr<QSettings> m_settings;
};

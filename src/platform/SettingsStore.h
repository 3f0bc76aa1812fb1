#pragma once

#include <QSettings>
#include <QString>

#include <memory>

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
    void setValue(const QString &section, const QString &key, const QString &value);
    void setInt(const QString &section, const QString &key, int value);
    void remove(const QString &section, const QString &key);

    // Writes pending changes to disk; returns false when the file could not be written.
    bool sync();
    QString fileName() const;

private:
    QString storedSection(const QString &section) const;
    QString storedKey(const QString &storedSection, const QString &key) const;

    std::unique_ptr<QSettings> m_settings;
};

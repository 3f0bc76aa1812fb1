#include "PictureFileStore.h"

#include "platform/SettingsStore.h"

namespace {

namespace Key {
const QString nastr = QStringLiteral("Nastr");
const QString img1FName = QStringLiteral("img1FName");
const QString img2FName = QStringLiteral("img2FName");
const QString vibFolder1 = QStringLiteral("VibFolder1");
const QString pechFName = QStringLiteral("PechFName");
const QString vibFolder3 = QStringLiteral("VibFolder3");
const QString podpFName = QStringLiteral("PodpFName");
const QString vibFolder4 = QStringLiteral("VibFolder4");
const QString defaultFolder = QStringLiteral("C:\\");
} // namespace Key

} // namespace

PictureFileStore::PictureFileStore(SettingsStore &settings) : m_settings(settings) {}

PictureFileStore::Entries PictureFileStore::read() const
{
    const SettingsStore &s = m_settings;
    Entries e;
    e.img1FName = s.value(Key::nastr, Key::img1FName, QString());
    e.img2FName = s.value(Key::nastr, Key::img2FName, QString());
    e.VibFolder1 = s.value(Key::nastr, Key::vibFolder1, Key::defaultFolder);
    e.PechFName = s.value(Key::nastr, Key::pechFName, QString());
    e.VibFolder3 = s.value(Key::nastr, Key::vibFolder3, Key::defaultFolder);
    e.PodpFName = s.value(Key::nastr, Key::podpFName, QString());
    e.VibFolder4 = s.value(Key::nastr, Key::vibFolder4, Key::defaultFolder);
    return e;
}

void PictureFileStore::write(const Entries &e)
{
    SettingsStore &s = m_settings;
    s.setValue(Key::nastr, Key::img1FName, e.img1FName);
    s.setValue(Key::nastr, Key::img2FName, e.img2FName);
    s.setValue(Key::nastr, Key::vibFolder1, e.VibFolder1);
    s.setValue(Key::nastr, Key::pechFName, e.PechFName);
    s.setValue(Key::nastr, Key::vibFolder3, e.VibFolder3);
    s.setValue(Key::nastr, Key::podpFName, e.PodpFName);
    s.setValue(Key::nastr, Key::vibFolder4, e.VibFolder4);
}

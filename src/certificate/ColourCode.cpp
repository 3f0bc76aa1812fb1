#include "ColourCode.h"

#include "platform/SettingsStore.h"

#include <limits>

#include <array>

namespace ColourCode {

namespace {
// The classic system colours, by index; the text colours are black.
constexpr std::array<QRgb, 25> kSystem = {
    0xc0c0c0, 0x008080, 0x000080, 0x808080, 0xc0c0c0, 0xffffff, 0x000000, 0x000000, 0x000000,
    0xffffff, 0xc0c0c0, 0xc0c0c0, 0x808080, 0x000080, 0xffffff, 0xc0c0c0, 0x808080, 0x808080,
    0x000000, 0xc0c0c0, 0xffffff, 0x000000, 0xdfdfdf, 0x000000, 0xffffe1,
};
constexpr quint32 kSystemBit = 0x80000000u;

namespace Key {
const QString redNumber = QStringLiteral("PTS1CRNB1");
const QString blackNumber = QStringLiteral("PTS1CRNB2");
const QString number = QStringLiteral("1");
} // namespace Key
} // namespace

QColor toColor(qint32 value)
{
    const auto bits = quint32(value);
    if (bits & kSystemBit) {
        const quint32 index = bits & 0x00ffffffu;
        return index < kSystem.size() ? QColor(kSystem[index]) : QColor(Qt::black);
    }
    return QColor(int(bits & 0xff), int((bits >> 8) & 0xff), int((bits >> 16) & 0xff));
}

qint32 fromColor(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return qint32(quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16);
}

bool isNumberColour(qint32 value)
{
    const auto bits = quint32(value);
    if (bits & kSystemBit)
        return bits - kSystemBit < kSystem.size();
    return bits <= 0xffffffu && value != kSelection;
}

qint32 storedNumberColour(const SettingsStore &settings, const QString &section, const QString &key, qint32 missing,
                          qint32 current)
{
    if (!settings.contains(section, key))
        return missing;
    // A value beyond 32 bits is no colour value at all, as unreadable as a word.
    constexpr IntRange kAnyWholeNumber{std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                       IntRange::Outside::UseDefault};
    const qint32 value = settings.intValue(section, key, current, kAnyWholeNumber);
    return isNumberColour(value) ? value : missing;
}

NumberColours readNumberColours(const SettingsStore &settings, NumberColours current)
{
    return {storedNumberColour(settings, Key::redNumber, Key::number, kDefaultRedNumber, current.red),
            storedNumberColour(settings, Key::blackNumber, Key::number, kNormalText, current.black)};
}

void storeNumberColours(SettingsStore &settings, NumberColours colours)
{
    settings.setInt(Key::redNumber, Key::number, colours.red);
    settings.setInt(Key::blackNumber, Key::number, colours.black);
}

} // namespace ColourCode

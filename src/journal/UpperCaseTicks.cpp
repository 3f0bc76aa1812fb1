#include "UpperCaseTicks.h"

#include "platform/SettingsStore.h"

namespace {

namespace Key {
const QString section = QStringLiteral("frm1ch1");
QString box(int k)
{
    return QStringLiteral("Ch1(%1)").arg(k);
}
} // namespace Key

} // namespace

UpperCaseTicks UpperCaseTicks::read(const SettingsStore &settings)
{
    constexpr IntRange kBoxState{0, 1, IntRange::Outside::UseDefault};
    UpperCaseTicks t;
    for (int k = 0; k < FieldCatalogue::kUpperCaseBoxCount; ++k) {
        const QString key = Key::box(k);
        t.ticked[size_t(k)] = !settings.contains(Key::section, key)
            || settings.intValue(Key::section, key, 0, kBoxState) == 1;
    }
    return t;
}

void UpperCaseTicks::write(SettingsStore &settings) const
{
    for (int k = 0; k < FieldCatalogue::kUpperCaseBoxCount; ++k)
        settings.setValue(Key::section, Key::box(k), ticked[size_t(k)] ? QStringLiteral("1") : QStringLiteral("0"));
}

#include "SuggestionSettings.h"

#include "platform/SettingsStore.h"

namespace {

namespace Key {
const QString section = QStringLiteral("Suggestions");
const QString on = QStringLiteral("On");
} // namespace Key

constexpr IntRange kSwitchRange{0, 1, IntRange::Outside::UseDefault};

} // namespace

bool SuggestionSettings::isOn(const SettingsStore &settings)
{
    return settings.intValue(Key::section, Key::on, 1, kSwitchRange) != 0;
}

void SuggestionSettings::setOn(SettingsStore &settings, bool on)
{
    settings.setInt(Key::section, Key::on, on ? 1 : 0);
}

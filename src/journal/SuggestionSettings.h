#pragma once

class SettingsStore;

// Whether the record editor suggests earlier values under its boxes: the journal window's
// "Подсказки при вводе", kept in section "Suggestions", key "On" ("1" on, "0" off; on when
// missing or unreadable).
class SuggestionSettings
{
public:
    static bool isOn(const SettingsStore &settings);
    static void setOn(SettingsStore &settings, bool on);
};

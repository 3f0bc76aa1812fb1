#pragma once

#include "FieldCatalogue.h"

#include <array>

class SettingsStore;

// The record editor's upper-case boxes as they are kept from one run to the next: section
// "frm1ch1", key "Ch1(k)" for box k, "1" ticked and "0" clear.
struct UpperCaseTicks
{
    std::array<bool, FieldCatalogue::kUpperCaseBoxCount> ticked{};

    // A missing entry ticks its box; a value that is no whole number, or one a box cannot
    // take, leaves it clear.
    static UpperCaseTicks read(const SettingsStore &settings);
    void write(SettingsStore &settings) const;
};

#pragma once

#include <QtGlobal>

#include <array>

class SettingsStore;

// What the journal window keeps in the settings store from one run to the next: the grid's
// column widths and alignments ("TunGrid") and the autofill check box ("Autoload"/"Ch1").
struct GridSettings
{
    static constexpr int kColumns = 6;
    // Ten thousand pixels: wider than any screen a column could be dragged across, and far from
    // the ends of the integer arithmetic that turns twips into pixels.
    static constexpr int kMaxWidthTwips = 150000;

    std::array<int, kColumns> widthsTwips{600, 3735, 2940, 2385, 3360, 1515};
    std::array<qint16, kColumns> alignments{4, 4, 4, 4, 4, 1};
    bool autofill = true;

    // The stored values; an entry that is missing, no whole number or outside its range takes
    // its default.
    static GridSettings read(const SettingsStore &settings);
    void write(SettingsStore &settings) const;
};

#pragma once

#include "LayoutTypes.h"

#include <QString>

#include <array>
#include <optional>

class CertificateLayout;
class CommonDialog;
class SettingsStore;

// Where the operator's placements of the labels and pictures are kept from one run to the
// next: sections "PTS1top"/"PTS1left" (labels, key = index) and "PTS1topIm".. (pictures), each
// value one coordinate in millimetres in the operator's regional number format.
class LayoutStore
{
public:
    explicit LayoutStore(SettingsStore &settings);

    // Labels first, each Top then Left, defaulting to where the label is now; then the four
    // pictures with their constant defaults. A value that cannot be read, or lies far off the
    // page, leaves the element where it was.
    void LoadLayout(CertificateLayout &layout) const;
    // Stores every position and clears the change flag.
    void SaveLayout(CertificateLayout &layout);
    // After the operator's OK: everything to its reset position, stored at once. False when
    // the operator did not confirm; nothing has changed then.
    bool ResetLayout(CertificateLayout &layout, CommonDialog &dialog);
    // The closing question when positions were changed; stores them on Yes. Never cancels.
    void SaveLayoutOnClose(CertificateLayout &layout, CommonDialog &dialog);

    // The layout's stored entries (each label's Top and Left, then each picture's) as they
    // are: a text, or none where there is no entry. Taking back "Сброс", which stores at once,
    // puts back exactly what it wrote over, spelling and missing entries included.
    static constexpr int kEntryCount = 2 * (kLabelCount + kPictureCount);
    using StoredEntries = std::array<std::optional<QString>, kEntryCount>;
    StoredEntries storedEntries() const;
    void restoreStoredEntries(const StoredEntries &entries);

private:
    enum class Spelling { Save, Reset };
    struct EntryName
    {
        QString section;
        QString key;
    };
    static EntryName entryName(int entry, Spelling spelling);
    void store(const CertificateLayout &layout, Spelling spelling);
    void write(const QString &section, const QString &key, float value);
    // `missing` when there is no entry, `current` when it cannot be read or is out of range.
    float read(const QString &section, const QString &key, float missing, float current) const;

    SettingsStore &m_settings;
};

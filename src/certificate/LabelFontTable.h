#pragma once

#include "platform/Dialogs.h"

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

// The font of every printed field, label by label, and the file "Shrift" that keeps them from
// one run to the next. A field holds either the text it was read from the file with, or the
// typed value a font command gave it; each is written back in its own form, so a line the
// program cannot interpret survives a run unchanged.
struct LabelFont
{
    QVariant name;   // QString
    QVariant bold;   // bool, or the text read
    QVariant italic; // bool, or the text read
    QVariant size;   // float (points), or the text read
    QVariant colour; // qint32 platform colour value, or the text read; kept, never applied
};

// What entry i asks of its label; each setting that cannot be read is absent and is skipped.
struct LabelFontSettings
{
    std::optional<QString> face;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<float> size;
};

class LabelFontTable
{
public:
    static constexpr int kLabels = 44;
    static constexpr int kFieldsPerLabel = 5;
    // The platform's button-text system colour, &H80000012.
    static constexpr qint32 kButtonTextColour = qint32(0x80000012u);

    LabelFont &operator[](int label) { return m_entries.at(size_t(label)); }
    const LabelFont &operator[](int label) const { return m_entries.at(size_t(label)); }

    // The settings entry i gives its label.
    LabelFontSettings settingsOf(int label) const;
    // A label's current font, as a command copies it into the table (typed values).
    void setFont(int label, const QString &face, bool bold, bool italic, float size);
    // The font dialog's answer, colour included.
    void setChoice(int label, const Dialogs::FontChoice &choice);
    // Every colour field := the button-text system colour, as the print window does on loading.
    void resetColours();
    // The built-in fonts the frame's "Вернуть шрифт" restores; colours are left alone.
    void resetToBuiltIn();

    // ReadFontFile: fills the fields the file holds, in order, and leaves the others as they
    // were. A missing or unreadable file changes nothing.
    void read(const QString &path);
    // WriteFontFile: 220 lines; false when the file could not be written.
    bool write(const QString &path, QString *error = nullptr) const;

    // The file's text form of a field, and the values of a field read back.
    static QString textOf(const QVariant &field);
    static std::optional<bool> boolOf(const QVariant &field);
    static std::optional<float> sizeOf(const QVariant &field);

private:
    std::array<LabelFont, kLabels> m_entries;
};

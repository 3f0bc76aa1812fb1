#pragma once

#include <QString>

#include <array>

// The values the journal window copies into every new record when autofill is on: value i
// belongs to editor box txt(i), that is to field i + 2. Kept for the whole run and in the file
// "Autoload" of the program folder, one Windows-1251 line per value.
struct AutofillTemplate
{
    static constexpr int kValueCount = 44;
    // New applies values 0..39 only (fields 2..41).
    static constexpr int kAppliedByNew = 40;

    std::array<QString, kValueCount> values;

    static QString fileName() { return QStringLiteral("Autoload"); }
};

// Fills the template from the file, line by line. A missing, unreadable or short file is no
// error: the values it does not hold stay as they were (empty at start-up). CR LF, a lone LF
// and a lone CR all end a line; lines after the 44th are ignored.
void ReadAutofillTemplate(AutofillTemplate &autofill, const QString &path);

// Takes the 44 box texts into the template and rewrites the file. Line breaks are removed from
// the values first, since each would end a line and shift every later value at the next read;
// a character the code page cannot hold becomes "?" in memory as in the file. False when the
// file could not be written (the system's words in *error): the template in memory holds the
// new values all the same.
bool SaveAutofillTemplate(AutofillTemplate &autofill, const std::array<QString, AutofillTemplate::kValueCount> &boxes,
                          const QString &path, QString *error = nullptr);

#pragma once

#include "journal/Journal.h"
#include "journal/JournalFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// A full journal of 20000 records whose content is a function of a generation number: the
// crash test and the program it kills build the same tables from the same number. Field 2 of
// every record names the generation; the lengths of the other fields change with it, so that
// a file holding parts of two generations, or a cut one, differs from both.
namespace ChangingJournal {

constexpr int kRecords = RecordTable::kMaxRecord;

inline void fill(Journal &journal, int generation)
{
    const QString tag = QStringLiteral("G%1").arg(generation);
    const QString letters = QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЭЮЯ");
    QString text;
    quint32 ends[RecordTable::kFieldCount];
    for (int i = 1; i <= kRecords; ++i) {
        text = QString::number(i);
        ends[0] = 0;
        ends[1] = quint32(text.size());
        text += tag;
        ends[2] = quint32(text.size());
        text += QStringLiteral("XTA%1").arg(i * 7919 + generation, 14, 10, QLatin1Char('0'));
        ends[3] = quint32(text.size());
        const int length = (i * 31 + generation * 17) % 48;
        for (int k = 0; k < length; ++k)
            text += letters.at((i + k + generation) % letters.size());
        ends[4] = quint32(text.size());
        for (int f = 5; f < RecordTable::kFieldCount; ++f)
            ends[f] = ends[4];
        journal.table.assignRecord(i, text, ends);
    }
    journal.RecordCount = kRecords;
}

// The bytes the save writes for a generation.
inline QByteArray bytes(int generation)
{
    Journal journal;
    fill(journal, generation);
    return JournalFile::encodeRecords(journal.table, journal.RecordCount);
}

// The day a saver that copies the journal saves a generation on: one day each.
inline QDateTime dayOf(int generation)
{
    return QDateTime(QDate(2025, 1, 1).addDays(generation), QTime(14, 5));
}

// The generation a journal file names in its first record; -1 when it names none.
inline int generationOf(const QByteArray &file)
{
    const qsizetype start = file.indexOf("|G");
    const qsizetype end = file.indexOf('|', start + 1);
    if (start < 0 || end < 0 || start > 16)
        return -1;
    bool ok = false;
    const int g = file.mid(start + 2, end - start - 2).toInt(&ok);
    return ok ? g : -1;
}

} // namespace ChangingJournal

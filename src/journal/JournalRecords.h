#pragma once

#include <QDate>
#include <QList>
#include <QString>

struct Journal;

// What the journal window's buttons do to the records themselves, apart from the window.

// Takes record `record` out of the journal: every stored field of the records after it moves
// up one slot, the ID staying with its slot so that the IDs stay 1..n; the fields that are
// never stored stay with their slots, and the last slot keeps what it held. Record 1 and a
// number outside 2..RecordCount change nothing and return false.
bool DeleteRecord(Journal &journal, qint32 record);

// Makes the slot after the last record the editor's new record: emptied (a delete may have
// left a record's fields in it), its issue date `today`, and with `autofill` the template's
// first values over its document fields, the issue date staying `today` where the template
// has none. Sets CurrentRecord and NewRecordFlag; the caller has checked there is room.
void PrepareNewRecord(Journal &journal, const QDate &today, bool autofill);

// The editor's close: a new record (NewRecordFlag 1) joins the journal while there is room, its
// ID the number of its slot; then `boxTexts`, the texts of the editor's boxes in order, become
// the document fields of record CurrentRecord, in one step. The caller saves the journal.
void CommitRecord(Journal &journal, const QList<QString> &boxTexts);

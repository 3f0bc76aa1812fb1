#include "JournalRecords.h"

#include "FieldCatalogue.h"
#include "Journal.h"

bool DeleteRecord(Journal &journal, qint32 record)
{
    if (record < 2 || record > journal.RecordCount)
        return false;
    for (qint32 i = record; i < journal.RecordCount; ++i)
        journal.table.copyFields(i + 1, i, 2, RecordTable::kLastStoredField);
    --journal.RecordCount;
    return true;
}

void PrepareNewRecord(Journal &journal, const QDate &today, bool autofill)
{
    journal.NewRecordFlag = 1;
    journal.CurrentRecord = journal.RecordCount + 1;
    RecordTable &table = journal.table;
    const qint32 record = journal.CurrentRecord;
    table.clearRecord(record);
    const QString date = today.toString(QStringLiteral("dd.MM.yyyy"));
    table.setField(record, FieldCatalogue::IssueDate, date);
    if (!autofill)
        return;
    const auto &values = journal.autofill.values;
    table.setFields(record, FieldCatalogue::kFirstDocumentField,
                    QList<QString>(values.begin(), values.begin() + AutofillTemplate::kAppliedByNew));
    if (table.bytes(record, FieldCatalogue::IssueDate).isEmpty())
        table.setField(record, FieldCatalogue::IssueDate, date);
}

void CommitRecord(Journal &journal, const QList<QString> &boxTexts)
{
    const qint32 record = journal.CurrentRecord;
    const bool room = RecordTable::isValidRecord(record) && journal.RecordCount < RecordTable::kMaxRecord;
    if (journal.NewRecordFlag == 1 && room) {
        ++journal.RecordCount;
        journal.table.setField(record, FieldCatalogue::Id, QString::number(record));
    }
    journal.table.setFields(record, FieldCatalogue::kFirstDocumentField, boxTexts);
}

#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// The journal in memory: texts addressed by record 0..20000 and field 0..210.
//
// A fully allocated table of separate strings would cost about 100 MB before a single record is
// loaded, so each record keeps its fields one after another in a single string with the end of
// every field beside it, and a record that was never written costs no more than an empty slot.
class RecordTable
{
public:
    static constexpr int kMaxRecord = 20000;
    static constexpr int kLastField = 210;
    static constexpr int kFieldCount = kLastField + 1;
    static constexpr int kLastStoredField = 200;

    RecordTable();
    ~RecordTable();
    RecordTable(const RecordTable &) = delete;
    RecordTable &operator=(const RecordTable &) = delete;

    static bool isValidRecord(int record) { return record >= 0 && record <= kMaxRecord; }
    static bool isValidField(int field) { return field >= 0 && field <= kLastField; }

    // Empty for a slot or field never written. The view lives until the record changes.
    QStringView field(int record, int field) const;
    QString text(int record, int field) const { return this->field(record, field).toString(); }
    void setField(int record, int field, const QString &value);

    // Replaces a whole record at once: `text` holds fields 0..210 one after another and
    // ends[f] is the end of field f in it.
    void assignRecord(int record, QString text, const quint32 (&ends)[kFieldCount]);

    // Fields first..last of record `to` := those of record `from`; the other fields of `to`
    // keep their values.
    void copyFields(int from, int to, int firstField, int lastField);

    // The whole text of a record (fields 0..210 one after another) and the end of each field
    // in it; empty with all ends 0 for a slot never written. For loops over many fields.
    QStringView recordText(int record) const;
    void fieldEnds(int record, quint32 (&ends)[kFieldCount]) const;

    // Empties every slot.
    void clear();

    // Bytes held by the table, its slots included.
    qsizetype memoryUsage() const;

private:
    struct Record
    {
        QString text;
        // End of each field in text: 16-bit while the text is short enough, else 32-bit.
        std::unique_ptr<quint16[]> ends16;
        std::unique_ptr<quint32[]> ends32;

        bool isEmpty() const { return !ends16 && !ends32; }
        quint32 end(int field) const { return ends16 ? ends16[field] : ends32[field]; }
        quint32 start(int field) const { return field == 0 ? 0 : end(field - 1); }
        void setEnds(const quint32 *ends);
    };

    void replaceSpan(Record &target, int firstField, int lastField, QStringView content,
                     const quint32 *relativeEnds);

    std::vector<Record> m_records;
};

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <initializer_list>
#include <vector>

// The journal in memory: texts addressed by record 0..20000 and field 0..210.
//
// A fully allocated table of separate strings would cost about 100 MB before a single record is
// loaded, so each record is one string: the end of every field first, then the fields one after
// another. A record that was never written costs no more than an empty slot.
class RecordTable
{
public:
    static constexpr int kMaxRecord = 20000;
    static constexpr int kLastField = 210;
    static constexpr int kFieldCount = kLastField + 1;
    static constexpr int kLastStoredField = 200;

    // One record as stored, for loops over many fields.
    class RecordView
    {
    public:
        // Fields 0..210 one after another.
        QStringView text() const { return m_text; }
        // A slot never written has no table of field ends: every field is empty.
        quint32 end(int field) const
        {
            if (!m_ends)
                return 0;
            return m_wide ? quint32(m_ends[2 * field]) | quint32(m_ends[2 * field + 1]) << 16
                          : quint32(m_ends[field]);
        }
        quint32 start(int field) const { return field == 0 ? 0 : end(field - 1); }
        QStringView field(int field) const { return m_text.sliced(start(field), end(field) - start(field)); }
        // Where the field ends are held, for a scan that fetches records ahead of their use.
        const void *endsData() const { return m_ends; }

    private:
        friend class RecordTable;
        QStringView m_text;
        const char16_t *m_ends = nullptr;
        bool m_wide = false;
    };

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
    // Fields first..first + values.size() - 1 := values, in one step. Views of the record taken
    // before stay unused: they would point into the text this replaces.
    void setFields(int record, int firstField, const QList<QString> &values);
    // Every field of the slot empty, as if it had never been written.
    void clearRecord(int record);

    // A record as stored; every field empty for a slot never written or out of range.
    RecordView record(int record) const;

    // Replaces a whole record at once: `text` holds fields 0..210 one after another and
    // ends[f] is the end of field f in it.
    void assignRecord(int record, QStringView text, const quint32 (&ends)[kFieldCount]);

    // Fields first..last of record `to` := those of record `from`; the other fields of `to`
    // keep their values.
    void copyFields(int from, int to, int firstField, int lastField);

    // Empties every slot.
    void clear();

    // Bytes held by the table, its slots included.
    qsizetype memoryUsage() const;

private:
    struct Record
    {
        // The ends of fields 0..210 (one UTF-16 unit each, or two while the text is longer
        // than 16 bits can count), then the text. Null for a slot never written.
        QString data;
        bool wide = false;
    };

    static RecordView viewOf(const Record &record);
    // Builds the record from the ends of its fields and its text, given in pieces.
    static void store(Record &record, const quint32 *ends, std::initializer_list<QStringView> pieces);
    void replaceSpan(Record &target, int firstField, int lastField, QStringView content,
                     const quint32 *relativeEnds);

    std::vector<Record> m_records;
};

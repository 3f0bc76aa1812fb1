#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <initializer_list>
#include <memory>
#include <vector>

// The journal in memory: texts addressed by record 0..20000 and field 0..210.
//
// A fully allocated table of separate strings would cost about 100 MB before a single record is
// loaded, so each record is one block: the lengths of its fields, then the fields one after
// another. A record that was never written costs no more than an empty slot.
//
// The fields are kept as their Windows-1251 bytes, the journal file's own code page: half the
// memory of UTF-16 text, and the load and the save copy bytes instead of converting them. A
// field is decoded when it is read and encoded when it is set. A character with no byte in the
// code page is stored as "?" (a surrogate pair as one "?"), as the save has always written it:
// the table never holds what the file cannot, so what the screen shows after a set is what the
// next start loads.
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
        // Fields 0..210 one after another, in Windows-1251 bytes.
        QByteArrayView bytes() const { return {m_text, m_size}; }
        // The offset in bytes() where a field ends. A slot never written has every field empty.
        quint32 end(int field) const;
        quint32 start(int field) const { return field == 0 ? 0 : end(field - 1); }
        QByteArrayView fieldBytes(int field) const { return bytes().sliced(start(field), end(field) - start(field)); }
        // The same, decoded.
        QString text() const;
        QString field(int field) const;
        // The ends of fields 0..lastField in one pass: end() of a field costs a walk over the
        // fields before it.
        void ends(int lastField, quint32 *out) const;
        // Where the field lengths are held, for a scan that fetches records ahead of their use.
        const void *endsData() const { return m_header; }

    private:
        friend class RecordTable;
        const unsigned char *m_header = nullptr;
        const char *m_text = nullptr;
        qsizetype m_size = 0;
        bool m_wide = false;
    };

    RecordTable();
    ~RecordTable();
    RecordTable(const RecordTable &) = delete;
    RecordTable &operator=(const RecordTable &) = delete;

    static bool isValidRecord(int record) { return record >= 0 && record <= kMaxRecord; }
    static bool isValidField(int field) { return field >= 0 && field <= kLastField; }

    // Empty for a slot or field never written.
    QString text(int record, int field) const;
    QString field(int record, int field) const { return text(record, field); }
    // The field's Windows-1251 bytes; the view lives until the record changes.
    QByteArrayView bytes(int record, int field) const;

    void setField(int record, int field, QStringView value);
    void setFieldBytes(int record, int field, QByteArrayView bytes);
    // Fields first..first + values.size() - 1 := values, in one step.
    void setFields(int record, int firstField, const QList<QString> &values);
    // Every field of the slot empty, as if it had never been written.
    void clearRecord(int record);

    // A record as stored; every field empty for a slot never written or out of range.
    RecordView record(int record) const;

    // Replaces a whole record at once: `text` holds fields 0..210 one after another and
    // ends[f] is the end of field f in it (in UTF-16 units for text, in bytes for bytes).
    void assignRecord(int record, QStringView text, const quint32 (&ends)[kFieldCount]);
    void assignBytes(int record, QByteArrayView bytes, const quint32 (&ends)[kFieldCount]);
    // The same for a record none of whose fields is longer than 255 bytes, given by the lengths
    // of its fields, which add up to bytes.size(): the load's common case, stored as it comes.
    void assignShortFields(int record, QByteArrayView bytes, const unsigned char (&lengths)[kFieldCount]);

    // Fields first..last of record `to` := those of record `from`; the other fields of `to`
    // keep their values.
    void copyFields(int from, int to, int firstField, int lastField);

    // Empties every slot.
    void clear();

    // Bytes held by the table, its slots included.
    qsizetype memoryUsage() const;

    // A number that changes with every write to the slot: whoever keeps something made from a
    // record knows by it whether the record changed since, without reading it.
    quint32 revision(int record) const { return isValidRecord(record) ? m_records[size_t(record)].revision : 0; }

private:
    struct Record
    {
        // The lengths of fields 0..210, one byte each, then the text; or, while a field is
        // longer than a byte can count, the ends of the fields as 32-bit numbers, then the text.
        // Null for a slot never written.
        std::unique_ptr<unsigned char[]> data;
        quint32 size = 0;
        quint32 revision = 0;
        bool wide = false;
    };

    static RecordView viewOf(const Record &record);
    // Builds the record from the ends of its fields and its text, given in pieces. The old text
    // may be one of the pieces: the record changes only once the new one is built.
    void store(Record &record, const quint32 *ends, std::initializer_list<QByteArrayView> pieces);
    void replaceSpan(Record &target, int firstField, int lastField, QByteArrayView content,
                     const quint32 *relativeEnds);

    std::vector<Record> m_records;
    quint32 m_lastRevision = 0;
};

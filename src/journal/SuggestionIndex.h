#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

class RecordTable;

// The earlier values of the editor's fields whose values recur (make and model, type, colour,
// names, places ...), for the suggestions under a box. Built once from the journal's records
// and brought up to date by update(), which reads again only the records written since: the
// record table counts the writes to each slot.
//
// A field's distinct values are kept once each, in the journal's own bytes, with how many
// records hold each and the last record that does. The records themselves hold a small number
// per field, the value's place, so that a changed or removed record takes its old values back.
class SuggestionIndex
{
public:
    static constexpr int kMaxSuggestions = 8;
    // The fields with suggestions, by field number.
    static constexpr std::array<int, 26> kFields = {4,  6,  7,  8,  9,  13, 14, 15, 16, 18, 19, 20, 21,
                                                    22, 23, 24, 25, 26, 27, 28, 29, 33, 34, 35, 36, 41};
    static bool hasSuggestions(int field);

    SuggestionIndex();
    ~SuggestionIndex();

    // Records 1..recordCount of the table as they are now.
    void update(const RecordTable &table, int recordCount);
    bool isBuilt() const { return m_built; }
    // Forgets everything; the next update builds the index anew.
    void clear();

    // The values of `field` that begin with `typed`, letter case ignored and "Ё" taken for "Е",
    // as the journal holds them: the most used first, among equals the most recent. None for an
    // empty `typed` or a field without suggestions.
    QStringList lookup(int field, QStringView typed, int limit = kMaxSuggestions) const;
    // The last record whose `field` equals `text` with the same disregard for case; 0 for none.
    int latestRecordWith(int field, QStringView text) const;

    qsizetype memoryUsage() const;

private:
    struct Entry
    {
        quint32 offset;
        quint32 length;
        quint32 count;
        quint32 latest;
    };
    // One field: its distinct values (entry ids from 1), the ids in the order of their folded
    // text, a hash of the exact bytes to their ids, and the id each record holds (0: empty).
    struct Field
    {
        QByteArray pool;
        std::vector<Entry> entries;
        std::vector<quint16> order;
        std::vector<quint16> buckets;
        std::vector<quint16> records;
        qsizetype deadBytes = 0;
        int liveEntries = 0;

        QByteArrayView bytes(const Entry &e) const { return QByteArrayView(pool).sliced(e.offset, e.length); }
        quint16 find(QByteArrayView value) const;
        // The id of the value, a new entry where there is none yet.
        quint16 intern(QByteArrayView value);
        void rehash(size_t capacity);
        void add(int record, QByteArrayView value, bool sorted);
        void remove(int record);
        bool needsCompacting() const;
    };

    void rebuild(const RecordTable &table, int recordCount);
    void read(const RecordTable &table, int record, bool sorted);
    const Field *fieldIndex(int field) const;
    // The range of `order` whose folded text begins with `prefix` (folded bytes).
    static std::pair<size_t, size_t> prefixRange(const Field &f, QByteArrayView prefix);

    std::array<Field, kFields.size()> m_fields;
    std::vector<quint32> m_revisions;
    int m_recordCount = 0;
    bool m_built = false;
};

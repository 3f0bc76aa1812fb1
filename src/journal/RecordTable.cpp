#include "RecordTable.h"

#include <algorithm>
#include <cstring>

namespace {

qsizetype headerUnits(bool wide)
{
    return wide ? 2 * RecordTable::kFieldCount : RecordTable::kFieldCount;
}

} // namespace

RecordTable::RecordTable() : m_records(kMaxRecord + 1) {}

RecordTable::~RecordTable() = default;

RecordTable::RecordView RecordTable::viewOf(const Record &record)
{
    RecordView view;
    if (record.data.isNull())
        return view;
    const char16_t *units = reinterpret_cast<const char16_t *>(record.data.utf16());
    const qsizetype header = headerUnits(record.wide);
    view.m_ends = units;
    view.m_wide = record.wide;
    view.m_text = QStringView(units + header, record.data.size() - header);
    return view;
}

RecordTable::RecordView RecordTable::record(int record) const
{
    if (!isValidRecord(record))
        return {};
    return viewOf(m_records[size_t(record)]);
}

QStringView RecordTable::field(int record, int field) const
{
    if (!isValidRecord(record) || !isValidField(field))
        return {};
    const Record &r = m_records[size_t(record)];
    if (r.data.isNull())
        return {};
    return viewOf(r).field(field);
}

void RecordTable::assignRecord(int record, QStringView text, const quint32 (&ends)[kFieldCount])
{
    if (isValidRecord(record))
        store(m_records[size_t(record)], ends, {text});
}

void RecordTable::store(Record &r, const quint32 *ends, std::initializer_list<QStringView> pieces)
{
    qsizetype length = 0;
    for (const QStringView piece : pieces)
        length += piece.size();
    // The old text may be one of the pieces: the record changes only once the new one is built.
    const bool wide = length > 0xFFFF;
    const qsizetype header = headerUnits(wide);
    QString data(header + length, Qt::Uninitialized);
    auto *units = reinterpret_cast<char16_t *>(data.data());
    if (wide) {
        for (int f = 0; f < kFieldCount; ++f) {
            units[2 * f] = char16_t(ends[f] & 0xFFFF);
            units[2 * f + 1] = char16_t(ends[f] >> 16);
        }
    } else {
        for (int f = 0; f < kFieldCount; ++f)
            units[f] = char16_t(ends[f]);
    }
    char16_t *out = units + header;
    for (const QStringView piece : pieces) {
        if (!piece.isEmpty())
            std::memcpy(out, piece.utf16(), size_t(piece.size()) * sizeof(char16_t));
        out += piece.size();
    }
    r.data = std::move(data);
    r.wide = wide;
}

void RecordTable::replaceSpan(Record &target, int firstField, int lastField, QStringView content,
                              const quint32 *relativeEnds)
{
    const RecordView old = viewOf(target);
    quint32 ends[kFieldCount];
    for (int f = 0; f < kFieldCount; ++f)
        ends[f] = old.m_ends ? old.end(f) : 0;
    const quint32 spanStart = firstField == 0 ? 0 : ends[firstField - 1];
    const quint32 spanEnd = ends[lastField];

    const qint64 delta = qint64(content.size()) - qint64(spanEnd - spanStart);
    for (int f = firstField; f <= lastField; ++f)
        ends[f] = spanStart + relativeEnds[f - firstField];
    for (int f = lastField + 1; f < kFieldCount; ++f)
        ends[f] = quint32(qint64(ends[f]) + delta);

    store(target, ends, {old.text().first(spanStart), content, old.text().sliced(spanEnd)});
}

void RecordTable::setField(int record, int field, const QString &value)
{
    if (!isValidRecord(record) || !isValidField(field))
        return;
    Record &r = m_records[size_t(record)];
    if (r.data.isNull() && value.isEmpty())
        return;
    const quint32 relativeEnd = quint32(value.size());
    replaceSpan(r, field, field, value, &relativeEnd);
}

void RecordTable::setFields(int record, int firstField, const QList<QString> &values)
{
    if (!isValidRecord(record) || values.isEmpty())
        return;
    const int lastField = firstField + int(values.size()) - 1;
    if (!isValidField(firstField) || !isValidField(lastField))
        return;
    Record &r = m_records[size_t(record)];
    quint32 relativeEnds[kFieldCount];
    QString content;
    qsizetype length = 0;
    for (const QString &v : values)
        length += v.size();
    if (r.data.isNull() && length == 0)
        return;
    content.reserve(length);
    for (int i = 0; i < values.size(); ++i) {
        content += values[i];
        relativeEnds[i] = quint32(content.size());
    }
    replaceSpan(r, firstField, lastField, content, relativeEnds);
}

void RecordTable::clearRecord(int record)
{
    if (isValidRecord(record))
        m_records[size_t(record)] = Record();
}

void RecordTable::copyFields(int from, int to, int firstField, int lastField)
{
    if (!isValidRecord(from) || !isValidRecord(to) || from == to)
        return;
    firstField = std::max(firstField, 0);
    lastField = std::min(lastField, kLastField);
    if (firstField > lastField)
        return;
    const Record &source = m_records[size_t(from)];
    Record &target = m_records[size_t(to)];
    if (source.data.isNull() && target.data.isNull())
        return;

    quint32 relativeEnds[kFieldCount] = {};
    QStringView content;
    if (!source.data.isNull()) {
        const RecordView view = viewOf(source);
        const quint32 start = view.start(firstField);
        for (int f = firstField; f <= lastField; ++f)
            relativeEnds[f - firstField] = view.end(f) - start;
        content = view.text().sliced(start, view.end(lastField) - start);
    }
    replaceSpan(target, firstField, lastField, content, relativeEnds);
}

void RecordTable::clear()
{
    for (Record &r : m_records)
        r = Record();
}

qsizetype RecordTable::memoryUsage() const
{
    qsizetype bytes = qsizetype(sizeof(RecordTable) + m_records.capacity() * sizeof(Record));
    for (const Record &r : m_records) {
        if (!r.data.isNull())
            bytes += r.data.capacity() * qsizetype(sizeof(QChar)) + 16;
    }
    return bytes;
}

#include "RecordTable.h"

#include <algorithm>

RecordTable::RecordTable() : m_records(kMaxRecord + 1) {}

RecordTable::~RecordTable() = default;

void RecordTable::Record::setEnds(const quint32 *ends)
{
    if (text.size() <= 0xFFFF) {
        ends32.reset();
        if (!ends16)
            ends16 = std::make_unique<quint16[]>(kFieldCount);
        for (int f = 0; f < kFieldCount; ++f)
            ends16[f] = static_cast<quint16>(ends[f]);
    } else {
        ends16.reset();
        if (!ends32)
            ends32 = std::make_unique<quint32[]>(kFieldCount);
        std::copy(ends, ends + kFieldCount, ends32.get());
    }
}

QStringView RecordTable::field(int record, int field) const
{
    if (!isValidRecord(record) || !isValidField(field))
        return {};
    const Record &r = m_records[size_t(record)];
    if (r.isEmpty())
        return {};
    const quint32 start = r.start(field);
    return QStringView(r.text).sliced(start, r.end(field) - start);
}

void RecordTable::replaceSpan(Record &target, int firstField, int lastField, QStringView content,
                              const quint32 *relativeEnds)
{
    quint32 ends[kFieldCount];
    if (target.isEmpty()) {
        std::fill(std::begin(ends), std::end(ends), 0u);
    } else {
        for (int f = 0; f < kFieldCount; ++f)
            ends[f] = target.end(f);
    }
    const quint32 spanStart = firstField == 0 ? 0 : ends[firstField - 1];
    const quint32 spanEnd = ends[lastField];

    QString text;
    text.reserve(target.text.size() - (spanEnd - spanStart) + content.size());
    text.append(QStringView(target.text).first(spanStart));
    text.append(content);
    text.append(QStringView(target.text).sliced(spanEnd));

    const qint64 delta = qint64(content.size()) - qint64(spanEnd - spanStart);
    for (int f = firstField; f <= lastField; ++f)
        ends[f] = spanStart + relativeEnds[f - firstField];
    for (int f = lastField + 1; f < kFieldCount; ++f)
        ends[f] = quint32(qint64(ends[f]) + delta);

    target.text = std::move(text);
    target.setEnds(ends);
}

void RecordTable::setField(int record, int field, const QString &value)
{
    if (!isValidRecord(record) || !isValidField(field))
        return;
    Record &r = m_records[size_t(record)];
    if (r.isEmpty() && value.isEmpty())
        return;
    const quint32 relativeEnd = quint32(value.size());
    replaceSpan(r, field, field, value, &relativeEnd);
}

void RecordTable::assignRecord(int record, QString text, const quint32 (&ends)[kFieldCount])
{
    if (!isValidRecord(record))
        return;
    Record &r = m_records[size_t(record)];
    r.text = std::move(text);
    r.setEnds(ends);
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
    if (source.isEmpty() && target.isEmpty())
        return;

    quint32 relativeEnds[kFieldCount];
    QStringView content;
    if (source.isEmpty()) {
        std::fill(std::begin(relativeEnds), std::end(relativeEnds), 0u);
    } else {
        const quint32 start = source.start(firstField);
        for (int f = firstField; f <= lastField; ++f)
            relativeEnds[f - firstField] = source.end(f) - start;
        content = QStringView(source.text).sliced(start, source.end(lastField) - start);
    }
    replaceSpan(target, firstField, lastField, content, relativeEnds);
}

QStringView RecordTable::recordText(int record) const
{
    if (!isValidRecord(record))
        return {};
    return m_records[size_t(record)].text;
}

void RecordTable::fieldEnds(int record, quint32 (&ends)[kFieldCount]) const
{
    const Record *r = isValidRecord(record) ? &m_records[size_t(record)] : nullptr;
    if (!r || r->isEmpty()) {
        std::fill(std::begin(ends), std::end(ends), 0u);
        return;
    }
    if (r->ends16)
        std::copy(r->ends16.get(), r->ends16.get() + kFieldCount, ends);
    else
        std::copy(r->ends32.get(), r->ends32.get() + kFieldCount, ends);
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
        if (r.isEmpty())
            continue;
        bytes += r.text.capacity() * qsizetype(sizeof(QChar)) + 16;
        bytes += r.ends16 ? kFieldCount * 2 : kFieldCount * 4;
    }
    return bytes;
}

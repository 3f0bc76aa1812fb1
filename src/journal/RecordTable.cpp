#include "RecordTable.h"

#include "platform/Cp1251.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kFieldCount = RecordTable::kFieldCount;
// The longest field a one-byte length can count.
constexpr quint32 kNarrowLimit = 0xFF;

size_t headerBytes(bool wide)
{
    return wide ? kFieldCount * sizeof(quint32) : kFieldCount;
}

quint32 wideEnd(const unsigned char *header, int field)
{
    quint32 end;
    std::memcpy(&end, header + sizeof(quint32) * size_t(field), sizeof end);
    return end;
}

using Encoded = QVarLengthArray<char, 512>;

QString decoded(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    QString text(bytes.size(), Qt::Uninitialized);
    Cp1251::decode(bytes.data(), bytes.size(), reinterpret_cast<char16_t *>(text.data()));
    return text;
}

// The text in Windows-1251 bytes, by the table's rule for characters without a byte.
void encode(QStringView text, Encoded &out)
{
    out.resize(text.size());
    qsizetype replaced = 0;
    const char *end = Cp1251::encodeInto(text.utf16(), text.size(), out.data(), &replaced);
    out.resize(end - out.data());
}

} // namespace

quint32 RecordTable::RecordView::end(int field) const
{
    if (!m_header)
        return 0;
    if (m_wide)
        return wideEnd(m_header, field);
    // Summed from the nearer end of the record.
    if (field < kFieldCount / 2) {
        quint32 sum = 0;
        for (int f = 0; f <= field; ++f)
            sum += m_header[f];
        return sum;
    }
    quint32 rest = 0;
    for (int f = field + 1; f < kFieldCount; ++f)
        rest += m_header[f];
    return quint32(m_size) - rest;
}

QString RecordTable::RecordView::text() const
{
    return decoded(bytes());
}

QString RecordTable::RecordView::field(int field) const
{
    return decoded(fieldBytes(field));
}

void RecordTable::RecordView::ends(int lastField, quint32 *out) const
{
    if (!m_header) {
        std::fill(out, out + lastField + 1, 0u);
        return;
    }
    if (m_wide) {
        std::memcpy(out, m_header, sizeof(quint32) * size_t(lastField + 1));
        return;
    }
    quint32 sum = 0;
    for (int f = 0; f <= lastField; ++f) {
        sum += m_header[f];
        out[f] = sum;
    }
}

RecordTable::RecordTable() : m_records(kMaxRecord + 1) {}

RecordTable::~RecordTable() = default;

RecordTable::RecordView RecordTable::viewOf(const Record &record)
{
    RecordView view;
    if (!record.data)
        return view;
    view.m_header = record.data.get();
    view.m_wide = record.wide;
    view.m_text = reinterpret_cast<const char *>(record.data.get() + headerBytes(record.wide));
    view.m_size = record.size;
    return view;
}

RecordTable::RecordView RecordTable::record(int record) const
{
    if (!isValidRecord(record))
        return {};
    return viewOf(m_records[size_t(record)]);
}

QByteArrayView RecordTable::bytes(int record, int field) const
{
    if (!isValidRecord(record) || !isValidField(field))
        return {};
    const Record &r = m_records[size_t(record)];
    if (!r.data)
        return {};
    return viewOf(r).fieldBytes(field);
}

QString RecordTable::text(int record, int field) const
{
    return decoded(bytes(record, field));
}

void RecordTable::assignRecord(int record, QStringView text, const quint32 (&ends)[kFieldCount])
{
    if (!isValidRecord(record))
        return;
    // Field by field, since a character without a byte may take two units and give one byte.
    Encoded bytes;
    bytes.resize(text.size());
    quint32 byteEnds[kFieldCount];
    qsizetype replaced = 0;
    char *out = bytes.data();
    quint32 from = 0;
    for (int f = 0; f < kFieldCount; ++f) {
        out = Cp1251::encodeInto(text.utf16() + from, ends[f] - from, out, &replaced);
        byteEnds[f] = quint32(out - bytes.data());
        from = ends[f];
    }
    store(m_records[size_t(record)], byteEnds, {QByteArrayView(bytes.data(), out - bytes.data())});
}

void RecordTable::assignBytes(int record, QByteArrayView bytes, const quint32 (&ends)[kFieldCount])
{
    if (isValidRecord(record))
        store(m_records[size_t(record)], ends, {bytes});
}

void RecordTable::assignShortFields(int record, QByteArrayView bytes, const unsigned char (&lengths)[kFieldCount])
{
    if (!isValidRecord(record))
        return;
    Record &r = m_records[size_t(record)];
    auto data = std::make_unique_for_overwrite<unsigned char[]>(headerBytes(false) + size_t(bytes.size()));
    std::memcpy(data.get(), lengths, headerBytes(false));
    if (!bytes.isEmpty())
        std::memcpy(data.get() + headerBytes(false), bytes.data(), size_t(bytes.size()));
    r.data = std::move(data);
    r.size = quint32(bytes.size());
    r.wide = false;
    r.revision = ++m_lastRevision;
}

void RecordTable::store(Record &r, const quint32 *ends, std::initializer_list<QByteArrayView> pieces)
{
    qsizetype length = 0;
    for (const QByteArrayView piece : pieces)
        length += piece.size();
    bool wide = false;
    for (int f = 0; f < kFieldCount && !wide; ++f)
        wide = ends[f] - (f == 0 ? 0 : ends[f - 1]) > kNarrowLimit;
    const size_t header = headerBytes(wide);
    auto data = std::make_unique_for_overwrite<unsigned char[]>(header + size_t(length));
    if (wide) {
        std::memcpy(data.get(), ends, header);
    } else {
        quint32 previous = 0;
        for (int f = 0; f < kFieldCount; ++f) {
            data[size_t(f)] = static_cast<unsigned char>(ends[f] - previous);
            previous = ends[f];
        }
    }
    unsigned char *out = data.get() + header;
    for (const QByteArrayView piece : pieces) {
        if (!piece.isEmpty())
            std::memcpy(out, piece.data(), size_t(piece.size()));
        out += piece.size();
    }
    r.data = std::move(data);
    r.size = quint32(length);
    r.wide = wide;
    r.revision = ++m_lastRevision;
}

void RecordTable::replaceSpan(Record &target, int firstField, int lastField, QByteArrayView content,
                              const quint32 *relativeEnds)
{
    const RecordView old = viewOf(target);
    quint32 ends[kFieldCount];
    old.ends(kLastField, ends);
    const quint32 spanStart = firstField == 0 ? 0 : ends[firstField - 1];
    const quint32 spanEnd = ends[lastField];

    const qint64 delta = qint64(content.size()) - qint64(spanEnd - spanStart);
    for (int f = firstField; f <= lastField; ++f)
        ends[f] = spanStart + relativeEnds[f - firstField];
    for (int f = lastField + 1; f < kFieldCount; ++f)
        ends[f] = quint32(qint64(ends[f]) + delta);

    store(target, ends, {old.bytes().first(spanStart), content, old.bytes().sliced(spanEnd)});
}

void RecordTable::setField(int record, int field, QStringView value)
{
    if (!isValidRecord(record) || !isValidField(field))
        return;
    if (!m_records[size_t(record)].data && value.isEmpty())
        return;
    Encoded bytes;
    encode(value, bytes);
    setFieldBytes(record, field, QByteArrayView(bytes.data(), bytes.size()));
}

void RecordTable::setFieldBytes(int record, int field, QByteArrayView bytes)
{
    if (!isValidRecord(record) || !isValidField(field))
        return;
    Record &r = m_records[size_t(record)];
    if (!r.data && bytes.isEmpty())
        return;
    const quint32 relativeEnd = quint32(bytes.size());
    replaceSpan(r, field, field, bytes, &relativeEnd);
}

void RecordTable::setFields(int record, int firstField, const QList<QString> &values)
{
    if (!isValidRecord(record) || values.isEmpty())
        return;
    const int lastField = firstField + int(values.size()) - 1;
    if (!isValidField(firstField) || !isValidField(lastField))
        return;
    Record &r = m_records[size_t(record)];
    qsizetype length = 0;
    for (const QString &v : values)
        length += v.size();
    if (!r.data && length == 0)
        return;
    quint32 relativeEnds[kFieldCount];
    Encoded content;
    content.resize(length);
    qsizetype replaced = 0;
    char *out = content.data();
    for (int i = 0; i < values.size(); ++i) {
        out = Cp1251::encodeInto(reinterpret_cast<const char16_t *>(values[i].utf16()), values[i].size(), out,
                                 &replaced);
        relativeEnds[i] = quint32(out - content.data());
    }
    replaceSpan(r, firstField, lastField, QByteArrayView(content.data(), out - content.data()), relativeEnds);
}

void RecordTable::clearRecord(int record)
{
    if (isValidRecord(record))
        m_records[size_t(record)] = Record{{}, 0, ++m_lastRevision, false};
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
    if (!source.data && !target.data)
        return;

    quint32 relativeEnds[kFieldCount] = {};
    QByteArrayView content;
    if (source.data) {
        const RecordView view = viewOf(source);
        quint32 ends[kFieldCount];
        view.ends(lastField, ends);
        const quint32 start = firstField == 0 ? 0 : ends[firstField - 1];
        for (int f = firstField; f <= lastField; ++f)
            relativeEnds[f - firstField] = ends[f] - start;
        content = view.bytes().sliced(start, ends[lastField] - start);
    }
    replaceSpan(target, firstField, lastField, content, relativeEnds);
}

void RecordTable::clear()
{
    for (Record &r : m_records)
        r = Record{{}, 0, ++m_lastRevision, false};
}

qsizetype RecordTable::memoryUsage() const
{
    qsizetype bytes = qsizetype(sizeof(RecordTable) + m_records.capacity() * sizeof(Record));
    for (const Record &r : m_records) {
        // The allocator's own word and rounding to 16 bytes come with every block.
        if (r.data)
            bytes += qsizetype((headerBytes(r.wide) + r.size + 8 + 15) / 16 * 16);
    }
    return bytes;
}

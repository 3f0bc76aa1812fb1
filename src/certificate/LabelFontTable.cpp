#include "LabelFontTable.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1251.h"
#include "platform/RegionalNumber.h"

#include <QFile>

namespace {

QVariant *fieldOf(LabelFont &font, int index)
{
    switch (index) {
    case 0:
        return &font.name;
    case 1:
        return &font.bold;
    case 2:
        return &font.italic;
    case 3:
        return &font.size;
    default:
        return &font.colour;
    }
}

} // namespace

QString LabelFontTable::textOf(const QVariant &field)
{
    switch (field.typeId()) {
    case QMetaType::Bool:
        return field.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Float:
    case QMetaType::Double:
        return RegionalNumber::format(field.toFloat());
    case QMetaType::Int:
        return QString::number(field.toInt());
    default:
        return field.toString();
    }
}

std::optional<bool> LabelFontTable::boolOf(const QVariant &field)
{
    if (field.typeId() == QMetaType::Bool)
        return field.toBool();
    const QString text = field.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

std::optional<float> LabelFontTable::sizeOf(const QVariant &field)
{
    if (field.typeId() == QMetaType::Float || field.typeId() == QMetaType::Double)
        return field.toFloat();
    return RegionalNumber::parse(field.toString());
}

LabelFontSettings LabelFontTable::settingsOf(int label) const
{
    const LabelFont &font = (*this)[label];
    LabelFontSettings settings;
    const QString face = font.name.toString();
    if (!face.isEmpty())
        settings.face = face;
    settings.bold = boolOf(font.bold);
    settings.italic = boolOf(font.italic);
    if (const auto size = sizeOf(font.size); size && *size > 0)
        settings.size = size;
    return settings;
}

void LabelFontTable::setFont(int label, const QString &face, bool bold, bool italic, float size)
{
    LabelFont &font = (*this)[label];
    font.name = face;
    font.bold = bold;
    font.italic = italic;
    font.size = size;
}

void LabelFontTable::setChoice(int label, const Dialogs::FontChoice &choice)
{
    setFont(label, choice.face, choice.bold, choice.italic, float(choice.size));
    const QRgb rgb = choice.colour.rgb();
    // 0x00BBGGRR, as the platform's colour values are held.
    (*this)[label].colour = qint32(quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16);
}

void LabelFontTable::resetColours()
{
    for (LabelFont &font : m_entries)
        font.colour = kButtonTextColour;
}

void LabelFontTable::resetToBuiltIn()
{
    for (LabelFont &font : m_entries) {
        font.name = QStringLiteral("Epson1");
        font.bold = false;
        font.italic = false;
        font.size = QStringLiteral("10");
    }
    for (const int label : {31, 32, 33})
        m_entries[size_t(label)].size = QStringLiteral("6");
    m_entries[34].size = QStringLiteral("8");
    for (const int label : {36, 37}) {
        m_entries[size_t(label)].name = QStringLiteral("PTS_Number_1");
        m_entries[size_t(label)].size = QStringLiteral("13");
    }
    m_entries[38].name = QStringLiteral("Arial");
    m_entries[38].size = QStringLiteral("12");
    for (const int label : {36, 37, 38})
        m_entries[size_t(label)].bold = true;
}

void LabelFontTable::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = Cp1251::decode(file.readAll());
    // Lines end in CR LF; a lone LF or a lone CR from an editor elsewhere ends one too.
    qsizetype start = 0;
    int line = 0;
    while (line < kLabels * kFieldsPerLabel && start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        *fieldOf(m_entries[size_t(line / kFieldsPerLabel)], line % kFieldsPerLabel) = text.sliced(start, end - start);
        ++line;
        if (end == text.size())
            break; // a last line without its line end still counts
        start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    }
}

bool LabelFontTable::write(const QString &path, QString *error) const
{
    QByteArray bytes;
    for (const LabelFont &font : m_entries) {
        for (const QVariant *field : {&font.name, &font.bold, &font.italic, &font.size, &font.colour}) {
            QString text = textOf(*field);
            // A line break inside a field would shift every later line.
            text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
            Cp1251::encodeAppend(text, bytes);
            bytes += "\r\n";
        }
    }
    return writeFileAtomically(path, bytes, error);
}

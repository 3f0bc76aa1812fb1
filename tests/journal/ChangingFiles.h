#pragma once

#include "certificate/LabelFontTable.h"
#include "journal/AutofillTemplate.h"
#include "platform/Cp1251.h"

#include <QByteArray>
#include <QString>

#include <array>

// The template "Autoload" and the font file "Shrift" as functions of a generation number, for
// the crash test and the program it kills: the first line names the generation, and the
// lengths of the others change with it, so that a file holding parts of two generations, or a
// cut one, differs from both.
namespace ChangingFiles {

inline QString tag(int generation)
{
    return QStringLiteral("G%1").arg(generation);
}

inline QString filler(int seed, int length)
{
    const QString letters = QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЭЮЯ0123456789 ");
    QString text;
    for (int k = 0; k < length; ++k)
        text += letters.at((seed + k) % letters.size());
    return text;
}

inline std::array<QString, AutofillTemplate::kValueCount> templateValues(int generation)
{
    std::array<QString, AutofillTemplate::kValueCount> values;
    values[0] = tag(generation);
    for (int i = 1; i < AutofillTemplate::kValueCount; ++i)
        values[size_t(i)] = filler(i + generation, (i * 13 + generation * 7) % 90);
    return values;
}

// The bytes the template's save writes for a generation, built here without the program.
inline QByteArray templateBytes(int generation)
{
    QByteArray bytes;
    for (const QString &value : templateValues(generation))
        bytes += Cp1251::encode(value) + "\r\n";
    return bytes;
}

inline QString fontFace(int label, int generation)
{
    return label == 0 ? tag(generation)
                      : QStringLiteral("Face ") + filler(label * 3 + generation, (label + generation) % 30);
}

inline LabelFontTable fontTable(int generation)
{
    LabelFontTable table;
    for (int i = 0; i < LabelFontTable::kLabels; ++i) {
        LabelFont &font = table[i];
        font.name = fontFace(i, generation);
        font.bold = (i + generation) % 2 == 0;
        font.italic = (i + generation) % 3 == 0;
        font.size = QString::number(6 + (i * 7 + generation) % 25);
        font.colour = QString::number((i * 65599 + generation * 31) % 0x1000000);
    }
    return table;
}

inline QByteArray fontBytes(int generation)
{
    QByteArray bytes;
    for (int i = 0; i < LabelFontTable::kLabels; ++i) {
        bytes += Cp1251::encode(fontFace(i, generation)) + "\r\n";
        bytes += QByteArray((i + generation) % 2 == 0 ? "True" : "False") + "\r\n";
        bytes += QByteArray((i + generation) % 3 == 0 ? "True" : "False") + "\r\n";
        bytes += QByteArray::number(6 + (i * 7 + generation) % 25) + "\r\n";
        bytes += QByteArray::number((i * 65599 + generation * 31) % 0x1000000) + "\r\n";
    }
    return bytes;
}

// The generation the first line of such a file names; -1 when it names none.
inline int generationOf(const QByteArray &file)
{
    if (!file.startsWith('G'))
        return -1;
    const qsizetype end = file.indexOf('\r');
    bool ok = false;
    const int g = file.mid(1, end - 1).toInt(&ok);
    return ok ? g : -1;
}

} // namespace ChangingFiles

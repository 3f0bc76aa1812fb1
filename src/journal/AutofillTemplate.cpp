#include "AutofillTemplate.h"

#include "FieldInputRules.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1251.h"

#include <QFile>

void ReadAutofillTemplate(AutofillTemplate &autofill, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The file is small; a foreign file of any size is read only as far as 44 lines go.
    const QString text = Cp1251::decode(file.readAll());
    qsizetype pos = 0;
    const qsizetype size = text.size();
    for (int i = 0; i < AutofillTemplate::kValueCount && pos < size; ++i) {
        qsizetype end = pos;
        while (end < size && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        autofill.values[size_t(i)] = text.sliced(pos, end - pos);
        if (end < size && text[end] == QLatin1Char('\r') && end + 1 < size && text[end + 1] == QLatin1Char('\n'))
            ++end;
        pos = end + 1;
    }
}

bool SaveAutofillTemplate(AutofillTemplate &autofill, const std::array<QString, AutofillTemplate::kValueCount> &boxes,
                          const QString &path, QString *error)
{
    QByteArray bytes;
    for (int i = 0; i < AutofillTemplate::kValueCount; ++i) {
        QString &value = autofill.values[size_t(i)];
        value = Cp1251::representable(FieldInputRules::withoutLineBreaks(boxes[size_t(i)]));
        Cp1251::encodeAppend(value, bytes);
        bytes += "\r\n";
    }
    return writeFileAtomically(path, bytes, error);
}

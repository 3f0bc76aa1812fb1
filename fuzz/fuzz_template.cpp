// Feeds arbitrary bytes as the file "Autoload". Whatever is read must be what the template then
// writes and reads back: New copies these values into every record, so a template that reads
// back differently from what the operator saved fills records with the wrong data.
#include "FuzzSupport.h"

#include "journal/AutofillTemplate.h"

using FuzzSupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeScratch(QStringLiteral("Autoload"), data, size);

    AutofillTemplate read;
    ReadAutofillTemplate(read, path);
    for (const QString &value : read.values) {
        check(!value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n')));
        check(value.size() <= qsizetype(size));
    }

    // Saved as the editor's button saves it, from boxes holding the values read.
    AutofillTemplate saved;
    check(SaveAutofillTemplate(saved, read.values, path));
    check(saved.values == read.values);
    QFile file(path);
    check(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    check(bytes.count("\r\n") == AutofillTemplate::kValueCount);

    AutofillTemplate again;
    ReadAutofillTemplate(again, path);
    check(again.values == saved.values);
    return 0;
}

// Feeds arbitrary bytes as the font file "Shrift". The table read from it must write and read
// back to the same table (a line the program cannot interpret survives a run unchanged), and
// every size it gives a label must be one the label's arithmetic can take.
#include "FuzzSupport.h"

#include "certificate/CertificateLayout.h"
#include "certificate/LabelFontTable.h"
#include "certificate/LayoutState.h"

#include <QGuiApplication>

#include <cmath>

using FuzzSupport::check;

namespace {

bool sameTable(const LabelFontTable &a, const LabelFontTable &b)
{
    for (int i = 0; i < LabelFontTable::kLabels; ++i) {
        const LabelFont &x = a[i];
        const LabelFont &y = b[i];
        if (LabelFontTable::textOf(x.name) != LabelFontTable::textOf(y.name)
            || LabelFontTable::textOf(x.bold) != LabelFontTable::textOf(y.bold)
            || LabelFontTable::textOf(x.italic) != LabelFontTable::textOf(y.italic)
            || LabelFontTable::textOf(x.size) != LabelFontTable::textOf(y.size)
            || LabelFontTable::textOf(x.colour) != LabelFontTable::textOf(y.colour))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Labels measure their text with the page's fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeScratch(QStringLiteral("Shrift"), data, size);

    LabelFontTable table;
    table.resetColours();
    table.read(path);
    const QString copy = FuzzSupport::scratchPath(QStringLiteral("Shrift.copy"));
    check(table.write(copy));
    LabelFontTable again;
    again.read(copy);
    check(sameTable(table, again));
    // Written once more, the same bytes: nothing drifts from one run of the program to the next.
    QFile first(copy);
    check(first.open(QIODevice::ReadOnly));
    const QByteArray bytes = first.readAll();
    first.close();
    check(bytes.count("\r\n") == LabelFontTable::kLabels * LabelFontTable::kFieldsPerLabel);
    check(again.write(copy));
    QFile second(copy);
    check(second.open(QIODevice::ReadOnly));
    check(second.readAll() == bytes);

    // Applied to the labels as the print window applies it: every size stays finite and the
    // labels keep sizes the page can draw.
    static LayoutState state;
    static CertificateLayout layout(state);
    for (int i = 0; i < LabelFontTable::kLabels; ++i) {
        const LabelFontSettings settings = table.settingsOf(i);
        check(!settings.size || (std::isfinite(*settings.size) && *settings.size > 0));
        layout.setLabelFont(i, LabelFontSpec{QStringLiteral("Epson1"), 9.75f, false, false});
        layout.applyFontSettings(i, settings);
        layout.setLabelText(i, QStringLiteral("ТРЕЛВАКС 1234"));
        layout.autoSizeLabel(i, 4);
        const CertificateLayout::Label &label = layout.label(i);
        check(std::isfinite(label.width) && label.width >= 0 && label.width < 100000);
        check(std::isfinite(label.height) && label.height >= 0 && label.height < 100000);
    }
    return 0;
}

#include "LabelFontCommands.h"

#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "certificate/PageText.h"
#include "platform/CommonDialog.h"

#include <QList>

namespace LabelFontCommands {

namespace {

namespace Text {
const QString noSelectionCaption = QStringLiteral("В каком поле менять шрифт ?");
// Five lines; the blanks centre the two hints under the first line in the box's own face.
const QString noSelection =
    QStringList{
        QStringLiteral("Не выбрано ни одного текстового поля! Для выбора поля кликните по нему мышкой."),    QString(),
        QString(25, QLatin1Char(' ')) + QStringLiteral("Для выбора нескольких полей используйте Ctrl. "),    QString(),
        QString(19, QLatin1Char(' ')) + QStringLiteral("Для выбора всех полей нажмите кнопку Выбрать все."),
    }
        .join(QStringLiteral("\r\n"));
const QString resetCaption = QStringLiteral("Подтвердите действие");
const QString resetQuestion = QStringLiteral("Вы действительно хотите сбросить шрифт для всех полей?");

QString faceRefused(int label, const QString &asked, const QString &shown)
{
    return QStringLiteral("Ошибка выбора шрифта в поле № ") + QString::number(label) + QStringLiteral(" шрифт [")
        + asked + QStringLiteral("] не поддерживается сейчас в поле шрифт [") + shown + QLatin1Char(']');
}
} // namespace Text

// The sizes the labels are offered; the dialog cannot hand back any other.
constexpr int kMinSize = 6;
constexpr int kMaxSize = 30;
// A label is wider than its text by this much after a font change, as after loading.
constexpr float kExtraWidthMm = 4.0f;

QList<int> selectedLabels(const CertificateLayout &layout)
{
    QList<int> selected;
    for (int i = 0; i < kLabelCount; ++i) {
        if (layout.isSelected(i))
            selected << i;
    }
    return selected;
}

// Entry i on label i, each setting it cannot take skipped, then the label sized to its text.
void applyEntry(CertificateLayout &layout, int i)
{
    layout.applyFontSettings(i, layout.state().LabelFonts.settingsOf(i));
    layout.autoSizeLabel(i, kExtraWidthMm);
}

// What both "Шрифт" commands do before they apply anything: the selected labels' entries
// take the font chosen in the dialog. Nothing selected: the warning, and no labels.
QList<int> chooseForSelected(CertificateLayout &layout, CommonDialog &dialogs)
{
    const QList<int> selected = selectedLabels(layout);
    if (selected.isEmpty()) {
        dialogs.message({Text::noSelection, Text::noSelectionCaption, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok,
                         Dialogs::Answer::Ok});
        return selected;
    }
    LabelFontTable &table = layout.state().LabelFonts;
    for (const int i : selected) {
        const LabelFontSpec &font = layout.label(i).font;
        table.setFont(i, font.face, font.bold, font.italic, font.size);
    }
    // The lowest-numbered label's font is what a cancelled dialog gives them all.
    const LabelFont &first = table[selected.first()];
    Dialogs::FontChoice preset;
    preset.face = first.name.toString();
    preset.bold = first.bold.toBool();
    preset.italic = first.italic.toBool();
    preset.size = double(first.size.toFloat());
    const Dialogs::FontChoice chosen = dialogs.chooseFont(preset, kMinSize, kMaxSize);
    for (const int i : selected)
        table.setChoice(i, chosen);
    return selected;
}

// The face a label shows, as the operator knows it: the name it was given while that face or
// its stand-in is drawn, otherwise the family that is drawn.
QString shownFace(const LabelFontSpec &font)
{
    return PageText::showsFace(font, font.face) ? font.face : PageText::shownFamily(font);
}

} // namespace

void ChangeLabelFont(CertificateLayout &layout, CommonDialog &dialogs)
{
    if (chooseForSelected(layout, dialogs).isEmpty())
        return;
    for (int i = 0; i < kLabelCount; ++i)
        applyEntry(layout, i);
}

void FrameChangeLabelFont(CertificateLayout &layout, CommonDialog &dialogs)
{
    const QList<int> selected = chooseForSelected(layout, dialogs);
    for (const int i : selected)
        applyEntry(layout, i);
    const LabelFontTable &table = layout.state().LabelFonts;
    for (const int i : selected) {
        const QString asked = LabelFontTable::textOf(table[i].name);
        const LabelFontSpec &font = layout.label(i).font;
        if (!PageText::showsFace(font, asked))
            dialogs.inform(Text::faceRefused(i, asked, shownFace(font)), programTitle(), Dialogs::Icon::None);
    }
}

void ResetLabelFonts(CertificateLayout &layout, CommonDialog &dialogs)
{
    const Dialogs::Answer answer = dialogs.message({Text::resetQuestion, Text::resetCaption, Dialogs::Icon::Question,
                                                    Dialogs::Buttons::OkCancel, Dialogs::Answer::Cancel});
    if (answer != Dialogs::Answer::Ok)
        return;
    layout.state().LabelFonts.resetToBuiltIn();
    for (int i = 0; i < kLabelCount; ++i)
        applyEntry(layout, i);
}

} // namespace LabelFontCommands

#include "LayoutStore.h"

#include "BuiltInLayout.h"
#include "CertificateLayout.h"
#include "LayoutState.h"
#include "platform/CommonDialog.h"
#include "platform/RegionalNumber.h"
#include "platform/SettingsStore.h"

#include <array>

namespace {

namespace Text {
const QString resetCaption = QStringLiteral("Подтвердите действие");
const QString resetQuestion = QStringLiteral("Вы действительно хотите сбросить настройки положения всех полей?");
const QString closeCaption = QStringLiteral("Trelvax 1.0");
const QString closeQuestion = QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?");
} // namespace Text

// The drawing area is 295 x 205 mm. A stored position more than a page's width outside it is
// no placement the operator made (a damaged or hand-edited file): taken as unreadable, it
// leaves the element where it was rather than sending it where no arrow key brings it back,
// or into arithmetic that overflows on the way to the screen.
constexpr RealRange kPositionRange{-300.0, 600.0, RealRange::Outside::UseDefault};

const QString kLabelTop = QStringLiteral("PTS1top");
const QString kLabelLeft = QStringLiteral("PTS1left");

struct PictureEntry
{
    QString topSection;
    QString leftSection;
    QString key;
};

// The picture entries as "Сохранить" spells them.
const std::array<PictureEntry, kPictureCount> kPictureEntries = {{
    {QStringLiteral("PTS1topIm"), QStringLiteral("PTS1leftIm"), QStringLiteral("Im")},
    {QStringLiteral("PTS1topIm"), QStringLiteral("PTS1leftIm"), QStringLiteral("Im2")},
    {QStringLiteral("PTS1topImpech"), QStringLiteral("PTS1leftImpech"), QStringLiteral("Impech")},
    {QStringLiteral("PTS1topImpodp"), QStringLiteral("PTS1leftImpodp"), QStringLiteral("Impodp")},
}};

// "Сброс" has always spelled the signature's entries with capitals; the names compare without
// regard to case, so they are the same entries.
const PictureEntry kResetSignatureEntry = {QStringLiteral("PTS1topImPodp"), QStringLiteral("PTS1leftImPodp"),
                                           QStringLiteral("ImPodp")};

} // namespace

LayoutStore::LayoutStore(SettingsStore &settings) : m_settings(settings) {}

float LayoutStore::read(const QString &section, const QString &key, float missing, float current) const
{
    if (!m_settings.contains(section, key))
        return missing;
    return float(m_settings.realValue(section, key, double(current), kPositionRange));
}

void LayoutStore::write(const QString &section, const QString &key, float value)
{
    m_settings.setValue(section, key, RegionalNumber::format(value));
}

void LayoutStore::LoadLayout(CertificateLayout &layout) const
{
    for (int i = 0; i < kLabelCount; ++i) {
        MmPoint pos = layout.label(i).pos;
        const QString key = QString::number(i);
        pos.top = read(kLabelTop, key, pos.top, pos.top);
        pos.left = read(kLabelLeft, key, pos.left, pos.left);
        layout.setLabelPosition(i, pos);
    }
    for (int p = 0; p < kPictureCount; ++p) {
        const PictureEntry &entry = kPictureEntries[size_t(p)];
        // A missing entry gives the constant default; an unreadable one leaves the picture.
        const MmPoint missing = BuiltInLayout::missingPicturePosition(PictureId(p));
        MmPoint pos = layout.picture(PictureId(p)).pos;
        pos.top = read(entry.topSection, entry.key, missing.top, pos.top);
        pos.left = read(entry.leftSection, entry.key, missing.left, pos.left);
        layout.setPicturePosition(PictureId(p), pos);
    }
}

LayoutStore::EntryName LayoutStore::entryName(int entry, Spelling spelling)
{
    const bool top = entry % 2 == 0;
    const int element = entry / 2;
    if (element < kLabelCount)
        return {top ? kLabelTop : kLabelLeft, QString::number(element)};
    const auto picture = PictureId(element - kLabelCount);
    const PictureEntry &names = (spelling == Spelling::Reset && picture == PictureId::ImPodp)
        ? kResetSignatureEntry
        : kPictureEntries[size_t(picture)];
    return {top ? names.topSection : names.leftSection, names.key};
}

void LayoutStore::store(const CertificateLayout &layout, Spelling spelling)
{
    for (int entry = 0; entry < kEntryCount; ++entry) {
        const int element = entry / 2;
        const MmPoint pos = element < kLabelCount ? layout.label(element).pos
                                                  : layout.picture(PictureId(element - kLabelCount)).pos;
        const EntryName name = entryName(entry, spelling);
        write(name.section, name.key, entry % 2 == 0 ? pos.top : pos.left);
    }
    m_settings.sync();
}

LayoutStore::StoredEntries LayoutStore::storedEntries() const
{
    StoredEntries entries;
    for (int entry = 0; entry < kEntryCount; ++entry) {
        const EntryName name = entryName(entry, Spelling::Reset);
        if (m_settings.contains(name.section, name.key))
            entries[size_t(entry)] = m_settings.value(name.section, name.key, QString());
    }
    return entries;
}

void LayoutStore::restoreStoredEntries(const StoredEntries &entries)
{
    // An entry that exists keeps its spelling; one made here is spelled as "Сброс" spells it,
    // since only taking back and doing again a reset puts entries back.
    for (int entry = 0; entry < kEntryCount; ++entry) {
        const EntryName name = entryName(entry, Spelling::Reset);
        if (const std::optional<QString> &value = entries[size_t(entry)])
            m_settings.setValue(name.section, name.key, *value);
        else
            m_settings.remove(name.section, name.key);
    }
    m_settings.sync();
}

void LayoutStore::SaveLayout(CertificateLayout &layout)
{
    store(layout, Spelling::Save);
    layout.state().LayoutChanged = false;
}

bool LayoutStore::ResetLayout(CertificateLayout &layout, CommonDialog &dialog)
{
    const Dialogs::Answer answer = dialog.message({Text::resetQuestion, Text::resetCaption, Dialogs::Icon::Question,
                                                   Dialogs::Buttons::OkCancel, Dialogs::Answer::Cancel});
    if (answer != Dialogs::Answer::Ok)
        return false;
    for (int i = 0; i < kLabelCount; ++i)
        layout.setLabelPosition(i, BuiltInLayout::resetPosition(i));
    for (int p = 0; p < kPictureCount; ++p)
        layout.setPicturePosition(PictureId(p), BuiltInLayout::resetPicturePosition(PictureId(p)));
    store(layout, Spelling::Reset);
    layout.state().LayoutChanged = false;
    return true;
}

void LayoutStore::SaveLayoutOnClose(CertificateLayout &layout, CommonDialog &dialog)
{
    if (!layout.state().LayoutChanged)
        return;
    const Dialogs::Answer answer = dialog.message(
        {Text::closeQuestion, Text::closeCaption, Dialogs::Icon::None, Dialogs::Buttons::YesNo, Dialogs::Answer::Yes});
    if (answer == Dialogs::Answer::Yes)
        store(layout, Spelling::Save);
}

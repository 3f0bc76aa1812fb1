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
const QString resetQuestion =
    QStringLiteral("Вы действительно хотите сбросить настройки положения всех полей?");
const QString closeCaption = QStringLiteral("Trelvax 1.0");
const QString closeQuestion =
    QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?");
} // namespace Text

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

LayoutStore::LayoutStore(SettingsStore &settings)
    : m_settings(settings)
{
}

float LayoutStore::read(const QString &section, const QString &key, float current) const
{
    const QString text = m_settings.value(section, key, QString());
    if (text.isNull())
        return current;
    return RegionalNumber::parse(text).value_or(current);
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
        pos.top = read(kLabelTop, key, pos.top);
        pos.left = read(kLabelLeft, key, pos.left);
        layout.setLabelPosition(i, pos);
    }
    for (int p = 0; p < kPictureCount; ++p) {
        const PictureEntry &entry = kPictureEntries[size_t(p)];
        // A missing entry gives the constant default; an unreadable one leaves the picture.
        const MmPoint missing = BuiltInLayout::missingPicturePosition(PictureId(p));
        MmPoint pos = layout.picture(PictureId(p)).pos;
        const auto one = [&](const QString &section, float fallback, float current) {
            const QString text = m_settings.value(section, entry.key, QString());
            if (text.isNull())
                return fallback;
            return RegionalNumber::parse(text).value_or(current);
        };
        pos.top = one(entry.topSection, missing.top, pos.top);
        pos.left = one(entry.leftSection, missing.left, pos.left);
        layout.setPicturePosition(PictureId(p), pos);
    }
}

void LayoutStore::store(const CertificateLayout &layout, Spelling spelling)
{
    for (int i = 0; i < kLabelCount; ++i) {
        const QString key = QString::number(i);
        write(kLabelTop, key, layout.label(i).pos.top);
        write(kLabelLeft, key, layout.label(i).pos.left);
    }
    for (int p = 0; p < kPictureCount; ++p) {
        const PictureEntry &entry = (spelling == Spelling::Reset && PictureId(p) == PictureId::ImPodp)
            ? kResetSignatureEntry
            : kPictureEntries[size_t(p)];
        const MmPoint pos = layout.picture(PictureId(p)).pos;
        write(entry.topSection, entry.key, pos.top);
        write(entry.leftSection, entry.key, pos.left);
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
    const Dialogs::Answer answer = dialog.message({Text::resetQuestion, Text::resetCaption, Dialogs::Icon::None,
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
    const Dialogs::Answer answer = dialog.message({Text::closeQuestion, Text::closeCaption, Dialogs::Icon::None,
                                                   Dialogs::Buttons::YesNo, Dialogs::Answer::Yes});
    if (answer == Dialogs::Answer::Yes)
        store(layout, Spelling::Save);
}

#include "GridSettings.h"

#include "JournalGridModel.h"
#include "platform/SettingsStore.h"

namespace {

namespace Key {
const QString gridSection = QStringLiteral("TunGrid");
const QString autoloadSection = QStringLiteral("Autoload");
const QString autofill = QStringLiteral("Ch1");
QString width(int column)
{
    return QStringLiteral("CW(%1)").arg(column);
}
QString alignment(int column)
{
    return QStringLiteral("Calg(%1)").arg(column);
}
} // namespace Key

// A width out of range is no width the operator set: the column gets its default rather than
// a width of nothing or of the whole range.
constexpr IntRange kWidthRange{0, GridSettings::kMaxWidthTwips, IntRange::Outside::UseDefault};
constexpr IntRange kAlignmentRange{0, 9, IntRange::Outside::UseDefault};
constexpr IntRange kCheckRange{0, 1, IntRange::Outside::UseDefault};

} // namespace

GridSettings GridSettings::read(const SettingsStore &settings)
{
    GridSettings s;
    const GridSettings defaults;
    for (int c = 0; c < kColumns; ++c) {
        const auto i = size_t(c);
        s.widthsTwips[i] = settings.intValue(Key::gridSection, Key::width(c), defaults.widthsTwips[i], kWidthRange);
        const int code = settings.intValue(Key::gridSection, Key::alignment(c), defaults.alignments[i],
                                           kAlignmentRange);
        s.alignments[i] = JournalGridModel::isAlignmentCode(code) ? qint16(code) : defaults.alignments[i];
    }
    s.autofill = settings.intValue(Key::autoloadSection, Key::autofill, defaults.autofill ? 1 : 0, kCheckRange) != 0;
    return s;
}

void GridSettings::write(SettingsStore &settings) const
{
    for (int c = 0; c < kColumns; ++c)
        settings.setInt(Key::gridSection, Key::width(c), widthsTwips[size_t(c)]);
    for (int c = 0; c < kColumns; ++c)
        settings.setInt(Key::gridSection, Key::alignment(c), alignments[size_t(c)]);
    settings.setInt(Key::autoloadSection, Key::autofill, autofill ? 1 : 0);
}

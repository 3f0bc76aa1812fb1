// Feeds arbitrary bytes as the settings file and reads back every number the windows use, the
// way they do: the journal window's column widths, alignments and check box, the print
// window's label and picture positions and its number colours. Each must come back inside its
// range, survive the arithmetic that lays out the grid and the page, and be stored back as read.
#include "certificate/CertificateLayout.h"
#include "certificate/ColourCode.h"
#include "certificate/LayoutState.h"
#include "certificate/LayoutStore.h"
#include "journal/GridSettings.h"
#include "journal/JournalGridModel.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QString nextIniPath()
{
    static QTemporaryDir dir;
    static quint64 n = 0;
    // A new name each time: QSettings caches a file by name within the process.
    return dir.filePath(QStringLiteral("s%1.ini").arg(++n));
}

bool operator==(const GridSettings &a, const GridSettings &b)
{
    return a.widthsTwips == b.widthsTwips && a.alignments == b.alignments && a.autofill == b.autofill;
}

// Every position of the page, labels then pictures.
std::vector<MmPoint> positions(const CertificateLayout &layout)
{
    std::vector<MmPoint> all;
    for (int i = 0; i < kLabelCount; ++i)
        all.push_back(layout.label(i).pos);
    for (int p = 0; p < kPictureCount; ++p)
        all.push_back(layout.picture(PictureId(p)).pos);
    return all;
}

// Inside the page's range, and on the way to the screen at 96 dpi no overflow either.
bool onThePage(const std::vector<MmPoint> &all)
{
    for (const MmPoint &p : all) {
        for (const float mm : {p.left, p.top}) {
            if (!std::isfinite(mm) || mm < -300.0f || mm > 600.0f)
                return false;
            const double pixels = double(mm) * 96.0 / 25.4;
            if (pixels < -2000.0 || pixels > 3000.0)
                return false;
        }
    }
    return true;
}

void checkPrintWindowSettings(SettingsStore &store)
{
    LayoutState state;
    CertificateLayout layout(state);
    LayoutStore layoutStore(store);
    layoutStore.LoadLayout(layout);
    const std::vector<MmPoint> read = positions(layout);
    check(onThePage(read));

    for (const QString section : {QStringLiteral("PTS1CRNB1"), QStringLiteral("PTS1CRNB2")}) {
        const qint32 colour = ColourCode::storedNumberColour(store, section, QStringLiteral("1"), 255,
                                                             ColourCode::kBlack);
        check(ColourCode::isNumberColour(colour));
        check(ColourCode::toColor(colour).isValid());
    }

    // Saved and read again: the positions stay on the page, and a second round changes nothing.
    layoutStore.SaveLayout(layout);
    CertificateLayout second(state);
    layoutStore.LoadLayout(second);
    const std::vector<MmPoint> once = positions(second);
    check(onThePage(once));
    for (size_t k = 0; k < read.size(); ++k) {
        check(std::abs(once[k].left - read[k].left) <= 1e-4f * std::max(1.0f, std::abs(read[k].left)));
        check(std::abs(once[k].top - read[k].top) <= 1e-4f * std::max(1.0f, std::abs(read[k].top)));
    }
    layoutStore.SaveLayout(second);
    CertificateLayout third(state);
    layoutStore.LoadLayout(third);
    check(positions(third) == once);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Labels are set up with the page's fonts; positions are written with a decimal comma.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = nextIniPath();
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly));
        check(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }
    {
        SettingsStore store(path);
        const GridSettings read = GridSettings::read(store);
        for (int c = 0; c < GridSettings::kColumns; ++c) {
            const int twips = read.widthsTwips[size_t(c)];
            check(twips >= 0 && twips <= GridSettings::kMaxWidthTwips);
            check(twipsFromPixels(pixelsFromTwips(twips)) - twips <= kTwipsPerPixel);
            check(JournalGridModel::isAlignmentCode(read.alignments[size_t(c)]));
        }
        // Stored back and read again: the same settings.
        read.write(store);
        check(GridSettings::read(store) == read);

        checkPrintWindowSettings(store);
    }
    QFile::remove(path);
    return 0;
}

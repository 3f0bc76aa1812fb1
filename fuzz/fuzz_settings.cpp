// Feeds arbitrary bytes as the settings file and reads back every number the journal window
// uses, the way the window does. Each must come back inside its range, survive the arithmetic
// that lays out the grid, and be stored back as read.
#include "journal/GridSettings.h"
#include "journal/JournalGridModel.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>

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

} // namespace

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
        // Whatever numbers the later windows read go through the same ranges.
        const double position = store.realValue(QStringLiteral("PTS1top"), QStringLiteral("Lb1(0)"), 12.5,
                                                RealRange{-1000.0, 1000.0});
        check(std::isfinite(position) && position >= -1000.0 && position <= 1000.0);
        const int colour = store.intValue(QStringLiteral("PTS1CRNB1"), QStringLiteral("Color"), 255,
                                          IntRange{0, 0xFFFFFF});
        check(colour >= 0 && colour <= 0xFFFFFF);

        // Stored back and read again: the same settings.
        read.write(store);
        check(GridSettings::read(store) == read);
    }
    QFile::remove(path);
    return 0;
}

// The label font file "Shrift": WriteFontFile and ReadFontFile of a full table, as the print
// window does them on closing and opening, under Russian regional settings. Replacing a file
// waits for the disk to hold it, and on a loaded machine that wait alone is several times the
// table's own work; so the same bytes replaced and read back are the floor, run in turns with
// the figure, and the figure is also shown in a memory-backed folder, where nothing waits: the
// difference is the disk's, not the table's.

#include "BenchSupport.h"
#include "TestPlatform.h"
#include "certificate/LabelFontTable.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace bench;

// Every entry filled as the font dialog fills it: Cyrillic and Latin faces, fractional sizes.
LabelFontTable fullTable()
{
    LabelFontTable table;
    table.resetColours();
    for (int i = 0; i < LabelFontTable::kLabels; ++i)
        table.setChoice(i,
                        {i % 2 ? QStringLiteral("Шрифт Эпсон %1").arg(i) : QStringLiteral("Liberation Sans"),
                         i % 3 == 0, i % 5 == 0, 6.0 + i * 0.25, QColor(i * 5, 255 - i * 5, 128)});
    return table;
}

double writeAndRead(const LabelFontTable &table, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    require(table.write(path), "WriteFontFile failed");
    LabelFontTable back;
    back.read(path);
    const double ms = msSince(timer);
    require(back.settingsOf(43).face == table.settingsOf(43).face, "the file did not read back");
    return ms;
}

// The same bytes through the same replacing write, and read back whole.
double plainWriteAndRead(const QByteArray &bytes, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    require(writeFileAtomically(path, bytes), "plain write failed");
    QFile in(path);
    require(in.open(QIODevice::ReadOnly) && in.readAll().size() == bytes.size(), "plain read failed");
    return msSince(timer);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TestPlatform test;
    const QString path = test.platform.programFile(QStringLiteral("Shrift"));
    const QString plainPath = test.platform.programFile(QStringLiteral("Shrift.plain"));
    const LabelFontTable table = fullTable();
    require(table.write(path), "WriteFontFile failed");
    QFile written(path);
    require(written.open(QIODevice::ReadOnly), "cannot read the font file");
    const QByteArray bytes = written.readAll();
    written.close();

    const auto [floor, figure] = medianPair([&] { return plainWriteAndRead(bytes, plainPath); },
                                            [&] { return writeAndRead(table, path); });
    std::vector<Row> rows;
    rows.push_back(info(QStringLiteral("floor: the same bytes replaced and read back"), ms(floor)));
    rows.push_back(absolute(QStringLiteral("WriteFontFile + ReadFontFile (220 lines)"), figure, 5));

    // tmpfs, where a replaced file is held once it is written.
    QTemporaryDir memory(QStringLiteral("/dev/shm/bench_fonts-XXXXXX"));
    if (memory.isValid()) {
        const QString memoryPath = memory.filePath(QStringLiteral("Shrift"));
        const double inMemory = medianOf([&] { return writeAndRead(table, memoryPath); });
        rows.push_back(info(QStringLiteral("  in a memory-backed folder"), ms(inMemory)));
    }

    std::printf("\nmedians of %d runs after one unmeasured run\n\n", kRuns);
    print(rows);
    return allPass(rows) ? 0 : 1;
}

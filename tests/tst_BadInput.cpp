// Every bad input the program meets from outside, and what it does with each. Where another
// test already shows the behaviour, the table names it; the rest are tested below.
//
// | Input                                   | Behaviour                                                        | Test |
// |-----------------------------------------|------------------------------------------------------------------|-----------------------------------------------------------|
// | Journal: empty file                     | "ФАЙЛ БАЗЫ ... ПУСТОЙ!", general failure 0, the program ends     |
// tst_JournalFile::emptyJournalEndsProgram                  | | Journal: blank line                     | format
// message naming the line, general failure 0, ends         | tst_JournalFile::badLineEndsProgram (blank line ...) | |
// Journal: short line (< 200 "|")         | format message naming the line, general failure 0, ends         |
// tst_JournalFile::badLineEndsProgram (199 separators)      | | Journal: overlong line (> 32766 chars)  | loads whole,
// every field intact                                  | tst_JournalFile::longLineLoadsIntact                      | |
// Journal: more than 20000 lines          | overflow message, the first 20000 records kept                  |
// tst_JournalFile::overflowKeepsFirst20000Records           | | Journal: invalid Windows-1251 bytes     | 0x98 (no
// character) kept, saved back as the same byte           | tst_JournalFile::everyByteValueSurvivesLoadAndSave        |
// | Journal: a NUL byte                     | kept inside its field, saved back unchanged                      |
// tst_JournalFile::everyByteValueSurvivesLoadAndSave        | | Journal: binary file                    | refused at
// its first line, general failure 0, ends              | tst_JournalFile::badLineEndsProgram (binary file)         | |
// Journal: larger than any journal        | refused before reading, general failure, ends                   |
// tst_JournalFile::oversizedJournalRefused                  | | Journal: lone LF / CR inside a field    | part of the
// field until the line holds 200 "|"                   | tst_JournalFile::loneBreakInsideField                     | |
// Restore: empty, short line, missing     | the load's messages / "файл не найден!", journal unchanged       |
// tst_JournalBackup::restoreRefused                         | | "Autoload": short                       | the values it
// holds; the rest stay empty; no message             | tst_AutofillTemplate::readingAShortFile                   | |
// "Autoload": long (more lines, 1 MB line)| lines after the 44th ignored; a long value kept whole            |
// templateFile (below)                                      | | "Autoload": garbage (binary, NUL, 0x98) | read as bytes
// of the code page, saved back the same              | templateFile (below)                                      | |
// "Shrift": short                         | fields present used, the rest keep their fonts                   |
// tst_LabelFontTable::shortFileKeepsTheRest                 | | "Shrift": garbage values                | each
// unreadable setting skipped, no message                      | tst_LabelFontTable::fieldsAsRead (garbage) | |
// "Shrift": long, binary, absurd sizes    | labels keep drawable sizes (1..1638 pt), the file is kept as read |
// fontFile (below)                                          | | Settings: non-numeric grid values       | the column's
// default                                             | tst_Form1::storedNumbersOutsideTheirRange                 | |
// Settings: non-numeric positions         | the element stays at its design position                         |
// storedPositions (below)                                   | | Settings: huge coordinates, NaN, inf    | the element
// stays at its design position                         | storedPositions (below)                                   | |
// Settings: huge grid widths              | the column's default                                             |
// tst_Form1::storedNumbersOutsideTheirRange                 | | Settings: out-of-range number colours   | the colour's
// default (red 255, black the text colour)            | storedNumberColours (below)                               | |
// Settings: "AutoCopy" out of range        | the number's default (60 days, 10 copies, 500 MB)                |
// tst_AutoCopy::retention (out of range ...)                | | Settings: non-numeric number colour     | the colour
// the run had                                           |
// tst_frmPTS1::anEmptyStoreWritesTheSystemColourForTheBlackNumber | | Pictures: stamp missing                 | "GDI+
// Error" / "File not found", the stamp stays empty           | tst_PNG::failures (missing) | | Pictures: stamp
// truncated               | "GDI+ Error" / "Generic error", nothing loaded                   | tst_PNG::failures
// (truncated)                             | | Pictures: stamp of huge dimensions      | "GDI+ Error" / "Out of memory"
// before decoding                   | tst_PNG::failures (bomb)                                  | | Pictures: stamp not
// a picture           | "GDI+ Error" / "Unknown image format"                            | tst_PNG::failures (text
// file)                             | | Pictures: background missing, truncated,| the built-in blank stays, no message
// | storedPictures (below)                                    | |   huge, not a picture                   | | | |
// Pictures: stored stamp file bad         | one "GDI+ Error" box, the stamp stays empty, the window opens    |
// storedPictures (below)                                    | | Paths: journal unreadable               | general
// failure, the program ends                                | tst_JournalFile::unreadableJournalEndsProgram | | Paths:
// "Autoload", "Shrift" unreadable  | nothing read, no message                                         | unreadableFiles
// (below)                                   | | Paths: read-only folder                 | the save fails (journal:
// "Ошибка сохранения"), old file whole    | filesThatCannotBeWritten (below)                          | | Paths: full
// disk, journal               | "Ошибка сохранения", the old journal whole                       |
// tst_JournalSafety::fullDiskKeepsTheJournal                | | Paths: full disk, "Autoload", "Shrift"  | the save
// fails, the old file whole, nothing left beside it       | filesThatCannotBeWritten (below)                          |
// | Paths: copies' folder full or no folder | told once a run, with the folder and reason; the save goes on    |
// tst_AutoCopy::unwritableCopyIsToldOnceAndTheSaveGoesOn    | | Paths: restore onto a full disk         | "Ошибка
// копирования файла", the old journal whole                | tst_JournalBackup::restoreFailingPartWayKeepsTheJournal |
// | A second instance on the same folder    | a clear message, ends without reading or writing                 |
// tst_InstanceLock::secondCopyOnTheSameFolderEnds           |
#include "CertificateFrame.h"
#include "FileSizeLimit.h"
#include "Files.h"
#include "PngBytes.h"
#include "SmallDisk.h"

#include "certificate/BuiltInLayout.h"
#include "certificate/ColourCode.h"
#include "certificate/LabelFontTable.h"
#include "journal/AutofillTemplate.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLocale>
#include <QTest>

#include <array>
#include <cmath>
#include <memory>
#include <unistd.h>

using namespace ColourCode;

namespace {

// A folder whose files can be read but not replaced: a small file system mounted read-only
// where the machine allows it (permissions do not stop the superuser), else a folder without
// write permission.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        QDir().mkpath(path);
        m_disk = std::make_unique<SmallDisk>(path, "4m");
    }
    ~ReadOnlyFolder()
    {
        if (!m_disk->isMounted())
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Once the files are in place.
    bool makeReadOnly()
    {
        if (m_disk->isMounted())
            return m_disk->makeReadOnly();
        if (::geteuid() == 0)
            return false;
        return QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner);
    }

private:
    QString m_path;
    std::unique_ptr<SmallDisk> m_disk;
};

} // namespace

class BadInputTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    frmPTS1 &openPrintWindow() { return openFrame(); }
    QString programFile(const QString &name) const { return m_test->platform.programFile(name); }

private Q_SLOTS:
    void init()
    {
        newCertificate();
        m_state.RedNumberColour = kDefaultRedNumber;
        m_state.BlackNumberColour = kNormalText;
        writeStampAndSignature(solid({40, 40}, Qt::red), solid({60, 20}, Qt::darkBlue));
    }
    void cleanup() { closeCertificate(); }

    // A stored position that cannot be read, or lies far off the page, leaves its element at
    // the design position; the page stays within reach of the window.
    void storedPositions_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<float>("expected"); // NaN: the design position
        const float design = std::nanf("");
        QTest::newRow("huge top") << "PTS1top"
                                  << "0"
                                  << "1e30" << design;
        QTest::newRow("largest int") << "PTS1left"
                                     << "0"
                                     << "2147483647" << design;
        QTest::newRow("beyond single precision") << "PTS1top"
                                                 << "5"
                                                 << "1e39" << design;
        QTest::newRow("a kilometre to the left") << "PTS1left"
                                                 << "12"
                                                 << "-1000000" << design;
        QTest::newRow("infinite") << "PTS1top"
                                  << "20"
                                  << "inf" << design;
        QTest::newRow("not a number (NaN)") << "PTS1left"
                                            << "36"
                                            << "nan" << design;
        QTest::newRow("text") << "PTS1top"
                              << "37"
                              << "слева" << design;
        QTest::newRow("decimal point under Russian settings") << "PTS1left"
                                                              << "38"
                                                              << "12.5" << design;
        QTest::newRow("empty") << "PTS1top"
                               << "2"
                               << "" << design;
        QTest::newRow("far edge kept") << "PTS1left"
                                       << "7"
                                       << "599,5" << 599.5f;
        QTest::newRow("negative kept") << "PTS1top"
                                       << "7"
                                       << "-12,25" << -12.25f;
        QTest::newRow("huge background top") << "PTS1topIm"
                                             << "Im"
                                             << "3,4e38" << design;
        QTest::newRow("stamp far left") << "PTS1leftImpech"
                                        << "Impech"
                                        << "-1e9" << design;
        QTest::newRow("signature not a number") << "PTS1topImpodp"
                                                << "Impodp"
                                                << "nan" << design;
    }
    void storedPositions()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(float, expected);
        m_test->settings->setValue(section, key, stored);
        openPrintWindow();

        const bool top = section.startsWith(QLatin1String("PTS1top"));
        const auto coordinate = [top](MmPoint p) { return top ? p.top : p.left; };
        float actual = 0;
        float design = 0;
        if (key.front().isDigit()) {
            actual = coordinate(layout().label(key.toInt()).pos);
            design = coordinate(BuiltInLayout::designPosition(key.toInt()));
        } else {
            const PictureId picture = key == QLatin1String("Im") ? PictureId::Image1
                : key == QLatin1String("Impech")                 ? PictureId::ImPech
                                                                 : PictureId::ImPodp;
            actual = coordinate(layout().picture(picture).pos);
            design = coordinate(BuiltInLayout::missingPicturePosition(picture));
        }
        QCOMPARE(actual, std::isnan(expected) ? design : expected);

        // Everything the page draws lies within a few page widths of the window.
        const QRectF drawn = m_frame->printWindow()->view().scene()->itemsBoundingRect();
        QVERIFY2(drawn.left() >= -310 && drawn.top() >= -310 && drawn.right() <= 700 && drawn.bottom() <= 700,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(drawn.left())
                                .arg(drawn.top())
                                .arg(drawn.right())
                                .arg(drawn.bottom())));
        // Stored back as it is shown, so the bad value is gone after the next save.
        m_frame.reset();
    }

    // A number colour out of range, or the selection colour, is no colour the labels may
    // take: the colour's default is used, and the labels do not look selected.
    void storedNumberColours_data()
    {
        QTest::addColumn<QString>("red");
        QTest::addColumn<QString>("black");
        QTest::addColumn<qint32>("redShown");
        QTest::addColumn<qint32>("blackShown");
        QTest::newRow("selection colour") << "16711680"
                                          << "16711680" << kDefaultRedNumber << kNormalText;
        QTest::newRow("beyond 24 bits") << "16777216"
                                        << "2147483647" << kDefaultRedNumber << kNormalText;
        // No 32-bit whole number: unreadable, the colour the run had (the defaults here).
        QTest::newRow("beyond 32 bits") << "4294967296"
                                        << "-9223372036854775808" << kDefaultRedNumber << kNormalText;
        QTest::newRow("negative") << "-1"
                                  << "-255" << kDefaultRedNumber << kNormalText;
        QTest::newRow("unknown system colour") << "-2147483000"
                                               << "-2147483648" << kDefaultRedNumber << qint32(0x80000000u);
        QTest::newRow("colours kept") << "40960"
                                      << "-2147483630" << 40960 << kNormalText;
        QTest::newRow("black kept") << "0"
                                    << "16777215" << 0 << 0xFFFFFF;
    }
    void storedNumberColours()
    {
        QFETCH(QString, red);
        QFETCH(QString, black);
        QFETCH(qint32, redShown);
        QFETCH(qint32, blackShown);
        m_test->settings->setValue(QStringLiteral("PTS1CRNB1"), QStringLiteral("1"), red);
        m_test->settings->setValue(QStringLiteral("PTS1CRNB2"), QStringLiteral("1"), black);
        openPrintWindow();
        QCOMPARE(layout().label(36).foreColour, redShown);
        QCOMPARE(layout().label(37).foreColour, redShown);
        QCOMPARE(layout().label(38).foreColour, blackShown);
        QVERIFY(!layout().hasSelection());
        m_frame->close();
        m_frame.reset();
        m_test->settings->sync();
        const auto disk = m_test->reopenSettings();
        QCOMPARE(disk->value("PTS1CRNB1", "1", {}), QString::number(redShown));
        QCOMPARE(disk->value("PTS1CRNB2", "1", {}), QString::number(blackShown));
    }

    // A long or garbled template is read as far as 44 lines go, each byte one character, and
    // saved back to the same bytes.
    void templateFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("a line of 1 MB") << (QByteArray(1 << 20, '\xC0') + "\r\n" + QByteArray("x\r\n").repeated(43))
                                        << QString(1 << 20, QChar(u'А')) << "x";
        QTest::newRow("10000 lines") << QByteArray("v\r\n").repeated(10000) << "v"
                                     << "v";
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QStringLiteral("\u2030PNG") << "";
        QTest::newRow("NUL and 0x98") << QByteArray("a\0b\x98\r\n", 6) << QString::fromUtf16(u"a\0b\u0098", 4) << "";
    }
    void templateFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, first);
        QFETCH(QString, last);
        const QString path = programFile(AutofillTemplate::fileName());
        QVERIFY(writeFile(path, bytes));
        AutofillTemplate autofill;
        ReadAutofillTemplate(autofill, path);
        QCOMPARE(autofill.values[0], first);
        QCOMPARE(autofill.values[43], last);

        QVERIFY(SaveAutofillTemplate(autofill, autofill.values, path));
        AutofillTemplate again;
        ReadAutofillTemplate(again, path);
        QVERIFY(again.values == autofill.values);
        QCOMPARE(readFile(path).count("\r\n"), 44);
    }

    // A font file of any content opens the print window with every label at a size it can
    // draw, and is written back as it was read where nothing changed it.
    void fontFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<float>("size0"); // what label 0 is drawn at
        QByteArray absurd;
        for (const char *size : {"1e30", "nan", "-5", "0", "inf", "100000", "0,001", "3,4e38"})
            absurd += QByteArray("Arial\r\nFalse\r\nFalse\r\n") + size + "\r\n0\r\n";
        QTest::newRow("absurd sizes") << absurd << 9.75f;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 9.75f;
        QTest::newRow("a line of 1 MB") << (QByteArray(1 << 20, 'W') + "\r\nTrue\r\nFalse\r\n12\r\n0\r\n") << 12.0f;
        // Measured once with a negative height: the font engine's metrics overflow at this size.
        QTest::newRow("largest size a label takes")
            << QByteArray("Arial\r\nFalse\r\nFalse\r\n1638\r\n0\r\n") << 1638.0f;
        QTest::newRow("1255 points") << QByteArray("Arial\r\nTrue\r\nFalse\r\n1255\r\n0\r\n") << 1255.0f;
    }
    void fontFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(float, size0);
        const QString path = programFile(QStringLiteral("Shrift"));
        QVERIFY(writeFile(path, bytes));
        openPrintWindow();
        QCOMPARE(layout().label(0).font.size, size0);
        for (int i = 0; i < kLabelCount; ++i) {
            const CertificateLayout::Label &l = layout().label(i);
            QVERIFY2(l.font.size >= 1 && l.font.size <= 1638, qPrintable(QString::number(i)));
            QVERIFY2(std::isfinite(l.width) && l.width >= 0 && l.width < 100000, qPrintable(QString::number(i)));
            QVERIFY2(std::isfinite(l.height) && l.height > 0 && l.height < 100000, qPrintable(QString::number(i)));
        }
        QCOMPARE(m_test->dialogs.messages.size(), 0);
        m_frame.reset();
        // Read again, the file gives the same table: nothing the program could not interpret is lost.
        LabelFontTable first;
        first.read(path);
        QVERIFY(first.write(path));
        const QByteArray written = readFile(path);
        LabelFontTable second;
        second.read(path);
        QVERIFY(second.write(path));
        QCOMPARE(readFile(path), written);
    }

    // Background pictures fail silently and leave the built-in blank; a stamp that fails says
    // so once and stays empty. The window opens either way.
    void storedPictures_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<QString>("message");
        const QByteArray png = PngBytes::encode(solid({8, 8}, Qt::green));
        const QByteArray text("1|||\r\n");
        const QByteArray huge = PngBytes::claiming(png, 60000, 60000);
        QTest::newRow("background missing") << "img1FName" << QByteArray() << "";
        QTest::newRow("background truncated") << "img1FName" << png.left(png.size() / 2) << "";
        QTest::newRow("background of huge dimensions") << "img2FName" << huge << "";
        QTest::newRow("background not a picture") << "img2FName" << text << "";
        QTest::newRow("stamp missing") << "PechFName" << QByteArray() << "File not found";
        QTest::newRow("stamp truncated") << "PechFName" << png.left(png.size() / 2) << "Generic error";
        QTest::newRow("stamp of huge dimensions") << "PechFName" << huge << "Out of memory";
        QTest::newRow("signature not a picture") << "PodpFName" << text << "Unknown image format";
    }
    void storedPictures()
    {
        QFETCH(QString, entry);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = QDir(m_test->folder()).filePath(QStringLiteral("chosen.bin"));
        if (!bytes.isNull())
            QVERIFY(writeFile(path, bytes));
        m_test->settings->setValue(QStringLiteral("Nastr"), entry, path);
        openPrintWindow();
        QCOMPARE(m_test->dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (entry.startsWith(QLatin1String("img"))) {
            const PictureId side = entry == QLatin1String("img1FName") ? PictureId::Image1 : PictureId::Image2;
            QVERIFY(!layout().picture(side).svgResource.isEmpty());
            QVERIFY(layout().picture(side).image.isNull());
        } else {
            QVERIFY(layout()
                        .picture(entry == QLatin1String("PechFName") ? PictureId::ImPech : PictureId::ImPodp)
                        .image.isNull());
        }
        m_frame.reset();
    }

    // "Autoload" and "Shrift" that cannot be read (a folder stands in their place) are skipped
    // without a message: an empty template, the built-in fonts.
    void unreadableFiles()
    {
        QVERIFY(QDir(m_test->folder()).mkdir(AutofillTemplate::fileName()));
        QVERIFY(QDir(m_test->folder()).mkdir(QStringLiteral("Shrift")));
        AutofillTemplate autofill;
        autofill.values[2] = QStringLiteral("kept");
        ReadAutofillTemplate(autofill, programFile(AutofillTemplate::fileName()));
        QCOMPARE(autofill.values[2], QStringLiteral("kept"));
        openPrintWindow();
        QCOMPARE(layout().label(0).font.size, 9.75f);
        m_frame.reset();
        QCOMPARE(m_test->dialogs.messages.size(), 0);
    }

    // A file that cannot be replaced, on a read-only file system or a full disk: the save says
    // it failed (the journal's in the message of the program), the old file stays byte for
    // byte, and nothing is left beside it.
    void filesThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("readOnly");
        for (const char *file : {"Autoload", "Shrift", "Trelvax_1.0"}) {
            QTest::addRow("%s, read-only", file) << file << true;
            QTest::addRow("%s, full disk", file) << file << false;
        }
    }
    void filesThatCannotBeWritten()
    {
        QFETCH(QString, file);
        QFETCH(bool, readOnly);
        const QString folder = QDir(m_test->folder()).filePath(QStringLiteral("files"));
        std::unique_ptr<ReadOnlyFolder> readOnlyFolder;
        if (readOnly)
            readOnlyFolder = std::make_unique<ReadOnlyFolder>(folder);
        else
            QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(file);
        const QByteArray old = journalLine({QStringLiteral("1"), QStringLiteral("старое")});
        QVERIFY(writeFile(path, old));
        if (readOnly && !readOnlyFolder->makeReadOnly())
            QSKIP("No read-only file system can be made here, and permissions do not stop the superuser");

        bool saved = true;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (!readOnly) {
                limit = std::make_unique<FileSizeLimit>(64);
                QVERIFY(limit->isActive());
            }
            if (file == AutofillTemplate::fileName()) {
                std::array<QString, AutofillTemplate::kValueCount> boxes;
                boxes.fill(QStringLiteral("новое значение"));
                AutofillTemplate autofill;
                saved = SaveAutofillTemplate(autofill, boxes, path);
                QCOMPARE(autofill.values[0], boxes[0]);
            } else if (file == QLatin1String("Shrift")) {
                LabelFontTable table;
                table.resetToBuiltIn();
                table.resetColours();
                saved = table.write(path);
            } else {
                Journal journal;
                journal.JournalPath = QDir::toNativeSeparators(path);
                journal.RecordCount = 1;
                journal.table.setField(1, 1, QStringLiteral("1"));
                journal.table.setField(1, 2, QString(200, QChar(u'Н')));
                saved = SaveJournal(journal, m_test->dialogs);
                QCOMPARE(m_test->dialogs.texts(), QStringList{QStringLiteral("Ошибка сохранения")});
            }
        }
        QVERIFY(!saved);
        QCOMPARE(readFile(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{file});
    }
};

QTEST_MAIN(BadInputTest)
#include "tst_BadInput.moc"

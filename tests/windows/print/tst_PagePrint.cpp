#include "CertificateFrame.h"
#include "page/CalibrationPage.h"
#include "page/PageOutput.h"
#include "page/PdfViewerHint.h"
#include "page/PrinterCorrection.h"
#include "windows/print/PagePrint.h"
#include "windows/print/PrinterCalibration.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int kPxPerMm = 10; // pdftoppm at 254 dpi

// The smallest rectangle around the dark pixels of `image` inside `mm`, in millimetres; empty
// when there are none.
QRectF inkMm(const QImage &image, const QRectF &mm)
{
    const QRect area = QRect(QPoint(int(mm.left() * kPxPerMm), int(mm.top() * kPxPerMm)),
                             QPoint(int(mm.right() * kPxPerMm), int(mm.bottom() * kPxPerMm)))
                           .intersected(image.rect());
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
    if (right < 0)
        return {};
    return QRectF(double(left) / kPxPerMm, double(top) / kPxPerMm, double(right - left + 1) / kPxPerMm,
                  double(bottom - top + 1) / kPxPerMm);
}

// The centre of the darkest column and the darkest row inside `mm`: where a crosshair's arms are.
QPointF crosshairMm(const QImage &image, const QRectF &mm)
{
    const QRect area(int(mm.left() * kPxPerMm), int(mm.top() * kPxPerMm), int(mm.width() * kPxPerMm),
                     int(mm.height() * kPxPerMm));
    QList<int> columns(area.width()), rows(area.height());
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (qGray(image.pixel(area.left() + x, area.top() + y)) < 128) {
                ++columns[x];
                ++rows[y];
            }
    // The arm is one to two pixels wide: the mean of the columns (rows) near the darkest.
    const auto centre = [](const QList<int> &counts) {
        const int best = *std::max_element(counts.cbegin(), counts.cend());
        double sum = 0, weight = 0;
        for (int i = 0; i < counts.size(); ++i)
            if (counts[i] > best / 2) {
                sum += (i + 0.5) * counts[i];
                weight += counts[i];
            }
        return sum / weight;
    };
    return QPointF(mm.left() + centre(columns) / kPxPerMm, mm.top() + centre(rows) / kPxPerMm);
}

bool isA4Landscape(QSize pixels)
{
    return qAbs(pixels.width() - 2970) <= 1 && qAbs(pixels.height() - 2100) <= 1;
}

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    return process.readAllStandardOutput();
}

} // namespace

class PagePrintTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    QString path(const QString &name) const { return QDir(m_test->folder()).filePath(name); }
    frmPTS1 &open() { return openFrame(Wait::None); }
    // Only label i shows, at `pos`, with a text that starts with a full-width letter.
    void onlyLabel(int i, MmPoint pos)
    {
        for (int p = 0; p < kPictureCount; ++p)
            layout().setPictureVisible(PictureId(p), false);
        for (int l = 0; l < kLabelCount; ++l)
            layout().setLabelVisible(l, l == i);
        layout().setLabelText(i, QStringLiteral("ШАССИ 12"));
        layout().setLabelPosition(i, pos);
    }
    // The toolbar's "На принтер", answered by a print dialog that chose `printer` and sends
    // the output to a PDF file.
    QString printToPrinter(const QString &printer, const QString &file, bool byMenu = false)
    {
        m_test->dialogs.printers.push_back({printer, path(file)});
        if (byMenu) {
            menuItem("Menu_Printer")->trigger();
            return path(file);
        }
        auto *button = m_frame->findChild<QToolButton *>(QStringLiteral("Toolbar1(ToPrinter)"));
        if (!button)
            qWarning("no printer button");
        else
            QTest::mouseClick(button, Qt::LeftButton);
        return path(file);
    }
    QString exportPdf(const QString &file)
    {
        m_test->dialogs.paths.push_back(path(file));
        menuItem("Menu_Pdf")->trigger();
        return path(file);
    }
    QImage rasterise(const QString &pdf) const
    {
        const QString base = pdf + QStringLiteral(".raster");
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
             base});
        return QImage(base + QStringLiteral(".png"));
    }

private Q_SLOTS:
    void init()
    {
        newCertificate(Numbers::AsTheyAre);
        const QImage stamp = solid({40, 40}, Qt::red);
        writeStampAndSignature(stamp, stamp.copy(0, 0, 60, 20));
    }
    void cleanup()
    {
        m_test->dialogs.answers = {Dialogs::Answer::No};
        closeCertificate();
    }

    void labelLandsAtItsPositionPlusTheCorrection_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<bool>("viaPdf");
        QTest::addColumn<QPointF>("shift");
        QTest::newRow("calibrated printer") << QStringLiteral("Office 1") << false << QPointF(1.5, -0.7);
        QTest::newRow("printer never calibrated") << QStringLiteral("Office 2") << false << QPointF();
        QTest::newRow("PDF export") << QString() << true << QPointF();
    }
    void labelLandsAtItsPositionPlusTheCorrection()
    {
        QFETCH(QString, printer);
        QFETCH(bool, viaPdf);
        QFETCH(QPointF, shift);
        PrinterCorrectionStore::write(*m_test->settings, QStringLiteral("Office 1"), {1.5, -0.7, 1, 1});
        open();
        const MmPoint at{100.25f, 120.5f};
        onlyLabel(12, at);

        // The same page printed on a printer without a correction: the reference for the shift.
        const QImage plain = rasterise(printToPrinter(QStringLiteral("Plain"), QStringLiteral("plain.pdf")));
        const QImage image = rasterise(viaPdf ? exportPdf(QStringLiteral("page.pdf"))
                                              : printToPrinter(printer, QStringLiteral("page.pdf")));
        QVERIFY(m_test->dialogs.messages.isEmpty());
        // A4 landscape, measured on the PDF: 297 × 210 mm at 10 pixels to the millimetre (the
        // PDF holds the sheet in whole points, 842 × 595).
        QVERIFY2(isA4Landscape(plain.size()),
                 qPrintable(QStringLiteral("%1 x %2").arg(plain.width()).arg(plain.height())));
        QVERIFY(isA4Landscape(image.size()));

        const QRectF around(at.left - 5, at.top - 5, 60, 20);
        const QRectF reference = inkMm(plain, around);
        const QRectF ink = inkMm(image, around);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(qAbs(reference.left() - at.left) <= 0.3, qPrintable(QString::number(reference.left())));
        QVERIFY2(qAbs(ink.left() - (at.left + shift.x())) <= 0.3, qPrintable(QString::number(ink.left())));
        // Exactly the correction: the same ink, moved by whole pixels.
        QCOMPARE(qRound((ink.left() - reference.left()) * kPxPerMm), qRound(shift.x() * kPxPerMm));
        QCOMPARE(qRound((ink.top() - reference.top()) * kPxPerMm), qRound(shift.y() * kPxPerMm));
        QCOMPARE(ink.size(), reference.size());
    }

    // What the panel hides stays off the paper, the side panel never prints, and the text is
    // text in the PDF, not a picture of it.
    void hiddenElementsAreAbsent()
    {
        open();
        for (const char *name : {"ChFonVis2", "ChNVis2", "ChPechVis2", "ChPodpVis2"}) {
            auto *box = pts().findChild<QCheckBox *>(QLatin1String(name));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            QVERIFY(!box->isChecked());
        }
        const QString pdf = printToPrinter(QStringLiteral("Office"), QStringLiteral("page.pdf"), true);
        const QImage image = rasterise(pdf);
        QVERIFY(!image.isNull());

        const CertificateLayout::Picture &side2 = layout().picture(PictureId::Image2);
        QVERIFY(
            inkMm(image, QRectF(side2.pos.left, side2.pos.top, side2.sizeMm.width(), side2.sizeMm.height())).isEmpty());
        // The panel's corner, and hidden label 3 below side 1.
        QVERIFY(inkMm(image, QRectF(0, 0, 76, 63)).isEmpty());
        const CertificateLayout::Label &three = layout().label(3);
        QVERIFY(inkMm(image, QRectF(three.pos.left, three.pos.top, three.width, three.height)).isEmpty());
        const CertificateLayout::Picture &side1 = layout().picture(PictureId::Image1);
        QVERIFY(!inkMm(image, QRectF(side1.pos.left, side1.pos.top, side1.sizeMm.width(), side1.sizeMm.height()))
                     .isEmpty());

        const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
        QVERIFY2(text.contains(QStringLiteral("Поле 12")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Поле 20")));
    }

    void pdfAsksTheViewerNotToScale()
    {
        open();
        QCOMPARE(menuItem("Menu_Printer")->text(), QStringLiteral("Печать на принтер…"));
        QCOMPARE(menuItem("Menu_Pdf")->text(), QStringLiteral("Сохранить в PDF…"));
        QCOMPARE(menuItem("Menu_Calibration")->text(), QStringLiteral("Калибровка принтера…"));
        QCOMPARE(m_frame->findChild<QAction *>(QStringLiteral("ToPrinter"))->text(), QStringLiteral("На принтер"));
        const QString pdf = exportPdf(QStringLiteral("page.pdf"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("/ViewerPreferences << /PrintScaling /None >>"));
        // Still a sound document: poppler follows the update to the new catalogue.
        const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf}));
        QVERIFY2(info.contains(QStringLiteral("Page size:       842 x 595 pts (A4)")), qPrintable(info));
        QVERIFY(!info.contains(QStringLiteral("Syntax Error")));
        QVERIFY(m_test->dialogs.messages.isEmpty());
        QCOMPARE(m_test->dialogs.fileRequests.last().defaultPattern, QStringLiteral("*.pdf"));
    }

    // The hint is added only where the file is laid out as Qt writes it; any other file is
    // left byte for byte as it was, still a whole document.
    void theHintLeavesAnUnexpectedFileAlone_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("cut short") << QByteArray("startxref") << QByteArray("startxre");
        QTest::newRow("preferences already there")
            << QByteArray("/Type /Catalog") << QByteArray("/Type /Catalog /ViewerPreferences << >>");
        QTest::newRow("encrypted") << QByteArray("trailer\n<<") << QByteArray("trailer\n<< /Encrypt 9 0 R");
    }
    void theHintLeavesAnUnexpectedFileAlone()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        open();
        QByteArray pdf = PageOutput::pdfBytes(pts().scene());
        QVERIFY(pdf.contains("/PrintScaling /None"));
        // Without the update Qt's own file is what remains.
        pdf.truncate(pdf.lastIndexOf("%%EOF", pdf.lastIndexOf("%%EOF") - 1) + 6);
        QVERIFY(!pdf.contains("/PrintScaling"));
        QByteArray original = pdf;
        QVERIFY(PdfViewerHint::addNoPrintScaling(pdf));
        QVERIFY(!PdfViewerHint::addNoPrintScaling(pdf)); // once only
        QVERIFY(original.contains(from));
        original.replace(original.lastIndexOf(from), from.size(), to);
        QByteArray changed = original;
        QVERIFY(!PdfViewerHint::addNoPrintScaling(changed));
        QCOMPARE(changed, original);
    }

    void cutLabelsAreFound_data()
    {
        QTest::addColumn<MmPoint>("at");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<bool>("cut");
        QTest::newRow("inside") << MmPoint{100, 100} << 5.0 << QPointF() << false;
        QTest::newRow("in the printer's left margin") << MmPoint{3, 100} << 5.0 << QPointF() << true;
        QTest::newRow("moved into the margin by the correction") << MmPoint{6, 100} << 5.0 << QPointF(-1.5, 0) << true;
        QTest::newRow("past the sheet's right edge") << MmPoint{285, 100} << 0.0 << QPointF() << true;
        QTest::newRow("above the sheet") << MmPoint{100, -1} << 0.0 << QPointF() << true;
        QTest::newRow("empty space beyond the text") << MmPoint{265, 100} << 5.0 << QPointF() << false;
    }
    void cutLabelsAreFound()
    {
        QFETCH(MmPoint, at);
        QFETCH(double, margin);
        QFETCH(QPointF, offset);
        QFETCH(bool, cut);
        open();
        onlyLabel(12, at);
        layout().autoSizeLabel(12, 20); // a wide label: only its text counts
        const QRectF printable = QRectF(0, 0, 297, 210).adjusted(margin, margin, -margin, -margin);
        const QList<int> found = PageOutput::labelsOutside(layout(), printable, {offset.x(), offset.y(), 1, 1});
        QCOMPARE(found, cut ? QList<int>{12} : QList<int>{});
    }

    // Before a sheet is spoilt: the warning, and Cancel prints nothing.
    void aCutLabelIsWarnedOfBeforePrinting()
    {
        open();
        onlyLabel(12, {290, 100});
        m_test->dialogs.answers = {Dialogs::Answer::Cancel};
        const QString pdf = printToPrinter(QStringLiteral("Office"), QStringLiteral("page.pdf"));
        QCOMPARE(m_test->dialogs.messages.size(), 1);
        QVERIFY(m_test->dialogs.messages[0].text.startsWith(QStringLiteral("Поле № 12 выходит за область")));
        QCOMPARE(m_test->dialogs.messages[0].buttons, Dialogs::Buttons::OkCancel);
        QVERIFY(!QFile::exists(pdf));

        m_test->dialogs.answers = {Dialogs::Answer::Ok};
        QVERIFY(QFile::exists(printToPrinter(QStringLiteral("Office"), QStringLiteral("page.pdf"))));
        // The dialog opened on A4 landscape.
        QCOMPARE(m_test->dialogs.printerRequests.last(), qMakePair(QSizeF(297, 210), true));
    }

    void calibrationMarksSitWhereTheDialogSays()
    {
        QLocale::setDefault(QLocale::c());
        open();
        menuItem("Menu_Calibration")->trigger();
        auto *dialog = pts().findChild<PrinterCalibration *>(QStringLiteral("PrinterCalibration"));
        QVERIFY(dialog && dialog->isVisible());
        const QString stated = dialog->findChild<QLabel *>(QStringLiteral("lblMarks"))->text();

        m_test->dialogs.printers.push_back({QStringLiteral("Office"), path(QStringLiteral("calibration.pdf"))});
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdPrintPage")), Qt::LeftButton);
        QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("cboPrinter"))->currentText(), QStringLiteral("Office"));
        const QImage page = rasterise(path(QStringLiteral("calibration.pdf")));
        QVERIFY(isA4Landscape(page.size()));
        for (const CalibrationPage::Mark &mark : CalibrationPage::marks()) {
            QVERIFY2(stated.contains(CalibrationPage::describe(mark)), qPrintable(stated));
            const QPointF found = crosshairMm(page, QRectF(mark.mm - QPointF(6, 6), QSizeF(12, 12)));
            QVERIFY2(QLineF(found, mark.mm).length() <= 0.15,
                     qPrintable(QStringLiteral("%1: %2, %3").arg(mark.name).arg(found.x()).arg(found.y())));
        }

        // Crosshair A landed 1.5 mm left and 0.7 mm low: prints move 1.5 mm right and 0.7 mm up.
        const auto type = [&](const char *name, const QString &text) {
            auto *box = dialog->findChild<QDoubleSpinBox *>(QLatin1String(name));
            box->selectAll();
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Tab);
        };
        type("txtShiftX", QStringLiteral("-1.5"));
        type("txtShiftY", QStringLiteral("0.7"));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOk")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        const PrinterCorrection stored = PrinterCorrectionStore::read(*m_test->reopenSettings(),
                                                                      QStringLiteral("Office"));
        QCOMPARE(stored, (PrinterCorrection{1.5, -0.7, 1, 1}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A printer that stretches: measured A–B 251 mm instead of 250, and A 1 mm right. The
    // stored correction puts every crosshair back in its place.
    void theScaleCorrectionUndoesAStretch()
    {
        PrinterCalibration dialog(*m_test->settings, m_test->dialogs);
        dialog.findChild<QComboBox *>(QStringLiteral("cboPrinter"))->addItem(QStringLiteral("Wide"));
        dialog.findChild<QComboBox *>(QStringLiteral("cboPrinter"))->setCurrentText(QStringLiteral("Wide"));
        dialog.findChild<QCheckBox *>(QStringLiteral("chkScale"))->setChecked(true);
        dialog.findChild<QDoubleSpinBox *>(QStringLiteral("txtSpanX"))->setValue(251);
        dialog.findChild<QDoubleSpinBox *>(QStringLiteral("txtShiftX"))->setValue(1);
        const PrinterCorrection c = dialog.correction();
        const double s = 251.0 / 250.0;
        const double d = 1 - (s - 1) * 20; // the printer: x lands at d + s·x
        for (const CalibrationPage::Mark &mark : CalibrationPage::marks())
            QVERIFY(qAbs(d + s * c.apply(mark.mm).x() - mark.mm.x()) < 1e-9);
        dialog.accept();
        QVERIFY(qAbs(PrinterCorrectionStore::read(*m_test->settings, QStringLiteral("Wide")).scaleX - 1 / s) < 1e-6);

        // A stored value beyond any printer's error is a slip: it is clamped.
        m_test->settings->setValue(QStringLiteral("PrinterCalibration"), QStringLiteral("Wide.OffsetX"),
                                   QStringLiteral("99"));
        QCOMPARE(PrinterCorrectionStore::read(*m_test->settings, QStringLiteral("Wide")).offsetXMm, kMaxOffsetMm);
    }
};

QTEST_MAIN(PagePrintTest)
#include "tst_PagePrint.moc"

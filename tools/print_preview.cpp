// Opens the certificate frame over a filled-in record, for a person to look at: run it under a
// virtual display and take a screenshot, or pass a file name to have the frame saved as PNG, or,
// for a name ending in ".bmp", the page saved as "Печать" saves it (further arguments: pictures
// to put into the program folder, such as pechat.png; one named blank1.* or blank2.* becomes
// that side's background file).
// TRELVAX_PREVIEW_CALIBRATION=1 opens the printer calibration dialog over it;
// TRELVAX_PREVIEW_PDF=file exports the page as PDF into that file and ends.
// Uses the test platform (temporary settings and program folder with the sample pictures).

#include "FakeEditorBoxes.h"
#include "TestPlatform.h"
#include "certificate/LayoutState.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/PagePrint.h"
#include "windows/print/frmPTS1.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestPlatform test;
    // The sample stamp and signature of the build, or the pictures named after the output file.
    QStringList pictures = QStringLiteral(TRELVAX_PREVIEW_PICTURES).split(u'|', Qt::SkipEmptyParts);
    for (int i = 2; i < argc; ++i)
        pictures << QString::fromLocal8Bit(argv[i]);
    for (const QString &picture : pictures) {
        const QString name = picture.section(u'/', -1);
        QFile::copy(picture, test.platform.programFile(name));
        for (const char *side : {"1", "2"}) {
            if (name.startsWith(QStringLiteral("blank") + QLatin1String(side) + QLatin1Char('.')))
                test.settings->setValue(QStringLiteral("Nastr"), QStringLiteral("img%1FName").arg(QLatin1String(side)),
                                        test.platform.programFile(name));
        }
    }

    FakeEditorBoxes editor;
    const char16_t *const texts[EditorBoxes::kBoxCount] = {
        u"А123ВС77", u"XTA210930Y1234567", u"ЛАДА 210930", u"LADA 210930", u"ЛЕГКОВОЙ", u"B", u"2008",
        u"21126", u"8123456", u"ОТСУТСТВУЕТ", u"XTA210930Y1234567", u"СЕРЕБРИСТЫЙ", u"72/98", u"1596",
        u"63 МР", u"123456", u"1585", u"1110", u"ИВАНОВ", u"IVANOV", u"ПЕТР", u"PETR", u"СЕРГЕЕВИЧ",
        u"МОСКОВСКАЯ", u"", u"ОДИНЦОВСКИЙ", u"ОДИНЦОВО", u"СОВЕТСКАЯ", u"12", u"2", u"45", u"", u"",
        u"", u"МОТОТРЭР ГИБДД", u"12.03.2025", u"77 УК 123456", u"77 УК 123456", u"", u"ГУ МВД", u"", u"", u"", u""};
    for (int i = 0; i < EditorBoxes::kBoxCount; ++i)
        editor.texts[size_t(i)] = QString::fromUtf16(texts[i]);

    LayoutState state;
    MDIForm1 *frame = MDIForm1::open(test.platform, state, editor);
    // TRELVAX_PREVIEW_CALIBRATION=1: the printer calibration dialog over the frame.
    if (qEnvironmentVariableIntValue("TRELVAX_PREVIEW_CALIBRATION"))
        QTimer::singleShot(300, frame, [frame] { frame->printWindow()->pagePrint().CalibratePrinter(); });
    // TRELVAX_PREVIEW_PDF=file: the page exported as PDF into that file, then the end.
    const QString pdf = qEnvironmentVariable("TRELVAX_PREVIEW_PDF");
    if (!pdf.isEmpty()) {
        QTimer::singleShot(300, frame, [&] {
            test.dialogs.paths.push_back(pdf);
            frame->printWindow()->pagePrint().SavePdf();
            app.quit();
        });
    }
    if (argc > 1) {
        QTimer::singleShot(500, [&] {
            const QString output = QString::fromLocal8Bit(argv[1]);
            if (output.endsWith(QStringLiteral(".bmp"))) {
                test.dialogs.paths = {output};
                test.dialogs.answers = {Dialogs::Answer::No};
                frame->printWindow()->SavePagePicture();
            } else {
                frame->grab().save(output);
            }
            app.quit();
        });
    }
    const int code = app.exec();
    // What would have been shown in message boxes.
    for (const QString &text : test.dialogs.texts())
        qInfo("message: %s", qPrintable(text));
    return code;
}

#include "platform/desktop/FontChoiceDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class FontChoiceDialogTest : public QObject
{
    Q_OBJECT

    static QComboBox *box(QDialog &dialog, const char *name)
    {
        return dialog.findChild<QComboBox *>(QString::fromLatin1(name));
    }
    static void typeSize(QDialog &dialog, const QString &text)
    {
        QLineEdit *edit = box(dialog, "size")->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void showsThePreset()
    {
        FontChoiceDialog dialog({QStringLiteral("DejaVu Sans"), true, false, 9.75, QColor(0x80, 0, 0)}, 6, 30);
        QCOMPARE(box(dialog, "face")->currentText(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(box(dialog, "style")->currentText(), QStringLiteral("Жирный"));
        QCOMPARE(box(dialog, "size")->currentText(), QStringLiteral("9,75"));
        QCOMPARE(box(dialog, "colour")->currentText(), QStringLiteral("Бордовый"));
        const Dialogs::FontChoice c = dialog.choice();
        QCOMPARE(c.size, 9.75);
        QVERIFY(c.bold && !c.italic);
    }

    // Only sizes of the range are offered, and a size typed outside it cannot be confirmed.
    void sizesStayInTheRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("inside") << QStringLiteral("12") << true;
        QTest::newRow("lowest") << QStringLiteral("6") << true;
        QTest::newRow("fraction") << QStringLiteral("10,5") << true;
        QTest::newRow("40") << QStringLiteral("40") << false;
        QTest::newRow("5") << QStringLiteral("5") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void sizesStayInTheRange()
    {
        QFETCH(QString, typed);
        QFETCH(bool, acceptable);
        FontChoiceDialog dialog({QStringLiteral("DejaVu Sans"), false, false, 10, Qt::black}, 6, 30);
        QComboBox *size = box(dialog, "size");
        for (int i = 0; i < size->count(); ++i) {
            const int offered = size->itemText(i).toInt();
            QVERIFY(offered >= 6 && offered <= 30);
        }
        typeSize(dialog, typed);
        QCOMPARE(dialog.isAcceptable(), acceptable);
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("ok"))->isEnabled(), acceptable);
    }

    void handsBackFaceStyleSizeAndColour()
    {
        FontChoiceDialog dialog({QStringLiteral("DejaVu Sans"), false, false, 10, Qt::black}, 6, 30);
        box(dialog, "style")->setCurrentIndex(box(dialog, "style")->findText(QStringLiteral("Жирный курсив")));
        box(dialog, "colour")->setCurrentIndex(box(dialog, "colour")->findText(QStringLiteral("Красный")));
        typeSize(dialog, QStringLiteral("14"));
        // The effects are offered and handed back with the rest.
        dialog.show();
        QCheckBox *underline = dialog.findChild<QCheckBox *>(QStringLiteral("underline"));
        QTest::mouseClick(underline, Qt::LeftButton, {}, QPoint(6, underline->height() / 2));
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
        QCOMPARE(accepted.size(), 1);
        const Dialogs::FontChoice c = dialog.choice();
        QCOMPARE(c.face, QStringLiteral("DejaVu Sans"));
        QVERIFY(c.bold && c.italic);
        QCOMPARE(c.size, 14.0);
        QCOMPARE(c.colour, QColor(Qt::red));
        QVERIFY(c.underline && !c.strikeout);
    }
};

QTEST_MAIN(FontChoiceDialogTest)
#include "tst_FontChoiceDialog.moc"

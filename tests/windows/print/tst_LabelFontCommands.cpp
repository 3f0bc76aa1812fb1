#include "CertificateFrame.h"
#include "Files.h"
#include "LabelWidth.h"
#include "certificate/PageText.h"

#include <QAction>
#include <QFile>
#include <QGraphicsView>
#include <QLocale>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(LabelFontSpec)
Q_DECLARE_METATYPE(Dialogs::Answer)

// The font commands as the operator gives them: the print window's "Поле" > "Шрифт" and the
// frame's "Шрифт" and "Вернуть шрифт", answered by scripted dialogs.
class LabelFontCommandsTest : public QObject, CertificateFrameFixture
{
    Q_OBJECT

    void open()
    {
        openFrame();
        m_test->dialogs.messages.clear();
        m_test->dialogs.owners.clear();
    }
    void clickFrameButton(const char *name) const
    {
        QTest::mouseClick(m_frame->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
    }
    void triggerMenuFont() const { menuItem("Menu_Fild_Font")->trigger(); }
    // Sized to its text in its font, and 4 mm wider, by a measure of the test's own.
    bool sizedAfterAFontChange(int i) const
    {
        const CertificateLayout::Label &l = layout().label(i);
        QString why;
        if (LabelWidth::sizedToItsText(l.font, l.text, l.width, &why))
            return true;
        qWarning("label %d: %s", i, qPrintable(why));
        return false;
    }
    QByteArray fontFile() const { return readFile(m_test->platform.programFile(QStringLiteral("Shrift"))); }
    static LabelFontSpec font(const char *face, float size, bool bold = false, bool italic = false)
    {
        return {QString::fromLatin1(face), size, bold, italic};
    }

private Q_SLOTS:
    void init()
    {
        newCertificate();
        m_editor.texts[12] = QStringLiteral("КОНСТАНТИНОПОЛЬСКИЙ");
    }
    void cleanup() { closeCertificate(); }

    // Cancel leaves the dialog with the lowest-numbered label's font: label 7 takes the font of
    // the hidden label 3. Every label takes its entry again (12 the one set meanwhile) and is
    // re-sized; the selection stays, and the file is written only when the window closes.
    void menuFontCancelledGivesTheLowestLabelsFont()
    {
        open();
        pts().SelectLabel(3, {}); // hidden: no click reaches it
        clickLabel(7, Qt::ControlModifier);
        m_state.LabelFonts.setFont(12, QStringLiteral("DejaVu Sans"), true, false, 11);
        triggerMenuFont();

        QCOMPARE(m_test->dialogs.owners, QStringList{QStringLiteral("frmPTS1")});
        QCOMPARE(layout().label(7).font, font("Epson1", 9.75f));
        QCOMPARE(layout().label(12).font, font("DejaVu Sans", 11, true));
        for (int i = 0; i < kLabelCount; ++i)
            QVERIFY2(sizedAfterAFontChange(i), qPrintable(QString::number(i)));
        QCOMPARE(selected(), (QList<int>{3, 7}));
        QVERIFY(m_test->dialogs.messages.isEmpty());
        QVERIFY(fontFile().isEmpty());

        m_frame->close();
        // Entries 3 and 7 as the dialog left them, in the window's colour (black before any);
        // the entries no command filled are empty lines and the system colour.
        QByteArray expected;
        for (int i = 0; i < kLabelCount; ++i) {
            if (i == 3 || i == 7)
                expected += "Epson1\r\nFalse\r\nFalse\r\n9,75\r\n0\r\n";
            else if (i == 12)
                expected += "DejaVu Sans\r\nTrue\r\nFalse\r\n11\r\n-2147483630\r\n";
            else
                expected += "\r\n\r\n\r\n\r\n-2147483630\r\n";
        }
        QCOMPARE(fontFile(), expected);
    }

    // "Вернуть шрифт" asks first; OK gives every label the design fonts of the form, Cancel
    // changes nothing.
    void resetFonts_data()
    {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QList<LabelFontSpec>>("fonts"); // labels 0, 31..34, 36..38
        QTest::newRow("OK") << Dialogs::Answer::Ok
                            << QList<LabelFontSpec>{font("Epson1", 10),
                                                    font("Epson1", 6),
                                                    font("Epson1", 6),
                                                    font("Epson1", 6),
                                                    font("Epson1", 8),
                                                    font("PTS_Number_1", 13, true),
                                                    font("PTS_Number_1", 13, true),
                                                    font("Arial", 12, true)};
        QTest::newRow("Cancel") << Dialogs::Answer::Cancel
                                << QList<LabelFontSpec>{font("Epson1", 9.75f),
                                                        font("Epson1", 6),
                                                        font("Epson1", 6),
                                                        font("Epson1", 6),
                                                        font("Epson1", 8.25f),
                                                        font("PTS_Number_1", 12.75f, true),
                                                        font("PTS_Number_1", 12.75f, true),
                                                        font("Arial", 12, true)};
    }
    void resetFonts()
    {
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QList<LabelFontSpec>, fonts);
        open();
        clickLabel(5);
        m_editor.texts[9] = QStringLiteral("длиннее, чем было");
        pts().layout().setLabelText(9, m_editor.texts[9]); // sized without the 4 mm
        const float widthBefore = layout().label(9).width;
        m_test->dialogs.answers.push_back(answer);
        clickFrameButton("SHR3");

        QCOMPARE(m_test->dialogs.messages.size(), 1);
        const Dialogs::Message &question = m_test->dialogs.messages.first();
        QCOMPARE(question.caption, QStringLiteral("Подтвердите действие"));
        QCOMPARE(question.text, QStringLiteral("Вы действительно хотите сбросить шрифт для всех полей?"));
        QCOMPARE(question.icon, Dialogs::Icon::Question);
        QCOMPARE(question.buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(question.defaultButton, Dialogs::Answer::Cancel);
        QCOMPARE(m_test->dialogs.owners, QStringList{QStringLiteral("MDIForm1")});

        const QList<int> labels{0, 31, 32, 33, 34, 36, 37, 38};
        for (qsizetype k = 0; k < labels.size(); ++k)
            QCOMPARE(layout().label(labels[k]).font, fonts[k]);
        if (answer == Dialogs::Answer::Ok) {
            for (int i = 0; i < kLabelCount; ++i)
                QVERIFY2(sizedAfterAFontChange(i), qPrintable(QString::number(i)));
        } else {
            QCOMPARE(layout().label(9).width, widthBefore);
        }
        QCOMPARE(selected(), QList<int>{5});
    }

    // The frame's "Шрифт" works on the selected labels alone; a face a label does not take is
    // reported once for each such label. "Epson1" drawn as its stand-in counts as taken.
    void frameFontTouchesOnlyTheSelected_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("shown"); // what labels 5 and 20 show afterwards
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("installed") << QStringLiteral("DejaVu Sans") << QStringLiteral("DejaVu Sans") << QStringList{};
        QTest::newRow("by its stand-in") << QStringLiteral("Epson1") << QStringLiteral("Epson1") << QStringList{};
        const auto refused = [](int label) {
            return QStringLiteral("Ошибка выбора шрифта в поле № %1 шрифт [No Such Face 42] не поддерживается "
                                  "сейчас в поле шрифт [Epson1]")
                .arg(label);
        };
        QTest::newRow("not installed") << QStringLiteral("No Such Face 42") << QStringLiteral("Epson1")
                                       << QStringList{refused(5), refused(20)};
    }
    void frameFontTouchesOnlyTheSelected()
    {
        QFETCH(QString, face);
        QFETCH(QString, shown);
        QFETCH(QStringList, boxes);
        open();
        clickLabel(20);
        clickLabel(5, Qt::ControlModifier);
        m_state.LabelFonts.setFont(12, QStringLiteral("DejaVu Sans"), true, false, 11);
        const CertificateLayout::Label before12 = layout().label(12);
        m_test->dialogs.fonts.push_back({face, false, true, 14, Qt::darkGreen});
        clickFrameButton("SHR1");

        QCOMPARE(m_test->dialogs.texts(), boxes);
        for (const Dialogs::Message &box : m_test->dialogs.messages) {
            QCOMPARE(box.caption, QStringLiteral("Trelvax"));
            QCOMPARE(box.icon, Dialogs::Icon::None);
            QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        }
        QVERIFY(m_test->dialogs.owners.count(QStringLiteral("MDIForm1")) == m_test->dialogs.owners.size());
        for (const int i : {5, 20}) {
            QCOMPARE(layout().label(i).font, (LabelFontSpec{shown, 14, false, true}));
            QVERIFY(sizedAfterAFontChange(i));
        }
        QCOMPARE(layout().label(12).font, before12.font);
        QCOMPARE(layout().label(12).width, before12.width);
        QCOMPARE(selected(), (QList<int>{5, 20}));
    }

    // With nothing selected both "Шрифт" commands only warn, with the exact five lines.
    void noSelectionOnlyWarns_data()
    {
        QTest::addColumn<bool>("fromFrame");
        QTest::newRow("menu") << false;
        QTest::newRow("frame") << true;
    }
    void noSelectionOnlyWarns()
    {
        QFETCH(bool, fromFrame);
        open();
        m_test->dialogs.fonts.push_back({QStringLiteral("DejaVu Sans"), true, true, 20, Qt::red});
        if (fromFrame)
            clickFrameButton("SHR1");
        else
            triggerMenuFont();
        const QString text = QStringLiteral("Не выбрано ни одного текстового поля! Для выбора поля кликните по "
                                            "нему мышкой.\r\n\r\n                         Для выбора нескольких "
                                            "полей используйте Ctrl. \r\n\r\n                   Для выбора всех "
                                            "полей нажмите кнопку Выбрать все.");
        QCOMPARE(m_test->dialogs.texts(), QStringList{text});
        QCOMPARE(m_test->dialogs.messages.first().caption, QStringLiteral("В каком поле менять шрифт ?"));
        QCOMPARE(m_test->dialogs.messages.first().icon, Dialogs::Icon::Exclamation);
        QCOMPARE(m_test->dialogs.owners,
                 QStringList{fromFrame ? QStringLiteral("MDIForm1") : QStringLiteral("frmPTS1")});
        QCOMPARE(m_test->dialogs.fonts.size(), size_t(1)); // never asked
        QCOMPARE(layout().label(0).font, font("Epson1", 9.75f));
    }

    // A file cut short, with a size written with a point under Russian settings: each label
    // takes what its lines give, and keeps its own font for every setting they do not.
    void aShortFileWithADecimalPoint()
    {
        QFile file(m_test->platform.programFile(QStringLiteral("Shrift")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Liberation Sans\r\nTrue\r\nfalse\r\n12.5\r\n0\r\nDejaVu Sans\r\nTRUE\r\n");
        file.close();
        open();
        QCOMPARE(layout().label(0).font, font("Liberation Sans", 9.75f, true));
        QCOMPARE(layout().label(1).font, font("DejaVu Sans", 9.75f, true));
        QCOMPARE(layout().label(2).font, font("Epson1", 9.75f));
        QVERIFY(sizedAfterAFontChange(0));
    }
};

QTEST_MAIN(LabelFontCommandsTest)
#include "tst_LabelFontCommands.moc"

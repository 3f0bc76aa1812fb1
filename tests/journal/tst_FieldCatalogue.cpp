#include "TestPlatform.h"
#include "journal/FieldCatalogue.h"
#include "journal/Journal.h"
#include "platform/Cp1251.h"
#include "windows/editor/frm.h"
#include "windows/journal/Form1.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace FieldCatalogue;

class FieldCatalogueTest : public QObject
{
    Q_OBJECT

    static QString boxValue(int box) { return QStringLiteral("б%1x").arg(box); }

    // New in the journal window, a text of its own in every box of the editor, the editor
    // closed: the new record's line as the journal file holds it, split at its separators.
    QStringList recordWrittenByTheEditor(const std::function<void(frm &)> &look = {})
    {
        TestPlatform test;
        test.writeJournal(journalLine({QStringLiteral("1")}));
        Journal journal;
        Form1 window(test.platform, journal);
        window.show();
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("Cmd1")), Qt::LeftButton);
        frm *editor = window.editor();
        if (!editor)
            return {};
        if (look)
            look(*editor);
        for (int i = 0; i < kBoxCount; ++i)
            editor->setBoxText(i, boxValue(i));
        editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QList<QByteArray> lines = test.readJournal().split('\n');
        if (lines.size() != 3)
            return {};
        QByteArray line = lines[1];
        line.chop(1); // CR
        QStringList columns;
        for (const QByteArray &column : line.split('|'))
            columns << Cp1251::decode(column);
        return columns;
    }

private Q_SLOTS:
    // The order the journal file really has: a record written by the editor and read back by
    // column. Field f is column f - 1 of its line (field 1, the ID, is the first), and the
    // text of box i is field i + 2, as the catalogue says for every box.
    void theEditorWritesEachBoxIntoItsField()
    {
        const QStringList columns = recordWrittenByTheEditor();
        QCOMPARE(columns.size(), 201); // 200 fields, each followed by "|"
        QCOMPARE(columns.value(0), QStringLiteral("2"));
        for (int i = 0; i < kBoxCount; ++i)
            QCOMPARE(columns.value(i + 1), boxValue(i));
        QCOMPARE(int(fields().size()), kBoxCount);
        for (const DocumentField &f : fields()) {
            QCOMPARE(columns.value(f.field - 1), boxValue(f.box));
            QCOMPARE(boxFromField(f.field), f.box);
            QCOMPARE(fieldFromBox(f.box), f.field);
        }
        for (int f = kLastDocumentField + 1; f <= 200; ++f)
            QVERIFY(columns.value(f - 1).isEmpty());
    }

    // The editor's captions, spaces and all, name the boxes whose fields the journal's columns
    // hold: the caption the operator reads beside a box is the caption of the field its text
    // goes into.
    void captionsNameTheFieldsTheirBoxesWrite_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("field");
        QTest::newRow("make and model") << QStringLiteral("Марка  модель") << int(MakeModel);
        QTest::newRow("surname") << QStringLiteral("Фамилия  ") << 20;
        QTest::newRow("first name") << QStringLiteral("Имя ") << 22;
        QTest::newRow("power") << QStringLiteral("Мощность двиг., кВт/л. с.") << 14;
        QTest::newRow("certificate number") << QStringLiteral("№ свидетельства  о регистрации") << 38;
        QTest::newRow("colour") << QStringLiteral("Цвет") << int(Colour);
        QTest::newRow("issue date") << QStringLiteral("Дата") << int(IssueDate);
    }
    void captionsNameTheFieldsTheirBoxesWrite()
    {
        QFETCH(QString, caption);
        QFETCH(int, field);
        int box = -1;
        const QStringList columns = recordWrittenByTheEditor([&](frm &editor) {
            for (QLabel *label : editor.findChildren<QLabel *>()) {
                if (label->text() == caption && label->buddy())
                    box = label->buddy()->objectName().section(QLatin1Char('('), 1).chopped(1).toInt();
            }
        });
        QVERIFY2(box >= 0, qPrintable(caption));
        QCOMPARE(columns.value(field - 1), boxValue(box));
        QCOMPARE(FieldCatalogue::caption(boxFromField(field)), caption);
    }

    void upperCaseBoxes()
    {
        // One box each for the first 28; the house row shares one; the rest shift by two.
        for (int i = 0; i < kBoxCount; ++i) {
            const int expected = i <= 27 ? i : i <= 30 ? 28 : i <= 39 ? i - 2 : kNoBox;
            QCOMPARE(upperCaseBoxFor(i), expected);
        }
        QCOMPARE(upperCaseBoxFor(44), kNoBox);
    }

    void hiddenBoxes()
    {
        QList<int> hidden;
        for (const DocumentField &f : fields()) {
            if (f.column == EditorColumn::NotShown)
                hidden << f.box;
        }
        QCOMPARE(hidden, (QList<int>{3, 40, 41, 42, 43}));
        QCOMPARE(caption(boxFromField(IssueDate)), QStringLiteral("Дата"));
        QCOMPARE(caption(boxFromField(Colour)), QStringLiteral("Цвет"));
    }
};

QTEST_MAIN(FieldCatalogueTest)
#include "tst_FieldCatalogue.moc"

#include "journal/FieldCatalogue.h"

#include <QTest>

using namespace FieldCatalogue;

class FieldCatalogueTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyBoxShowsFieldTwoHigher()
    {
        QCOMPARE(int(fields().size()), 44);
        for (int i = 0; i < kBoxCount; ++i) {
            QCOMPARE(fields()[size_t(i)].box, i);
            QCOMPARE(fields()[size_t(i)].field, i + 2);
            QCOMPARE(boxFromField(fieldFromBox(i)), i);
        }
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

    void captionsKeepTheirSpaces()
    {
        QCOMPARE(caption(2), QStringLiteral("Марка  модель"));
        QCOMPARE(caption(3), QStringLiteral("Marka  Model"));
        QCOMPARE(caption(18), QStringLiteral("Фамилия  "));
        QCOMPARE(caption(20), QStringLiteral("Имя "));
        QCOMPARE(caption(36), QStringLiteral("№ свидетельства  о регистрации"));
        QCOMPARE(caption(12), QStringLiteral("Мощность двиг., кВт/л. с."));
        QVERIFY(caption(24).isEmpty());
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

QTEST_GUILESS_MAIN(FieldCatalogueTest)
#include "tst_FieldCatalogue.moc"

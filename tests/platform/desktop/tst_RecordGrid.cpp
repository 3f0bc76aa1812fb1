#include "platform/Twips.h"
#include "platform/desktop/RecordGrid.h"

#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

// The record grid over a model that is not the journal's: eight columns, rows of records.
class RecordGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void worksOnAnyItemModel()
    {
        QStandardItemModel model(50, 8);
        for (int r = 0; r < 50; ++r)
            model.setItem(r, 0, new QStandardItem(QString::number(r + 1)));
        RecordGrid grid(&model);
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        // Widths in twips for every column the model has, none beyond.
        grid.setColumnWidthTwips(7, 1000);
        QCOMPARE(grid.columnWidthTwips(7), 1000);
        QCOMPARE(grid.columnWidth(7), pixelsFromTwips(1000));
        grid.setColumnWidthTwips(8, 1000);
        QCOMPARE(grid.columnWidthTwips(8), 0);
        // A column never set in twips reads back from its pixels.
        grid.setColumnWidth(2, 40);
        QCOMPARE(grid.columnWidthTwips(2), 600);

        grid.setTopRow(20);
        QCOMPARE(grid.topRow(), 20);
        QSignalSpy clicked(&grid, &RecordGrid::rowClicked);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(model.index(21, 3)).center());
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(grid.currentRow(), 22);
        // Moving to another column keeps the row and the view.
        grid.setTopRow(5);
        grid.setCurrentColumn(0);
        QCOMPARE(grid.currentIndex(), model.index(21, 0));
        QCOMPARE(grid.topRow(), 5);
    }
};

QTEST_MAIN(RecordGridTest)
#include "tst_RecordGrid.moc"

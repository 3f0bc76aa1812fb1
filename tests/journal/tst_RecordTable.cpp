#include <QTest>

class RecordTableTest : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(RecordTableTest)
#include "tst_RecordTable.moc"

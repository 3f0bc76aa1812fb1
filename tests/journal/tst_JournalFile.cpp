#include <QTest>

class JournalFileTest : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(JournalFileTest)
#include "tst_JournalFile.moc"

#include <QTest>

class DialogsTest : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(DialogsTest)
#include "tst_Dialogs.moc"

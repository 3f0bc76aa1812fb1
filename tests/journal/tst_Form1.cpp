#include <QTest>

class Form1Test : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(Form1Test)
#include "tst_Form1.moc"

#include <QTest>

class Cp1251Test : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(Cp1251Test)
#include "tst_Cp1251.moc"

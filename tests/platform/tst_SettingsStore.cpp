#include <QTest>

class SettingsStoreTest : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_SettingsStore.moc"

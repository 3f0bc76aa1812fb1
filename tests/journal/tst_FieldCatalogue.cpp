#include <QTest>

class FieldCatalogueTest : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(FieldCatalogueTest)
#include "tst_FieldCatalogue.moc"

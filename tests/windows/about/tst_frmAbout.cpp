#include "JournalSession.h"

#include "windows/about/Contacts.h"
#include "windows/about/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

class frmAboutTest : public QObject
{
    Q_OBJECT

    struct Session : JournalSession
    {
        explicit Session(TestPlatform &t) : JournalSession(t, Exposed) {}
        static frmAbout *openBox() { return openWindow<frmAbout>(); }
    };

private Q_SLOTS:
    void opensFromTheButtonAndTheMenu_data();
    void opensFromTheButtonAndTheMenu();
    void closingEnablesTheJournalWindow_data();
    void closingEnablesTheJournalWindow();
    void linksGoToTheShell();
};

void frmAboutTest::opensFromTheButtonAndTheMenu_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("Command2") << false;
    QTest::newRow("О программе") << true;
}

void frmAboutTest::opensFromTheButtonAndTheMenu()
{
    QFETCH(bool, fromMenu);
    TestPlatform t;
    Session s(t);
    if (fromMenu)
        s.form.findChild<QAction *>(QStringLiteral("Menu_Help_About"))->trigger();
    else
        QTest::mouseClick(s.form.findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);

    frmAbout *box = Session::openBox();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(box->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Trelvax 1.0.0"));
    QCOMPARE(box->findChild<QLabel *>(QStringLiteral("Label2"))->text(), Contacts::mailAddress());
    QCOMPARE(box->findChild<QLabel *>(QStringLiteral("Label3"))->text(), Contacts::webAddress());
    QVERIFY(box->findChild<QPlainTextEdit *>(QStringLiteral("txtSogl"))->isReadOnly());
    QCOMPARE(box->findChild<QPushButton *>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));

    // The journal window does not react while the box is open.
    QVERIFY(!s.form.isEnabled());
    QVERIFY(box->isEnabled());
    auto *find = s.form.findChild<QLineEdit *>(QStringLiteral("txtfind"));
    QTest::keyClicks(find, QStringLiteral("abc"));
    QVERIFY(find->text().isEmpty());
    box->close();
}

void frmAboutTest::closingEnablesTheJournalWindow_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

void frmAboutTest::closingEnablesTheJournalWindow()
{
    QFETCH(bool, byOk);
    TestPlatform t;
    Session s(t);
    QTest::mouseClick(s.form.findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    QPointer<frmAbout> box = Session::openBox();
    QVERIFY(box);
    QVERIFY(!s.form.isEnabled());
    if (byOk)
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    else
        QVERIFY(box->close());
    QVERIFY(s.form.isEnabled());
    QTRY_VERIFY(!box);
}

void frmAboutTest::linksGoToTheShell()
{
    TestPlatform t;
    Session s(t);
    QTest::mouseClick(s.form.findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    frmAbout *box = Session::openBox();
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));

    QTest::mouseClick(box->findChild<QLabel *>(QStringLiteral("Label2")), Qt::LeftButton);
    QTest::mouseClick(box->findChild<QLabel *>(QStringLiteral("Label3")), Qt::LeftButton);

    QCOMPARE(t.shell.calls.size(), 2);
    const QString mail = t.shell.calls.at(0);
    QCOMPARE(mail,
             QStringLiteral("url mailto:") + Contacts::mailAddress()
                 + QStringLiteral("?Subject=%D0%9D%D0%B0%20%D1%81%D1%87%D0%B5%D1%82%20%D0%BF%D1%80%D0%BE"
                                  "%D0%B3%D1%80%D0%B0%D0%BC%D0%BC%D1%8B%20Trelvax%201.0"));
    // What the mail program gets back from the link: the subject, Cyrillic intact.
    const QUrl url(mail.mid(4));
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), Contacts::mailAddress());
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded),
             QStringLiteral("На счет программы Trelvax 1.0"));
    QCOMPARE(t.shell.calls.at(1), QStringLiteral("url ") + Contacts::webAddress());
    QVERIFY(box->isVisible());
    box->close();
}

QTEST_MAIN(frmAboutTest)
#include "tst_frmAbout.moc"

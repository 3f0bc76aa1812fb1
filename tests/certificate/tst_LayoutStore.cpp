#include "Files.h"
#include "TestPlatform.h"
#include "certificate/BuiltInLayout.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "certificate/LayoutStore.h"
#include "platform/CommonDialog.h"

#include <QFile>
#include <QLocale>
#include <QTest>

class LayoutStoreTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_test;
    LayoutState m_state;

    // A print window's worth of layout, loaded from the store as the window opens.
    std::unique_ptr<CertificateLayout> loaded(SettingsStore &settings)
    {
        auto layout = std::make_unique<CertificateLayout>(m_state);
        LayoutStore(settings).LoadLayout(*layout);
        return layout;
    }
    CommonDialog &dialog()
    {
        m_dialog = std::make_unique<CommonDialog>(m_test->dialogs, nullptr);
        return *m_dialog;
    }
    std::unique_ptr<CommonDialog> m_dialog;
    QByteArray settingsFile() const { return readFile(m_test->settingsPath()); }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        m_test = std::make_unique<TestPlatform>();
        m_state = LayoutState();
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void firstStartShowsTheDesignPositions()
    {
        const auto layout = loaded(*m_test->settings);
        QCOMPARE(layout->label(0).pos.left, 172.5083f);
        QCOMPARE(layout->label(0).pos.top, 115.3583f);
        QCOMPARE(layout->label(0).pos.left, float(9780) * 25.4f / 1440.0f);
        QCOMPARE(layout->label(40).pos.left, 85.46042f);
        QCOMPARE(layout->picture(PictureId::Image1).pos, (MmPoint{124, 81}));
        QCOMPARE(layout->picture(PictureId::Image2).pos, (MmPoint{210, 82}));
        QCOMPARE(layout->picture(PictureId::ImPech).pos, (MmPoint{215, 154}));
        QCOMPARE(layout->picture(PictureId::ImPodp).pos, (MmPoint{248, 164}));
    }

    void resetStoresTheResetPositionsInRegionalFormat()
    {
        auto layout = loaded(*m_test->settings);
        m_state.LayoutChanged = true;
        m_test->dialogs.answers = {Dialogs::Answer::Ok};
        QVERIFY(LayoutStore(*m_test->settings).ResetLayout(*layout, dialog()));

        const Dialogs::Message asked = m_test->dialogs.messages.value(0);
        QCOMPARE(asked.text, QStringLiteral("Вы действительно хотите сбросить настройки положения всех полей?"));
        QCOMPARE(asked.caption, QStringLiteral("Подтвердите действие"));
        QCOMPARE(asked.icon, Dialogs::Icon::Question);
        QCOMPARE(asked.buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(asked.defaultButton, Dialogs::Answer::Cancel);
        QVERIFY(!m_state.LayoutChanged);

        const auto disk = m_test->reopenSettings();
        QCOMPARE(disk->value("PTS1leftImpech", "Impech", {}), QStringLiteral("215,0006"));
        QCOMPARE(disk->value("PTS1topIm", "Im", {}), QStringLiteral("80,99786"));
        QCOMPARE(disk->value("PTS1top", "37", {}), QStringLiteral("99,55399"));
        QCOMPARE(disk->value("PTS1left", "5", {}), QStringLiteral("183,0566"));
        QCOMPARE(disk->value("PTS1topImpodp", "Impodp", {}), QStringLiteral("164,0065"));

        // Reopening shows what the reset stored.
        const auto again = loaded(*disk);
        for (int i = 0; i < kLabelCount; ++i)
            QCOMPARE(again->label(i).pos, BuiltInLayout::resetPosition(i));
        for (int p = 0; p < kPictureCount; ++p)
            QCOMPARE(again->picture(PictureId(p)).pos, BuiltInLayout::resetPicturePosition(PictureId(p)));
    }

    void resetCancelledChangesNothing()
    {
        auto layout = loaded(*m_test->settings);
        m_test->dialogs.answers = {Dialogs::Answer::Cancel};
        QVERIFY(!LayoutStore(*m_test->settings).ResetLayout(*layout, dialog()));
        QCOMPARE(layout->label(0).pos, BuiltInLayout::designPosition(0));
        QVERIFY(!settingsFile().contains("PTS1"));
    }

    // Reset spells the signature's entries with capitals, Save without: one entry either way.
    void stampAndSignatureComeBackApart()
    {
        auto layout = loaded(*m_test->settings);
        m_test->dialogs.answers = {Dialogs::Answer::Ok};
        LayoutStore store(*m_test->settings);
        QVERIFY(store.ResetLayout(*layout, dialog()));
        layout->setPicturePosition(PictureId::ImPech, {200.25f, 150.5f});
        layout->setPicturePosition(PictureId::ImPodp, {262.75f, 171.125f});
        m_state.LayoutChanged = true;
        store.SaveLayout(*layout);
        QVERIFY(!m_state.LayoutChanged);

        const auto disk = m_test->reopenSettings();
        const auto again = loaded(*disk);
        QCOMPARE(again->picture(PictureId::ImPech).pos, (MmPoint{200.25f, 150.5f}));
        QCOMPARE(again->picture(PictureId::ImPodp).pos, (MmPoint{262.75f, 171.125f}));
        const QByteArray ini = settingsFile().toLower();
        QCOMPARE(ini.count("[pts1topimpodp]"), 1);
        QCOMPARE(ini.count("impodp="), 2);
    }

    void unreadableValueLeavesTheElement_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("point under Russian settings") << QStringLiteral("12.5");
        QTest::newRow("not a number") << QStringLiteral("abc");
        QTest::newRow("group separator") << QStringLiteral("1 234,5");
    }
    void unreadableValueLeavesTheElement()
    {
        QFETCH(QString, text);
        m_test->settings->setValue("pts1TOP", "0", text);
        m_test->settings->setValue("PTS1left", "0", QStringLiteral(" 17,25 "));
        m_test->settings->setValue("PTS1topIm", "im", text);
        m_test->settings->setValue("PTS1leftIm", "im", QStringLiteral("130,5"));
        // The picture stands elsewhere than its default when the entries are read.
        auto layout = std::make_unique<CertificateLayout>(m_state);
        const MmPoint before{118.75f, 77.5f};
        layout->setPicturePosition(PictureId::Image1, before);
        QVERIFY(before.top != BuiltInLayout::missingPicturePosition(PictureId::Image1).top);
        LayoutStore(*m_test->settings).LoadLayout(*layout);
        QCOMPARE(layout->label(0).pos, (MmPoint{17.25f, BuiltInLayout::designPosition(0).top}));
        // An unreadable picture entry leaves the picture where it was, not at the default; the
        // readable one beside it is taken.
        QCOMPARE(layout->picture(PictureId::Image1).pos, (MmPoint{130.5f, before.top}));
    }

    void closingAsksOnlyAfterAMove_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<bool>("stored");
        QTest::newRow("unchanged") << false << Dialogs::Answer::Yes << false;
        QTest::newRow("changed, no") << true << Dialogs::Answer::No << false;
        QTest::newRow("changed, yes") << true << Dialogs::Answer::Yes << true;
    }
    void closingAsksOnlyAfterAMove()
    {
        QFETCH(bool, changed);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(bool, stored);
        auto layout = loaded(*m_test->settings);
        layout->setLabelPosition(12, {-3.5f, 250.25f});
        m_state.LayoutChanged = changed;
        m_test->dialogs.answers = {answer};
        LayoutStore(*m_test->settings).SaveLayoutOnClose(*layout, dialog());
        QCOMPARE(m_test->dialogs.messages.size(), changed ? 1 : 0);
        if (changed) {
            const Dialogs::Message asked = m_test->dialogs.messages.first();
            QCOMPARE(asked.text, QStringLiteral("Координаты текстовых полей были изменены, хотите их сохранить?"));
            QCOMPARE(asked.caption, QStringLiteral("Trelvax 1.0"));
            QCOMPARE(asked.buttons, Dialogs::Buttons::YesNo);
            QCOMPARE(asked.icon, Dialogs::Icon::None);
        }
        const auto disk = m_test->reopenSettings();
        QCOMPARE(disk->value("PTS1left", "12", {}), stored ? QStringLiteral("-3,5") : QString());
        QCOMPARE(disk->value("PTS1top", "12", {}), stored ? QStringLiteral("250,25") : QString());
    }
};

QTEST_MAIN(LayoutStoreTest)
#include "tst_LayoutStore.moc"

// The windows handing each other over as the operator opens and closes them in any order: the
// journal window, the record editor and its certificate frame, the journal window's dialogs.
#include "TestPlatform.h"

#include "app/WindowWiring.h"
#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "journal/Journal.h"
#include "platform/Cp1251.h"
#include "platform/desktop/RecordGrid.h"
#include "windows/editor/frm.h"
#include "windows/journal/Form1.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/frmPTS1.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsView>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

QByteArray journalOf(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += journalLine({QString::number(i), QStringLiteral("А%1ВС77").arg(i), QStringLiteral("VIN%1").arg(i)});
    return bytes;
}

// Field `field` of record `record` as the journal file holds it.
QString diskField(const QByteArray &journal, int record, int field)
{
    const QList<QByteArray> lines = journal.split('\n');
    if (record < 1 || record > lines.size())
        return QStringLiteral("<no record>");
    return Cp1251::decode(lines.at(record - 1).split('|').value(field - 1));
}

// The close box of a window, as the window manager delivers it.
void closeBox(QWidget *window)
{
    if (QWindow *handle = window->windowHandle())
        handle->close();
    else
        window->close();
}

QList<MDIForm1 *> openFrames()
{
    QList<MDIForm1 *> frames;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *frame = qobject_cast<MDIForm1 *>(w); frame && frame->isVisible())
            frames << frame;
    return frames;
}

void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(c), Qt::NoModifier);
}

} // namespace

class WindowLifetimesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_test;
    std::unique_ptr<Journal> m_journal;
    LayoutState m_state;
    std::unique_ptr<Form1> m_form;

    frm *editor() const { return m_form->editor(); }
    MDIForm1 *frame() const
    {
        const QList<MDIForm1 *> frames = openFrames();
        return frames.size() == 1 ? frames.first() : nullptr;
    }
    frmPTS1 *page() const { return frame() ? frame()->printWindow() : nullptr; }

    // The operator's double click on a record's row.
    void openRecord(int record)
    {
        RecordGrid *grid = m_form->grid();
        const QRect cell = grid->visualRect(grid->model()->index(record - 1, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(editor() && editor()->isVisible());
    }
    void preview()
    {
        QTest::mouseClick(editor()->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    }
    QPoint labelPoint(int i) const
    {
        const CertificateLayout::Label &l = page()->layout().label(i);
        return page()->view().mapFromScene(QPointF(l.pos.left + 0.8, l.pos.top + l.height / 2));
    }
    // A right click on the empty page, then the item of the "Номер" menu.
    void numberMenu(const char *item)
    {
        QWidget *viewport = page()->view().viewport();
        QTest::mouseClick(viewport, Qt::RightButton, {}, page()->view().mapFromScene(QPointF(40, 150)));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *action = menu->findChild<QAction *>(QLatin1String(item));
        QVERIFY(action);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QVERIFY(!QApplication::activePopupWidget());
    }
    // The in-place editor on a label: the text typed over the old one, then Enter and Esc.
    void correctLabel(int i, const QString &text)
    {
        QTest::mouseDClick(page()->view().viewport(), Qt::LeftButton, {}, labelPoint(i));
        auto *txt1 = page()->findChild<QLineEdit *>(QStringLiteral("txt1"));
        QVERIFY(txt1->isVisible());
        QTest::keyClick(txt1, Qt::Key_A, Qt::ControlModifier);
        typeInto(txt1, text);
        QTest::keyClick(txt1, Qt::Key_Return);
        QTest::keyClick(txt1, Qt::Key_Escape);
        QCOMPARE(page()->layout().label(i).text, text);
    }
    QAction *frameCommand(const char *key) const { return frame()->findChild<QAction *>(QLatin1String(key)); }
    // The event loop's next turns: what was deferred to them runs.
    void settle() const
    {
        for (int turn = 0; turn < 3; ++turn) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_test = std::make_unique<TestPlatform>();
        m_test->writeJournal(journalOf(3));
        m_journal = std::make_unique<Journal>();
        m_state = LayoutState();
        m_form = std::make_unique<Form1>(m_test->platform, *m_journal);
        serveEditorsOf(*m_form, m_test->platform, m_state);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup()
    {
        m_form.reset();
        settle();
        m_journal.reset();
        m_test.reset();
    }

    // Closing the editor while its certificate is still open (the editor is in view after a
    // "Вернуть …" reload) closes the certificate first, the normal way, then stores the record
    // with the texts the certificate handed back; the journal window shows only then, and
    // nothing is left open that points at the editor.
    void editorClosedWhileItsCertificateIsOpen_data()
    {
        QTest::addColumn<QString>("reload");
        for (const char *item : {"Menu_Fon_Reset", "Menu_Fon2_Reset", "Menu_Pech2_Reset", "Menu_Podp2_Reset"})
            QTest::newRow(item) << QString::fromLatin1(item);
    }
    void editorClosedWhileItsCertificateIsOpen()
    {
        QFETCH(QString, reload);
        openRecord(2);
        preview();
        QVERIFY(frame());
        correctLabel(0, QStringLiteral("ИСПРАВЛЕНО"));
        numberMenu(reload.toLatin1().constData());
        QVERIFY(editor()->isVisible());
        QVERIFY(frame());
        // The texts live in the certificate until it hands them back: the boxes take no typing.
        auto *box = editor()->findChild<QLineEdit *>(QStringLiteral("txt(5)"));
        box->setFocus();
        typeInto(box, QStringLiteral("X"));
        QCOMPARE(box->text(), QString());
        // Greyed like the window, not the yellow of a box being typed in.
        QCOMPARE(box->palette().color(QPalette::Base), box->palette().color(QPalette::Window));

        closeBox(editor());
        settle();
        QVERIFY(openFrames().isEmpty());
        QVERIFY(!editor());
        QVERIFY(m_form->isVisible());
        const QByteArray disk = m_test->readJournal();
        QCOMPARE(diskField(disk, 2, 2), QStringLiteral("ИСПРАВЛЕНО"));
        QCOMPARE(diskField(disk, 2, 3), QStringLiteral("VIN2"));
    }

    // The preview button of an editor whose certificate is open brings that certificate to
    // the front: one frame per record, and the correction made in it is the one stored.
    void previewWithTheCertificateOpenShowsTheSameFrame()
    {
        openRecord(2);
        preview();
        MDIForm1 *first = frame();
        QVERIFY(first);
        numberMenu("Menu_Fon_Reset");
        correctLabel(0, QStringLiteral("ИСПРАВЛЕНО"));
        QVERIFY(editor()->isVisible());
        // The editor in view says why its boxes, which look read-only, take no typing.
        auto *box = editor()->findChild<QLineEdit *>(QStringLiteral("txt(5)"));
        const QWidget *why = editor()->findChild<QWidget *>(QStringLiteral("LblReadOnly"));
        QVERIFY(why && why->isVisible() && box->isReadOnly());
        preview();
        QCOMPARE(openFrames().size(), 1);
        QCOMPARE(frame(), first);
        QVERIFY(!editor()->isVisible());
        settle();
        QCOMPARE(QApplication::activeWindow(), first);

        QVERIFY(frameCommand("Delete"));
        frameCommand("Delete")->trigger();
        settle();
        QVERIFY(openFrames().isEmpty());
        QVERIFY(editor()->isVisible());
        QCOMPARE(editor()->boxText(0), QStringLiteral("ИСПРАВЛЕНО"));
        // The boxes take typing again once the certificate has gone.
        QVERIFY(!why->isVisible());
        box->setFocus();
        typeInto(box, QStringLiteral("X"));
        QCOMPARE(box->text(), QStringLiteral("X"));
        closeBox(editor());
        settle();
        QCOMPARE(diskField(m_test->readJournal(), 2, 2), QStringLiteral("ИСПРАВЛЕНО"));
    }

    // A certificate closed and at once opened again, before the event loop has deleted the
    // first: the first one's going leaves the second in charge of the texts.
    void certificateReopenedBeforeTheFirstIsDeleted()
    {
        openRecord(2);
        preview();
        QPointer<MDIForm1> first = frame();
        QVERIFY(first);
        frameCommand("Delete")->trigger();
        QVERIFY(first && !first->isVisible());
        QVERIFY(editor()->isVisible());
        preview();
        MDIForm1 *second = frame();
        QVERIFY(second && second != first);
        settle();
        QVERIFY(!first);
        editor()->showEditor();
        auto *box = editor()->findChild<QLineEdit *>(QStringLiteral("txt(5)"));
        box->setFocus();
        typeInto(box, QStringLiteral("X"));
        QCOMPARE(box->text(), QString());
        QCOMPARE(frame(), second);
    }

    // While the page picture's wait runs the operator closes the frame, closes the editor,
    // asks for a reload or for a second picture: the picture is taken whole and without the
    // side panel, and what was asked happens right after it, nothing lost.
    void closingDuringThePagePicturesWait_data()
    {
        QTest::addColumn<QString>("during");
        QTest::newRow("Закрыть") << "Закрыть";
        QTest::newRow("close box") << "close box";
        QTest::newRow("editor's close box") << "editor";
        QTest::newRow("second Печать") << "Печать";
        QTest::newRow("Вернуть") << "Вернуть";
    }
    void closingDuringThePagePicturesWait()
    {
        QFETCH(QString, during);
        openRecord(2);
        preview();
        QVERIFY(frame());
        correctLabel(0, QStringLiteral("ИСПРАВЛЕНО"));
        if (during == QStringLiteral("editor"))
            numberMenu("Menu_Fon_Reset"); // the editor in view behind the frame
        QPointer<MDIForm1> shown = frame();
        const QString first = QDir(m_test->folder()).filePath(QStringLiteral("page.jpg"));
        const QString second = QDir(m_test->folder()).filePath(QStringLiteral("second.jpg"));
        m_test->dialogs.paths = {first, second};
        m_test->dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::No};
        int waits = 0;
        m_test->clock.duringWait = [&] {
            if (++waits > 1)
                return;
            if (during == QStringLiteral("Закрыть"))
                shown->findChild<QAction *>(QStringLiteral("Delete"))->trigger();
            else if (during == QStringLiteral("close box"))
                closeBox(shown);
            else if (during == QStringLiteral("editor"))
                closeBox(editor());
            else if (during == QStringLiteral("Печать"))
                shown->findChild<QAction *>(QStringLiteral("Print"))->trigger();
            else
                shown->printWindow()->findChild<QAction *>(QStringLiteral("Menu_Pech2_Reset"))->trigger();
        };
        frameCommand("Print")->trigger();
        m_test->clock.duringWait = nullptr;
        settle();

        QCOMPARE(waits, 1);
        QCOMPARE(m_test->dialogs.fileRequests.size(), 1);
        QImageReader reader(first);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage picture = reader.read();
        // Under the side panel the page is white.
        QCOMPARE(picture.pixelColor(100, 100), QColor(Qt::white));
        QVERIFY(!QFile::exists(second));

        if (during == QStringLiteral("Печать")) {
            QVERIFY(frame());
            return;
        }
        if (during == QStringLiteral("Вернуть")) {
            QVERIFY(frame());
            QCOMPARE(page()->layout().label(0).text, QStringLiteral("ИСПРАВЛЕНО"));
            return;
        }
        QVERIFY(openFrames().isEmpty());
        if (during == QStringLiteral("editor")) {
            QVERIFY(!editor());
            QVERIFY(m_form->isVisible());
            QCOMPARE(diskField(m_test->readJournal(), 2, 2), QStringLiteral("ИСПРАВЛЕНО"));
        } else {
            QVERIFY(editor()->isVisible());
            QCOMPARE(editor()->boxText(0), QStringLiteral("ИСПРАВЛЕНО"));
        }
    }

    // The journal window held disabled by one of its dialogs ignores its close box: the
    // program goes on, and ends normally once the dialog is closed.
    void disabledJournalWindowIgnoresItsCloseBox_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("about box") << "frmAbout";
        QTest::newRow("table settings") << "frmNastTabl";
    }
    void disabledJournalWindowIgnoresItsCloseBox()
    {
        QFETCH(QString, dialog);
        if (dialog == QStringLiteral("frmAbout")) {
            QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
        } else {
            m_form->findChild<QAction *>(QStringLiteral("Menu_Nastr_Tabl"))->trigger();
        }
        QWidget *box = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == dialog && w->isVisible())
                box = w;
        QVERIFY(box);
        QVERIFY(!m_form->isEnabled());

        closeBox(m_form.get());
        QVERIFY(!m_test->exit.code);
        QVERIFY(m_form->isVisible());
        QVERIFY(!QFile::exists(m_test->settingsPath()));

        closeBox(box);
        settle();
        QVERIFY(m_form->isEnabled());
        closeBox(m_form.get());
        QCOMPARE(m_test->exit.code, std::optional<int>(0));
    }

    // After a reload the frame is in front of the editor that shows behind it: the frame is
    // the editor's own window (which window managers keep above it) and the active one.
    void reloadLeavesTheFrameInFront()
    {
        openRecord(1);
        preview();
        MDIForm1 *shown = frame();
        QVERIFY(shown);
        numberMenu("Menu_Podp2_Reset");
        settle();
        QVERIFY(editor()->isVisible());
        QCOMPARE(frame(), shown);
        QVERIFY(shown->windowHandle());
        QCOMPARE(shown->windowHandle()->transientParent(), editor()->windowHandle());
        QCOMPARE(QApplication::activeWindow(), shown);
    }

    // The loader's "GDI+ Error" appears over the frame the operator sees, not over the hidden
    // journal window.
    void printWindowsMessagesOverTheFrame()
    {
        m_test->settings->setValue(QStringLiteral("Nastr"), QStringLiteral("PechFName"),
                                   QDir(m_test->folder()).filePath(QStringLiteral("missing.png")));
        openRecord(1);
        m_test->dialogs.messages.clear();
        m_test->dialogs.owners.clear();
        preview();
        QVERIFY(frame());
        QVERIFY(!m_test->dialogs.messages.isEmpty());
        for (qsizetype i = 0; i < m_test->dialogs.messages.size(); ++i) {
            QCOMPARE(m_test->dialogs.messages.at(i).caption, QStringLiteral("GDI+ Error"));
            QCOMPARE(m_test->dialogs.owners.at(i), QStringLiteral("MDIForm1"));
        }
    }
};

QTEST_MAIN(WindowLifetimesTest)
#include "tst_WindowLifetimes.moc"

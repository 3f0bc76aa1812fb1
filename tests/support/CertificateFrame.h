#pragma once

#include "FakeEditorBoxes.h"
#include "TestPlatform.h"

#include "certificate/CertificateLayout.h"
#include "certificate/LayoutState.h"
#include "windows/print/MDIForm1.h"
#include "windows/print/frmPTS1.h"

#include <QAction>
#include <QGraphicsView>
#include <QImage>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <memory>

// The certificate frame over the record editor's texts, opened as the preview button opens it.
// A test class derives from it after QObject, starts each test with newCertificate() in init()
// and ends it with closeCertificate() in cleanup(): each test has a program folder, a layout
// state and editor texts of its own.
class CertificateFrameFixture
{
protected:
    enum class Numbers {
        Russian, // the decimal comma of the operators' machines, for the test's length
        AsTheyAre,
    };
    enum class Wait {
        None,
        Exposed,
        Active, // exposed and the active window
    };

    void newCertificate(Numbers numbers = Numbers::Russian)
    {
        m_russianNumbers = numbers == Numbers::Russian;
        if (m_russianNumbers)
            QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        m_test = std::make_unique<TestPlatform>();
        m_state = LayoutState();
        m_editor = FakeEditorBoxes();
    }
    void closeCertificate()
    {
        m_frame.reset();
        if (m_russianNumbers)
            QLocale::setDefault(QLocale::c());
    }

    frmPTS1 &openFrame(Wait wait = Wait::Exposed)
    {
        m_frame = std::make_unique<MDIForm1>(m_test->platform, m_state, m_editor);
        m_frame->show();
        if (wait != Wait::None && !QTest::qWaitForWindowExposed(m_frame.get()))
            qWarning("frame not exposed");
        if (wait == Wait::Active) {
            m_frame->activateWindow();
            if (!QTest::qWaitForWindowActive(m_frame.get()))
                qWarning("frame not active");
        }
        return pts();
    }

    // The stamp and the signature of the program folder (pechat.png, podpis.png).
    void writeStampAndSignature(const QImage &stamp, const QImage &signature) const
    {
        QVERIFY(stamp.save(m_test->platform.programFile(QStringLiteral("pechat.png")), "PNG"));
        QVERIFY(signature.save(m_test->platform.programFile(QStringLiteral("podpis.png")), "PNG"));
    }
    static QImage solid(QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    }

    frmPTS1 &pts() const { return *m_frame->printWindow(); }
    CertificateLayout &layout() const { return pts().layout(); }
    QWidget *viewport() const { return pts().view().viewport(); }
    template<class T>
    T *control(const char *name) const
    {
        return pts().findChild<T *>(QLatin1String(name));
    }
    QAction *menuItem(const char *name) const { return pts().findChild<QAction *>(QLatin1String(name)); }
    // A button of the frame's toolbar.
    QPushButton *frameButton(const QString &name) const
    {
        return m_frame->findChild<QWidget *>(QStringLiteral("Toolbar1"))->findChild<QPushButton *>(name);
    }

    // A point inside label i, near its left edge, where a click selects it.
    QPoint labelPoint(int i) const
    {
        const CertificateLayout::Label &l = layout().label(i);
        return pts().view().mapFromScene(QPointF(l.pos.left + 0.8, l.pos.top + l.height / 2));
    }
    void clickLabel(int i, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(viewport(), button, modifiers, labelPoint(i));
    }
    // Left of the hidden labels 40..43 and under the side panel: nothing but the white page.
    QPoint emptyPoint() const { return pts().view().mapFromScene(QPointF(40, 150)); }
    QList<int> selected() const
    {
        QList<int> list;
        for (int i = 0; i < kLabelCount; ++i) {
            if (layout().isSelected(i))
                list << i;
        }
        return list;
    }

    std::unique_ptr<TestPlatform> m_test;
    LayoutState m_state;
    FakeEditorBoxes m_editor;
    std::unique_ptr<MDIForm1> m_frame;

private:
    bool m_russianNumbers = false;
};

#pragma once

#include "TestPlatform.h"

#include "journal/Journal.h"
#include "windows/journal/Form1.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <memory>

// The journal window over the journal of the test's program folder, loaded as at start-up; the
// journal lives as long as the window. A test adds its own helpers by deriving from it.
struct JournalSession
{
    enum Showing {
        Hidden,  // loaded, not shown
        Exposed, // shown, and the test goes on once it is on the screen
    };

    explicit JournalSession(TestPlatform &t, Showing showing = Hidden)
        : journal(std::make_unique<Journal>()), form(t.platform, *journal)
    {
        if (showing == Exposed) {
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
        }
    }

    std::unique_ptr<Journal> journal;
    Form1 form;

    template<class T>
    T *control(const QString &name) const
    {
        return form.findChild<T *>(name);
    }
    // A menu item of the journal window chosen by the operator.
    void menu(const char *name) const { form.findChild<QAction *>(QLatin1String(name))->trigger(); }

    // The window of class T that is open on the screen, if any.
    template<class T>
    static T *openWindow()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<T *>(w); window && window->isVisible())
                return window;
        }
        return nullptr;
    }
};

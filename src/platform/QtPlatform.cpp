#include "QtPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QUrl>

#include <cstdlib>

bool QtShell::openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

bool QtShell::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtShell::showInFolder(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

bool QtShell::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QSize QtScreen::sizeInPixels() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

void QtProgramExit::end(int code)
{
    // Inside the event loop the loop is left and main() returns; before it (a journal that
    // cannot be loaded at start-up) there is nothing to unwind to.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(code);
    else
        std::exit(code);
}

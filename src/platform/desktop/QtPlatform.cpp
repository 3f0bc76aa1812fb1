#include "QtPlatform.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QUrl>

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
    // The desktop's file manager shows the folder with the file selected when it offers the
    // FileManager1 interface; otherwise the folder opens as it is.
    const QString service = QStringLiteral("org.freedesktop.FileManager1");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value()) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/FileManager1"),
                                                           service, QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()} << QString();
        if (bus.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage)
            return true;
    }
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
    // Inside the event loop the loop is left and main() returns. Before it (a journal that
    // cannot be loaded at start-up) the caller returns to main(), which ends with this code;
    // std::exit would skip main()'s destructors and leave the instance lock behind.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(code);
    else if (!m_codeBeforeLoop)
        m_codeBeforeLoop = code;
}

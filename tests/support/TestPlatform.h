#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/ProgramExit.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSizeF>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

// Message boxes and dialogs answered from a script; every message is recorded as shown.
class ScriptedDialogs final : public Dialogs
{
public:
    QList<Message> messages;
    std::deque<Answer> answers;
    // Paths the file dialogs answer with; an empty one is a cancelled dialog.
    std::deque<QString> paths;
    QList<FileRequest> fileRequests;
    std::deque<QColor> colours;
    std::deque<FontChoice> fonts;
    // The objectName of the window that owned each dialog, in order ("" for none).
    QStringList owners;

    Answer message(const Message &message, QWidget *owner = nullptr) override;
    std::optional<QString> openFile(const FileRequest &request, QWidget *owner = nullptr) override;
    std::optional<QString> saveFile(const FileRequest &request, QWidget *owner = nullptr) override;
    QColor chooseColour(const QColor &initial, QWidget *owner = nullptr) override;
    FontChoice chooseFont(const FontChoice &initial, int minSize, int maxSize, QWidget *owner = nullptr) override;

    // The print dialog's answers: the printer name it reports, and the PDF file the output
    // goes to instead of that printer. None left: the dialog is cancelled.
    struct PrinterAnswer
    {
        QString name;
        QString pdfPath;
    };
    std::deque<PrinterAnswer> printers;
    // The paper each print dialog was opened with, in millimetres, and its orientation.
    QList<QPair<QSizeF, bool>> printerRequests; // size, landscape
    std::optional<QString> choosePrinter(QPrinter &printer, QWidget *owner = nullptr) override;

    // The texts of all messages, in order.
    QStringList texts() const;
    // Runs while each message is shown, as the box's own event loop would run it.
    std::function<void()> duringMessage;
};

class RecordingShell final : public Shell
{
public:
    QStringList calls;
    bool openUrl(const QString &url) override;
    bool openDocument(const QString &path) override;
    bool showInFolder(const QString &path) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
};

class FixedClock final : public Clock
{
public:
    QDateTime time = QDateTime(QDate(2025, 12, 8), QTime(14, 5));
    QDateTime now() const override { return time; }
    // Processes the pending events once instead of waiting; records what was asked for.
    int waited = 0;
    // What the operator does while the wait runs; the deferred deletes then run, as they do in
    // the program's wait.
    std::function<void()> duringWait;
    void waitProcessingEvents(int milliseconds) override
    {
        waited += milliseconds;
        if (duringWait) {
            duringWait();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCoreApplication::processEvents();
    }
};

class FixedScreen final : public Screen
{
public:
    QSize size{1600, 1000};
    QSize sizeInPixels() const override { return size; }
};

class RecordingExit final : public ProgramExit
{
public:
    std::optional<int> code;
    void end(int exitCode) override
    {
        if (!code)
            code = exitCode;
    }
};

// A program folder, settings file and platform of their own for each test.
class TestPlatform
{
public:
    TestPlatform();

    QString folder() const { return m_dir.path(); }
    QString journalPath() const;
    QString settingsPath() const;
    void writeJournal(const QByteArray &bytes) const;
    QByteArray readJournal() const;
    // A second store over the same file: what is on disk, not what is cached.
    std::unique_ptr<SettingsStore> reopenSettings() const;

    ScriptedDialogs dialogs;
    RecordingShell shell;
    FixedClock clock;
    FixedScreen screen;
    RecordingExit exit;

private:
    QTemporaryDir m_dir;

public:
    std::unique_ptr<SettingsStore> settings;
    Platform platform;
};

// One journal line: the given fields 1..n, empty fields up to 200, each followed by "|".
QByteArray journalLine(const QStringList &fields);
// The Windows-1251 bytes of a text.
QByteArray cp1251(const QString &text);

#include "TestPlatform.h"
#include "Files.h"

#include "platform/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QWidget>

namespace {
QString nameOf(QWidget *owner)
{
    return owner ? owner->objectName() : QString();
}
} // namespace

Dialogs::Answer ScriptedDialogs::message(const Message &message, QWidget *owner)
{
    owners << nameOf(owner);
    messages.append(message);
    if (duringMessage)
        duringMessage();
    if (answers.empty())
        return message.defaultButton;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(const FileRequest &request, QWidget *owner)
{
    owners << nameOf(owner);
    fileRequests.append(request);
    if (paths.empty())
        return std::nullopt;
    const QString path = paths.front();
    paths.pop_front();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileRequest &request, QWidget *owner)
{
    return openFile(request, owner);
}

QColor ScriptedDialogs::chooseColour(const QColor &initial, QWidget *owner)
{
    owners << nameOf(owner);
    if (colours.empty())
        return initial;
    const QColor c = colours.front();
    colours.pop_front();
    return c;
}

Dialogs::FontChoice ScriptedDialogs::chooseFont(const FontChoice &initial, int, int, QWidget *owner)
{
    owners << nameOf(owner);
    if (fonts.empty())
        return initial;
    const FontChoice f = fonts.front();
    fonts.pop_front();
    return f;
}

std::optional<QString> ScriptedDialogs::choosePrinter(QPrinter &printer, QWidget *owner)
{
    owners << nameOf(owner);
    const QPageLayout layout = printer.pageLayout();
    printerRequests.append(
        {layout.fullRect(QPageLayout::Millimeter).size(), layout.orientation() == QPageLayout::Landscape});
    if (printers.empty())
        return std::nullopt;
    const PrinterAnswer answer = printers.front();
    printers.pop_front();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer.pdfPath);
    return answer.name;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList list;
    for (const Message &m : messages)
        list << m.text;
    return list;
}

bool RecordingShell::openUrl(const QString &url)
{
    calls << QStringLiteral("url ") + url;
    return true;
}

bool RecordingShell::openDocument(const QString &path)
{
    calls << QStringLiteral("open ") + path;
    return true;
}

bool RecordingShell::showInFolder(const QString &path)
{
    calls << QStringLiteral("folder ") + path;
    return true;
}

bool RecordingShell::startProgram(const QString &program, const QStringList &arguments)
{
    calls << QStringLiteral("start ") + program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
    return true;
}

TestPlatform::TestPlatform()
    : settings(std::make_unique<SettingsStore>(QDir(m_dir.path()).filePath(QStringLiteral("settings/Trelvax.ini")))),
      platform{*settings, dialogs, shell, clock, screen, exit, m_dir.path()}
{
    settings->reportFailuresTo(dialogs);
}

QString TestPlatform::journalPath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("Trelvax_1.0"));
}

QString TestPlatform::settingsPath() const
{
    return settings->fileName();
}

void TestPlatform::writeJournal(const QByteArray &bytes) const
{
    if (!writeFile(journalPath(), bytes))
        qFatal("cannot write the test journal");
}

QByteArray TestPlatform::readJournal() const
{
    return readFile(journalPath());
}

std::unique_ptr<SettingsStore> TestPlatform::reopenSettings() const
{
    settings->sync();
    return std::make_unique<SettingsStore>(settingsPath());
}

QByteArray journalLine(const QStringList &fields)
{
    QByteArray line;
    for (int f = 0; f < 200; ++f) {
        if (f < fields.size())
            line += cp1251(fields.at(f));
        line += '|';
    }
    return line + "\r\n";
}

QByteArray cp1251(const QString &text)
{
    return Cp1251::encode(text);
}

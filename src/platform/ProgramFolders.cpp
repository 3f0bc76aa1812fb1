#include "ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef TRELVAX_SHARE_FROM_BIN
#define TRELVAX_SHARE_FROM_BIN "../share/trelvax"
#endif

namespace {

bool isWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

ProgramFolders ProgramFolders::decide(const QString &executableFolder, const QString &userDataFolder,
                                      const QString &shareFolder, const QString &journalName)
{
    ProgramFolders folders;
    // A folder that already holds the journal stays the program folder even when it cannot be
    // written: the operator's journal is shown, and each save that fails says so, rather than
    // an empty journal elsewhere standing in for it.
    const bool holdsJournal = QFileInfo(QDir(executableFolder).filePath(journalName)).isFile();
    if (isWritableFolder(executableFolder) || holdsJournal || userDataFolder.isEmpty()) {
        folders.programFolder = QDir::cleanPath(executableFolder);
    } else {
        folders.programFolder = QDir::cleanPath(userDataFolder);
        // A folder that cannot be made shows up as the journal's own failure at load, which
        // names the path; there is nothing better to say here.
        QDir().mkpath(folders.programFolder);
    }
    const QString share = QDir::cleanPath(shareFolder);
    if (!shareFolder.isEmpty() && QFileInfo(share).isDir() && share != folders.programFolder)
        folders.builtInFolder = share;
    return folders;
}

ProgramFolders ProgramFolders::forApplication(const QString &journalName)
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    return decide(executableFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                  QDir(executableFolder).filePath(QStringLiteral(TRELVAX_SHARE_FROM_BIN)), journalName);
}

QStringList ProgramFolders::pictureNames()
{
    return {QStringLiteral("pechat.png"), QStringLiteral("podpis.png")};
}

void ProgramFolders::copySamplePictures(const QString &programFolder, const QString &builtInFolder)
{
    if (builtInFolder.isEmpty())
        return;
    for (const QString &name : pictureNames()) {
        const QString own = QDir(programFolder).filePath(name);
        if (!QFileInfo::exists(own))
            QFile::copy(QDir(builtInFolder).filePath(name), own);
    }
}

#pragma once

#include <QString>
#include <QStringList>

// Where the operator's files live and where the installed built-in files are found. Decided
// once at start-up and handed to the windows through the Platform.
struct ProgramFolders
{
    // The journal, "Autoload", "Shrift" and the operator's own stamp and signature.
    QString programFolder;
    // The installed read-only built-in files (the sample stamp and signature); empty when
    // there are none apart from the program folder (a program run from its build folder).
    QString builtInFolder;

    // The executable's folder when it can be written or already holds the journal (the file
    // `journalName`); else the per-user data folder, which is created when missing (a program
    // installed under /usr). The share folder counts only when it exists.
    static ProgramFolders decide(const QString &executableFolder, const QString &userDataFolder,
                                 const QString &shareFolder, const QString &journalName);

    // decide() for the running program: its executable's folder, the per-user application
    // data folder and the share folder installed beside its bin folder.
    static ProgramFolders forApplication(const QString &journalName);

    // The stamp and signature the print window reads from the program folder, and nowhere else.
    static QStringList pictureNames();
    // Gives a program folder that has just received its first journal the sample stamp and
    // signature of the built-in folder, each only where the folder has none. Called then and
    // never again, so that a picture the operator removes stays removed; a copy that fails is
    // left to the picture loader's own message.
    static void copySamplePictures(const QString &programFolder, const QString &builtInFolder);
};

#pragma once

#include <QString>
#include <QStringList>

// Hands documents and links to the programs the user's desktop associates with them.
// Nothing goes through a shell command line.
class Shell
{
public:
    virtual ~Shell() = default;
    // A "mailto:" or web link. Returns false when no program took it.
    virtual bool openUrl(const QString &url) = 0;
    // A file with its associated program.
    virtual bool openDocument(const QString &path) = 0;
    // The file's folder in the file manager.
    virtual bool showInFolder(const QString &path) = 0;
    // A program with its arguments, detached.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
};

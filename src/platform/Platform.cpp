#include "Platform.h"

#include <QDir>

QString Platform::programFile(const QString &name) const
{
    return QDir(programFolder).filePath(name);
}

#pragma once

#include <QIcon>
#include <QString>

// A built-in vector picture as an icon of the given size in pixels, drawn once per run.
QIcon builtInIcon(const QString &resource, int size);

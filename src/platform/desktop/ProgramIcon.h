#pragma once

#include <QIcon>

// The program's own icon, the registration card, drawn at the sizes window managers and task
// bars ask for. Every top-level window shows it.
QIcon programIcon();

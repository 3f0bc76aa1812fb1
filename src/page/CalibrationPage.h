#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>

class QPainter;

// The page the operator prints to measure a printer: millimetre rulers along the top and the
// left edge of the paper, and crosshairs at three known points, each labelled with where it
// should be. Measured against a ruler, the crosshair of point A gives the shift; the
// distances from A to B and from A to C give the stretch along each axis.
namespace CalibrationPage {

struct Mark
{
    QString name; // "A", "B", "C"
    QPointF mm;   // from the paper's top-left corner
};

// A at the top-left, B along the X axis from A, C along the Y axis from A; all well inside
// the printable area of any A4 printer.
QList<Mark> marks();
// "A (20; 20) мм", as the dialog and the page state it.
QString describe(const Mark &mark);
// The distances A–B and A–C that a true printer prints.
double spanXMm();
double spanYMm();

// Draws the page onto a painter whose origin is the paper's top-left corner, `dotsPerMm`
// device dots to the millimetre.
void paint(QPainter &painter, double dotsPerMmX, double dotsPerMmY, QSizeF paperMm);

} // namespace CalibrationPage

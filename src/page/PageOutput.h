#pragma once

#include "PrinterCorrection.h"

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QSizeF>

#include <functional>

class CertificateLayout;
class CertificateScene;
class CommonDialog;
class QImage;
class QPageLayout;
class QPainter;
class QPrinter;

// Everything that takes the certificate out of the program goes through here: the printer's
// pages, the PDF's bytes and the page picture's bytes. On paper the certificate is at exactly
// 1:1: a point (x, y) mm of the print window lands at (x, y) mm from the paper's top-left
// corner, moved by the printer's stored correction. The printer, the PDF and the calibration
// page all go through the same page set-up (A4 landscape, the full sheet, no margins, nothing
// fitted), and the certificate itself is drawn by the print window's one scene, so that what
// is hidden there is absent here.
namespace PageOutput {

// A4 landscape, the whole sheet, zero margins.
void preparePrinter(QPrinter &printer);
// The sheet as the printer's page layout holds it, and the part of it the printer can reach,
// both in millimetres from the sheet's corner.
QRectF paperMm(const QPageLayout &layout);
QRectF printableMm(const QPageLayout &layout);
// The visible labels whose text, drawn with the correction, would not lie wholly within
// `printable`: the printer would cut them.
QList<int> labelsOutside(const CertificateLayout &layout, const QRectF &printable, const PrinterCorrection &correction);
// Draws the page onto a painter whose origin is the sheet's top-left corner.
void paintPage(CertificateScene &scene, QPainter &painter, QSizeF paperMm, const PrinterCorrection &correction);
// Runs `draw` on the printer between begin and end; a failure is reported to the operator and
// returns false.
bool printWith(QPrinter &printer, CommonDialog &dialog, const std::function<void(QPainter &)> &draw);
// The PDF file's bytes: the page at exact scale, never corrected, the viewer asked not to
// scale it.
QByteArray pdfBytes(CertificateScene &scene);
// The page picture as a Windows bitmap file's bytes; empty, with the encoder's words in
// *error, when it cannot be encoded.
QByteArray bitmapBytes(const QImage &picture, QString *error);

} // namespace PageOutput

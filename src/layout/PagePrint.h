#pragma once

#include "PrinterCorrection.h"

#include <QList>
#include <QObject>
#include <QRectF>
#include <QSizeF>

#include <functional>

struct Platform;
class CertificateLayout;
class CertificateScene;
class CommonDialog;
class QMenu;
class QPainter;
class QPageLayout;
class QPrinter;
class QWidget;

// The certificate on paper at exactly 1:1: a point (x, y) mm of the print window lands at
// (x, y) mm from the paper's top-left corner, moved by the printer's stored correction. The
// printer, the PDF and the calibration page all go through the same page set-up (A4
// landscape, the full sheet, no margins, nothing fitted), and the certificate itself is drawn
// by the print window's one scene, so that what is hidden there is absent here.
class PagePrint final : public QObject
{
    Q_OBJECT

public:
    PagePrint(Platform &platform, CertificateLayout &layout, CertificateScene &scene, CommonDialog &dialog,
              QWidget *owner);

    // "Печать на принтер…", "Сохранить в PDF…", "Калибровка принтера…".
    void addMenuItems(QMenu *menu);

    // The print dialog, a warning when the printer would cut a label, then the page.
    void PrintOnPrinter();
    // The page into a PDF file the operator names, never corrected.
    void SavePdf();
    // The calibration dialog over the print window.
    void CalibratePrinter();

    // A4 landscape, the whole sheet, zero margins.
    static void preparePrinter(QPrinter &printer);
    // The sheet as the printer's page layout holds it, and the part of it the printer can
    // reach, both in millimetres from the sheet's corner.
    static QRectF paperMm(const QPageLayout &layout);
    static QRectF printableMm(const QPageLayout &layout);
    // The visible labels whose text, drawn with the correction, would not lie wholly within
    // `printable`: the printer would cut them.
    static QList<int> labelsOutside(const CertificateLayout &layout, const QRectF &printable,
                                    const PrinterCorrection &correction);
    // Draws the page onto a painter whose origin is the sheet's top-left corner.
    static void paintPage(CertificateScene &scene, QPainter &painter, QSizeF paperMm,
                          const PrinterCorrection &correction);
    // Runs `draw` on the printer between begin and end; a failure is reported to the operator
    // and returns false.
    static bool printWith(QPrinter &printer, CommonDialog &dialog, const std::function<void(QPainter &)> &draw);
    // The PDF file's bytes: the page at exact scale, the viewer asked not to scale it.
    QByteArray pdfBytes() const;

private:
    Platform &m_platform;
    CertificateLayout &m_layout;
    CertificateScene &m_scene;
    CommonDialog &m_dialog;
    QWidget *m_owner;
};

#include "PageOutput.h"

#include "CertificateScene.h"
#include "PdfViewerHint.h"
#include "certificate/CertificateLayout.h"
#include "certificate/PageText.h"
#include "platform/CommonDialog.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

const QString printCaption = QStringLiteral("Печать на принтер");
const QString pdfTitle = QStringLiteral("Свидетельство о регистрации ТС");

double mmPerUnit(QPageLayout::Unit unit)
{
    switch (unit) {
    case QPageLayout::Millimeter:
        return 1;
    case QPageLayout::Point:
        return 25.4 / 72;
    case QPageLayout::Inch:
        return 25.4;
    case QPageLayout::Pica:
        return 25.4 / 6;
    case QPageLayout::Didot:
        return 0.375972;
    case QPageLayout::Cicero:
        return 4.511666;
    }
    return 1;
}

} // namespace

namespace PageOutput {

void preparePrinter(QPrinter &printer)
{
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(), QPageLayout::Millimeter));
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    printer.setDocName(pdfTitle);
}

QRectF paperMm(const QPageLayout &layout)
{
    return QRectF(QPointF(0, 0), layout.fullRect(QPageLayout::Millimeter).size());
}

QRectF printableMm(const QPageLayout &layout)
{
    const double k = mmPerUnit(layout.units());
    const QMarginsF m = layout.minimumMargins();
    return paperMm(layout).marginsRemoved(QMarginsF(m.left() * k, m.top() * k, m.right() * k, m.bottom() * k));
}

QList<int> labelsOutside(const CertificateLayout &layout, const QRectF &printable, const PrinterCorrection &correction)
{
    QList<int> cut;
    const QTransform toPaper = correction.transformMm();
    for (int i = 0; i < kLabelCount; ++i) {
        const CertificateLayout::Label &label = layout.label(i);
        if (!label.visible || label.text.isEmpty())
            continue;
        // The text itself, not the empty width the label is given beyond it.
        const QSizeF text = PageText::textSizeMm(label.font, label.text);
        const QRectF onPaper = toPaper.mapRect(QRectF(label.pos.left, label.pos.top, text.width(), label.height));
        if (!printable.contains(onPaper))
            cut << i;
    }
    return cut;
}

void paintPage(CertificateScene &scene, QPainter &painter, QSizeF paperMm, const PrinterCorrection &correction)
{
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.translate(correction.offsetXMm * device->logicalDpiX() / 25.4,
                      correction.offsetYMm * device->logicalDpiY() / 25.4);
    painter.scale(correction.scaleX, correction.scaleY);
    // The part of the page that lands on the sheet once stretched.
    scene.renderPage(&painter, QRectF(0, 0, paperMm.width() / correction.scaleX, paperMm.height() / correction.scaleY));
    painter.restore();
}

bool printWith(QPrinter &printer, CommonDialog &dialog, const std::function<void(QPainter &)> &draw)
{
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        draw(painter);
        printed = painter.end() && printer.printerState() != QPrinter::Error;
    }
    if (!printed) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName()
                                                                 : QDir::toNativeSeparators(printer.outputFileName());
        dialog.inform(QStringLiteral("Не удалось напечатать страницу: ") + where, printCaption,
                      Dialogs::Icon::Critical);
    }
    return printed;
}

QByteArray pdfBytes(CertificateScene &scene)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(pdfTitle);
        writer.setCreator(QStringLiteral("Trelvax"));
        writer.setResolution(1200);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(), QPageLayout::Millimeter));
        QPainter painter(&writer);
        paintPage(scene, painter, paperMm(writer.pageLayout()).size(), PrinterCorrection());
    }
    QByteArray pdf = buffer.data();
    PdfViewerHint::addNoPrintScaling(pdf);
    return pdf;
}

QByteArray bitmapBytes(const QImage &picture, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (picture.isNull() || !writer.write(picture)) {
        *error = writer.errorString();
        return QByteArray();
    }
    return bytes;
}

} // namespace PageOutput

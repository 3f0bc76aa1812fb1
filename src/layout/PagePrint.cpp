#include "PagePrint.h"

#include "CertificateLayout.h"
#include "CertificateScene.h"
#include "PageText.h"
#include "PdfViewerHint.h"
#include "PrinterCalibration.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace {

namespace Text {
const QString toPrinter = QStringLiteral("Печать на принтер…");
const QString toPdf = QStringLiteral("Сохранить в PDF…");
const QString calibration = QStringLiteral("Калибровка принтера…");
const QString printCaption = QStringLiteral("Печать на принтер");
const QString pdfCaption = QStringLiteral("Сохранить в PDF");
const QString pdfFilter = QStringLiteral("Файлы PDF (*.pdf)|*.pdf|Все файлы(*.*)|*.*|");
const QString pdfPattern = QStringLiteral("*.pdf");
const QString pdfTitle = QStringLiteral("Свидетельство о регистрации ТС");
} // namespace Text

double mmPerUnit(QPageLayout::Unit unit)
{
    switch (unit) {
    case QPageLayout::Millimeter: return 1;
    case QPageLayout::Point: return 25.4 / 72;
    case QPageLayout::Inch: return 25.4;
    case QPageLayout::Pica: return 25.4 / 6;
    case QPageLayout::Didot: return 0.375972;
    case QPageLayout::Cicero: return 4.511666;
    }
    return 1;
}

QString labelList(const QList<int> &labels)
{
    QStringList numbers;
    for (const int i : labels)
        numbers << QString::number(i);
    return numbers.join(QStringLiteral(", "));
}

} // namespace

PagePrint::PagePrint(Platform &platform, CertificateLayout &layout, CertificateScene &scene, CommonDialog &dialog,
                     QWidget *owner)
    : QObject(owner), m_platform(platform), m_layout(layout), m_scene(scene), m_dialog(dialog), m_owner(owner)
{
}

void PagePrint::addMenuItems(QMenu *menu)
{
    menu->addSeparator()->setObjectName(QStringLiteral("Menu_Print"));
    const auto item = [&](const char *name, const QString &text, void (PagePrint::*command)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, command);
    };
    item("Menu_Printer", Text::toPrinter, &PagePrint::PrintOnPrinter);
    item("Menu_Pdf", Text::toPdf, &PagePrint::SavePdf);
    item("Menu_Calibration", Text::calibration, &PagePrint::CalibratePrinter);
}

void PagePrint::preparePrinter(QPrinter &printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(),
                                      QPageLayout::Millimeter));
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    printer.setDocName(Text::pdfTitle);
}

QRectF PagePrint::paperMm(const QPageLayout &layout)
{
    return QRectF(QPointF(0, 0), layout.fullRect(QPageLayout::Millimeter).size());
}

QRectF PagePrint::printableMm(const QPageLayout &layout)
{
    const double k = mmPerUnit(layout.units());
    const QMarginsF m = layout.minimumMargins();
    return paperMm(layout).marginsRemoved(QMarginsF(m.left() * k, m.top() * k, m.right() * k, m.bottom() * k));
}

QList<int> PagePrint::labelsOutside(const CertificateLayout &layout, const QRectF &printable,
                                    const PrinterCorrection &correction)
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

void PagePrint::paintPage(CertificateScene &scene, QPainter &painter, QSizeF paperMm,
                          const PrinterCorrection &correction)
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

bool PagePrint::printWith(QPrinter &printer, CommonDialog &dialog, const std::function<void(QPainter &)> &draw)
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
        dialog.inform(QStringLiteral("Не удалось напечатать страницу: ") + where, Text::printCaption,
                      Dialogs::Icon::Critical);
    }
    return printed;
}

void PagePrint::PrintOnPrinter()
{
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    const std::optional<QString> printerName = m_dialog.choosePrinter(printer);
    if (!printerName)
        return;
    // The dialog may change the paper and its orientation, never the 1:1 scale: the whole
    // sheet again, without margins.
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);

    const PrinterCorrection correction = PrinterCorrectionStore::read(m_platform.settings, *printerName);
    const QPageLayout layout = printer.pageLayout();
    const QList<int> cut = labelsOutside(m_layout, printableMm(layout), correction);
    if (!cut.isEmpty()) {
        const QString text = (cut.size() == 1 ? QStringLiteral("Поле № ") : QStringLiteral("Поля № "))
            + labelList(cut)
            + (cut.size() == 1 ? QStringLiteral(" выходит") : QStringLiteral(" выходят"))
            + QStringLiteral(" за область, которую принтер может напечатать, и ")
            + (cut.size() == 1 ? QStringLiteral("будет обрезано") : QStringLiteral("будут обрезаны"))
            + QStringLiteral(".\n\nПечатать всё равно?");
        const Dialogs::Answer answer = m_dialog.message({text, Text::printCaption, Dialogs::Icon::Exclamation,
                                                         Dialogs::Buttons::OkCancel, Dialogs::Answer::Cancel});
        if (answer != Dialogs::Answer::Ok)
            return;
    }
    const QSizeF paper = paperMm(layout).size();
    printWith(printer, m_dialog, [&](QPainter &painter) { paintPage(m_scene, painter, paper, correction); });
}

QByteArray PagePrint::pdfBytes() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(Text::pdfTitle);
        writer.setCreator(QStringLiteral("Trelvax"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        paintPage(m_scene, painter, paperMm(writer.pageLayout()).size(), PrinterCorrection());
    }
    QByteArray pdf = buffer.data();
    PdfViewerHint::addNoPrintScaling(pdf);
    return pdf;
}

void PagePrint::SavePdf()
{
    const std::optional<QString> path = m_dialog.saveFile({Text::pdfFilter, QString(), QString(), Text::pdfPattern});
    if (!path)
        return;
    const QByteArray pdf = pdfBytes();
    QSaveFile file(*path);
    const bool written = !pdf.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size()
        && file.commit();
    if (!written)
        m_dialog.inform(QStringLiteral("Не удалось сохранить файл ") + QDir::toNativeSeparators(*path)
                            + QStringLiteral("\n") + file.errorString(),
                        Text::pdfCaption, Dialogs::Icon::Critical);
}

void PagePrint::CalibratePrinter()
{
    auto *dialog = new PrinterCalibration(m_platform.settings, m_platform.dialogs, m_owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

#include "PagePrint.h"

#include "PrinterCalibration.h"
#include "page/PageOutput.h"
#include "platform/AtomicFile.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPageLayout>
#include <QPrinter>

namespace {

namespace Text {
const QString toPrinter = QStringLiteral("Печать на принтер…");
const QString toPdf = QStringLiteral("Сохранить в PDF…");
const QString calibration = QStringLiteral("Калибровка принтера…");
const QString printCaption = QStringLiteral("Печать на принтер");
const QString pdfCaption = QStringLiteral("Сохранить в PDF");
const QString pdfFilter = QStringLiteral("Файлы PDF (*.pdf)|*.pdf|Все файлы(*.*)|*.*|");
const QString pdfPattern = QStringLiteral("*.pdf");
} // namespace Text

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

void PagePrint::PrintOnPrinter()
{
    QPrinter printer(QPrinter::HighResolution);
    PageOutput::preparePrinter(printer);
    const std::optional<QString> printerName = m_dialog.choosePrinter(printer);
    if (!printerName)
        return;
    // The dialog may change the paper and its orientation, never the 1:1 scale: the whole
    // sheet again, without margins.
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);

    const PrinterCorrection correction = PrinterCorrectionStore::read(m_platform.settings, *printerName);
    const QPageLayout layout = printer.pageLayout();
    const QList<int> cut = PageOutput::labelsOutside(m_layout, PageOutput::printableMm(layout), correction);
    if (!cut.isEmpty()) {
        const QString text = (cut.size() == 1 ? QStringLiteral("Поле № ") : QStringLiteral("Поля № ")) + labelList(cut)
            + (cut.size() == 1 ? QStringLiteral(" выходит") : QStringLiteral(" выходят"))
            + QStringLiteral(" за область, которую принтер может напечатать, и ")
            + (cut.size() == 1 ? QStringLiteral("будет обрезано") : QStringLiteral("будут обрезаны"))
            + QStringLiteral(".\n\nПечатать всё равно?");
        const Dialogs::Answer answer = m_dialog.message({text, Text::printCaption, Dialogs::Icon::Exclamation,
                                                         Dialogs::Buttons::OkCancel, Dialogs::Answer::Cancel});
        if (answer != Dialogs::Answer::Ok)
            return;
    }
    const QSizeF paper = PageOutput::paperMm(layout).size();
    PageOutput::printWith(printer, m_dialog,
                          [&](QPainter &painter) { PageOutput::paintPage(m_scene, painter, paper, correction); });
}

void PagePrint::SavePdf()
{
    const std::optional<QString> path = m_dialog.saveFile({Text::pdfFilter, QString(), QString(), Text::pdfPattern});
    if (!path)
        return;
    const QByteArray pdf = PageOutput::pdfBytes(m_scene);
    QString error;
    if (pdf.isEmpty() || !writeFileAtomically(*path, pdf, &error))
        m_dialog.inform(QStringLiteral("Не удалось сохранить файл ") + QDir::toNativeSeparators(*path)
                            + QStringLiteral("\n") + error,
                        Text::pdfCaption, Dialogs::Icon::Critical);
}

void PagePrint::CalibratePrinter()
{
    auto *dialog = new PrinterCalibration(m_platform.settings, m_platform.dialogs, m_owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

#include "PrinterCalibration.h"

#include "page/CalibrationPage.h"
#include "page/PageOutput.h"
#include "platform/CommonDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

namespace Text {
const QString caption = QStringLiteral("Калибровка принтера");
const QString printer = QStringLiteral("Принтер:");
const QString printPage = QStringLiteral("Напечатать страницу калибровки…");
const QString howTo = QStringLiteral(
    "Напечатайте страницу калибровки и измерьте линейкой, на сколько миллиметров перекрестье A "
    "сместилось от своего места: вправо и вниз — со знаком плюс, влево и вверх — со знаком минус.");
const QString shiftX = QStringLiteral("Смещение A по X (вправо), мм:");
const QString shiftY = QStringLiteral("Смещение A по Y (вниз), мм:");
const QString scale = QStringLiteral("Исправлять масштаб (по расстояниям между перекрестьями)");
const QString spanX = QStringLiteral("Расстояние от A до B на листе, мм:");
const QString spanY = QStringLiteral("Расстояние от A до C на листе, мм:");
const QString save = QStringLiteral("Сохранить");
const QString cancel = QStringLiteral("Отмена");
const QString noPrinter = QStringLiteral("Выберите принтер: поправка хранится для каждого принтера отдельно.");
} // namespace Text

QString signedMm(double value)
{
    const QString number = QLocale().toString(qAbs(value), 'f', 2);
    return (value < 0 ? QStringLiteral("−") : value > 0 ? QStringLiteral("+") : QString()) + number;
}

QDoubleSpinBox *millimetres(const char *name, double min, double max, double value, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(2);
    box->setSingleStep(0.1);
    box->setRange(min, max);
    box->setValue(value);
    box->setSuffix(QStringLiteral(" мм"));
    return box;
}

} // namespace

PrinterCalibration::PrinterCalibration(SettingsStore &settings, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_dialog(std::make_unique<CommonDialog>(dialogs, this))
{
    setObjectName(QStringLiteral("PrinterCalibration"));
    setWindowTitle(Text::caption);

    cboPrinter = new QComboBox(this);
    cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    cboPrinter->addItems(QPrinterInfo::availablePrinterNames());

    cmdPrintPage = new QPushButton(Text::printPage, this);
    cmdPrintPage->setObjectName(QStringLiteral("cmdPrintPage"));

    QStringList stated;
    for (const CalibrationPage::Mark &mark : CalibrationPage::marks())
        stated << CalibrationPage::describe(mark);
    lblMarks = new QLabel(QStringLiteral("Перекрестья на странице: ") + stated.join(QStringLiteral(", ")), this);
    lblMarks->setObjectName(QStringLiteral("lblMarks"));
    auto *howTo = new QLabel(Text::howTo, this);
    howTo->setWordWrap(true);

    txtShiftX = millimetres("txtShiftX", -kMaxOffsetMm, kMaxOffsetMm, 0, this);
    txtShiftY = millimetres("txtShiftY", -kMaxOffsetMm, kMaxOffsetMm, 0, this);
    chkScale = new QCheckBox(Text::scale, this);
    chkScale->setObjectName(QStringLiteral("chkScale"));
    const double spanX = CalibrationPage::spanXMm();
    const double spanY = CalibrationPage::spanYMm();
    txtSpanX = millimetres("txtSpanX", spanX * kMinScale, spanX * kMaxScale, spanX, this);
    txtSpanY = millimetres("txtSpanY", spanY * kMinScale, spanY * kMaxScale, spanY, this);
    lblCorrection = new QLabel(this);
    lblCorrection->setObjectName(QStringLiteral("lblCorrection"));

    auto *buttons = new QDialogButtonBox(this);
    cmdOk = buttons->addButton(Text::save, QDialogButtonBox::AcceptRole);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = buttons->addButton(Text::cancel, QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *form = new QFormLayout;
    form->addRow(Text::printer, cboPrinter);
    form->addRow(QString(), cmdPrintPage);
    form->addRow(lblMarks);
    form->addRow(howTo);
    form->addRow(Text::shiftX, txtShiftX);
    form->addRow(Text::shiftY, txtShiftY);
    form->addRow(chkScale);
    form->addRow(Text::spanX, txtSpanX);
    form->addRow(Text::spanY, txtSpanY);
    form->addRow(lblCorrection);
    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterCalibration::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrinterCalibration::reject);
    connect(cmdPrintPage, &QPushButton::clicked, this, &PrinterCalibration::PrintCalibrationPage);
    connect(cboPrinter, &QComboBox::currentTextChanged, this, &PrinterCalibration::selectPrinter);
    for (QDoubleSpinBox *box : {txtShiftX, txtShiftY, txtSpanX, txtSpanY})
        connect(box, &QDoubleSpinBox::valueChanged, this, &PrinterCalibration::updateCorrection);
    connect(chkScale, &QCheckBox::toggled, this, &PrinterCalibration::updateCorrection);

    const QString preferred = QPrinterInfo::defaultPrinterName();
    if (!preferred.isEmpty())
        cboPrinter->setCurrentText(preferred);
    selectPrinter(cboPrinter->currentText());
}

PrinterCalibration::~PrinterCalibration() = default;

QString PrinterCalibration::printerName() const
{
    return cboPrinter->currentText();
}

// The printer is taken to print a point meant for x at d + s·x. Crosshair A at a lands
// a + shift, so d = shift − (s − 1)·a, and s is the measured span over the true one. Printing
// x at o + k·x with k = 1/s and o = −k·d puts it back at x.
PrinterCorrection PrinterCalibration::correction() const
{
    const QPointF a = CalibrationPage::marks().at(0).mm;
    const bool scaled = chkScale->isChecked();
    const double sX = scaled ? txtSpanX->value() / CalibrationPage::spanXMm() : 1;
    const double sY = scaled ? txtSpanY->value() / CalibrationPage::spanYMm() : 1;
    const double dX = txtShiftX->value() - (sX - 1) * a.x();
    const double dY = txtShiftY->value() - (sY - 1) * a.y();
    PrinterCorrection c;
    c.scaleX = 1 / sX;
    c.scaleY = 1 / sY;
    c.offsetXMm = -c.scaleX * dX;
    c.offsetYMm = -c.scaleY * dY;
    return c;
}

void PrinterCalibration::showMeasurements(const PrinterCorrection &c)
{
    const QPointF a = CalibrationPage::marks().at(0).mm;
    const double sX = 1 / c.scaleX;
    const double sY = 1 / c.scaleY;
    const double dX = -c.offsetXMm * sX;
    const double dY = -c.offsetYMm * sY;
    const QSignalBlocker blockShiftX(txtShiftX), blockShiftY(txtShiftY), blockSpanX(txtSpanX), blockSpanY(txtSpanY),
        blockScale(chkScale);
    txtShiftX->setValue(dX + (sX - 1) * a.x());
    txtShiftY->setValue(dY + (sY - 1) * a.y());
    chkScale->setChecked(c.scaleX != 1 || c.scaleY != 1);
    txtSpanX->setValue(CalibrationPage::spanXMm() * sX);
    txtSpanY->setValue(CalibrationPage::spanYMm() * sY);
    updateCorrection();
}

void PrinterCalibration::updateCorrection()
{
    txtSpanX->setEnabled(chkScale->isChecked());
    txtSpanY->setEnabled(chkScale->isChecked());
    const PrinterCorrection c = correction();
    QString text = QStringLiteral("Печать будет сдвинута: по X ") + signedMm(c.offsetXMm) + QStringLiteral(" мм, по Y ")
        + signedMm(c.offsetYMm) + QStringLiteral(" мм");
    if (chkScale->isChecked())
        text += QStringLiteral("; масштаб X ") + QLocale().toString(c.scaleX * 100, 'f', 2) + QStringLiteral(" %, Y ")
            + QLocale().toString(c.scaleY * 100, 'f', 2) + QStringLiteral(" %");
    lblCorrection->setText(text + QLatin1Char('.'));
    cmdOk->setEnabled(!printerName().isEmpty());
}

void PrinterCalibration::selectPrinter(const QString &name)
{
    if (cboPrinter->findText(name) < 0 && !name.isEmpty())
        cboPrinter->addItem(name);
    if (cboPrinter->currentText() != name) {
        // Comes back here through the combo's signal.
        cboPrinter->setCurrentText(name);
        return;
    }
    showMeasurements(PrinterCorrectionStore::read(m_settings, name));
}

void PrinterCalibration::PrintCalibrationPage()
{
    QPrinter printer(QPrinter::HighResolution);
    PageOutput::preparePrinter(printer);
    if (!printerName().isEmpty())
        printer.setPrinterName(printerName());
    const std::optional<QString> chosen = m_dialog->choosePrinter(printer);
    if (!chosen)
        return;
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    // Measured on a page printed to a file, a correction would belong to no printer.
    if (!chosen->isEmpty())
        selectPrinter(*chosen);
    const QSizeF paper = PageOutput::paperMm(printer.pageLayout()).size();
    PageOutput::printWith(printer, *m_dialog, [&](QPainter &painter) {
        CalibrationPage::paint(painter, printer.logicalDpiX() / 25.4, printer.logicalDpiY() / 25.4, paper);
    });
}

void PrinterCalibration::accept()
{
    if (printerName().isEmpty()) {
        m_dialog->inform(Text::noPrinter, Text::caption, Dialogs::Icon::Exclamation);
        return;
    }
    PrinterCorrectionStore::write(m_settings, printerName(), correction());
    QDialog::accept();
}

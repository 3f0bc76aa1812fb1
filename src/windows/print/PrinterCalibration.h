#pragma once

#include "page/PrinterCorrection.h"

#include <QDialog>

#include <memory>

class CommonDialog;
class Dialogs;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class SettingsStore;

// Measuring a printer once, so that the certificate lands in the boxes of the paper form: the
// operator prints the calibration page, measures with a ruler how far the crosshair A landed
// from where the page says it should be (and, if the printer stretches, the distances A–B and
// A–C), and enters it here. The correction is kept per printer name.
class PrinterCalibration final : public QDialog
{
    Q_OBJECT

public:
    PrinterCalibration(SettingsStore &settings, Dialogs &dialogs, QWidget *parent = nullptr);
    ~PrinterCalibration() override;

    QString printerName() const;
    // The correction the entered measurements give.
    PrinterCorrection correction() const;

    // Prints the calibration page as the printer prints it, without any correction.
    void PrintCalibrationPage();
    // Stores the correction for the chosen printer and closes.
    void accept() override;

private:
    void selectPrinter(const QString &name);
    void showMeasurements(const PrinterCorrection &correction);
    void updateCorrection();

    SettingsStore &m_settings;
    std::unique_ptr<CommonDialog> m_dialog;

    QComboBox *cboPrinter = nullptr;
    QLabel *lblMarks = nullptr;
    QDoubleSpinBox *txtShiftX = nullptr;
    QDoubleSpinBox *txtShiftY = nullptr;
    QCheckBox *chkScale = nullptr;
    QDoubleSpinBox *txtSpanX = nullptr;
    QDoubleSpinBox *txtSpanY = nullptr;
    QLabel *lblCorrection = nullptr;
    QPushButton *cmdPrintPage = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};

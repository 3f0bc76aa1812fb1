#pragma once

#include <QPointF>
#include <QString>
#include <QTransform>

class SettingsStore;

// How far one printer's output is off, as the operator measured it on the calibration page,
// turned into what every print on that printer is moved and stretched by: a point meant for
// (x, y) mm on the paper is drawn at offset + scale × (x, y). The PDF is never corrected.
struct PrinterCorrection
{
    double offsetXMm = 0;
    double offsetYMm = 0;
    double scaleX = 1;
    double scaleY = 1;

    bool isIdentity() const { return offsetXMm == 0 && offsetYMm == 0 && scaleX == 1 && scaleY == 1; }
    // Paper millimetres as the page means them to millimetres as they are drawn.
    QTransform transformMm() const;
    QPointF apply(QPointF mm) const { return transformMm().map(mm); }

    friend bool operator==(const PrinterCorrection &, const PrinterCorrection &) = default;
};

// The largest correction that is taken for a measurement: beyond these a stored value is a
// typing slip or a damaged settings file, and is clamped on reading.
constexpr double kMaxOffsetMm = 30;
constexpr double kMinScale = 0.9;
constexpr double kMaxScale = 1.1;

// The corrections live in the settings store, one set of entries per printer name. Printer
// names may hold any character, the settings file's separators included, so the name is
// encoded into the key.
namespace PrinterCorrectionStore {

// Identity for an empty name (a file, no printer) and for a printer never calibrated.
PrinterCorrection read(const SettingsStore &settings, const QString &printerName);
// An empty name stores nothing.
void write(SettingsStore &settings, const QString &printerName, const PrinterCorrection &correction);

} // namespace PrinterCorrectionStore

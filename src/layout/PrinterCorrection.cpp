#include "PrinterCorrection.h"

#include "platform/RegionalNumber.h"
#include "platform/SettingsStore.h"

#include <QUrl>

namespace {

const QString kSection = QStringLiteral("PrinterCalibration");

// "HP LaserJet/2" -> "HP%20LaserJet%2F2": letters, digits and "-._~" stay as they are.
QString keyOf(const QString &printerName, const char *what)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(printerName)) + QLatin1Char('.') + QLatin1String(what);
}

} // namespace

QTransform PrinterCorrection::transformMm() const
{
    return QTransform(scaleX, 0, 0, scaleY, offsetXMm, offsetYMm);
}

namespace PrinterCorrectionStore {

PrinterCorrection read(const SettingsStore &settings, const QString &printerName)
{
    PrinterCorrection c;
    if (printerName.isEmpty())
        return c;
    const RealRange offsets{-kMaxOffsetMm, kMaxOffsetMm};
    const RealRange scales{kMinScale, kMaxScale};
    c.offsetXMm = settings.realValue(kSection, keyOf(printerName, "OffsetX"), 0, offsets);
    c.offsetYMm = settings.realValue(kSection, keyOf(printerName, "OffsetY"), 0, offsets);
    c.scaleX = settings.realValue(kSection, keyOf(printerName, "ScaleX"), 1, scales);
    c.scaleY = settings.realValue(kSection, keyOf(printerName, "ScaleY"), 1, scales);
    return c;
}

void write(SettingsStore &settings, const QString &printerName, const PrinterCorrection &correction)
{
    if (printerName.isEmpty())
        return;
    const auto put = [&](const char *what, double value) {
        settings.setValue(kSection, keyOf(printerName, what), RegionalNumber::format(float(value)));
    };
    put("OffsetX", correction.offsetXMm);
    put("OffsetY", correction.offsetYMm);
    put("ScaleX", correction.scaleX);
    put("ScaleY", correction.scaleY);
    settings.sync();
}

} // namespace PrinterCorrectionStore

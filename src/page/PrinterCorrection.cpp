#include "PrinterCorrection.h"

#include "platform/RegionalNumber.h"
#include "platform/SettingsStore.h"

#include <QUrl>

#include <cmath>

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
    // Stored numbers come back in single precision; the written decimal is what was meant, so
    // -0,7 reads as -0.7 and not as the float nearest to it.
    const auto get = [&](const char *what, double defaultValue, RealRange range) {
        return std::round(settings.realValue(kSection, keyOf(printerName, what), defaultValue, range) * 1e6) / 1e6;
    };
    c.offsetXMm = get("OffsetX", 0, offsets);
    c.offsetYMm = get("OffsetY", 0, offsets);
    c.scaleX = get("ScaleX", 1, scales);
    c.scaleY = get("ScaleY", 1, scales);
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

#include "PageText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>

namespace PageText {

namespace {

// A device of high resolution to measure on, so that no rounding of a coarse device leaks
// into the widths: 1200 dots per inch.
QPaintDevice *referenceDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(1200 / 0.0254));
        image.setDotsPerMeterY(qRound(1200 / 0.0254));
        return image;
    }();
    return &device;
}

} // namespace

void registerFontSubstitutions()
{
    static const bool done = [] {
        // A dot-matrix printer's letters are even-width: a monospaced face.
        QFont::insertSubstitutions(QStringLiteral("Epson1"),
                                   {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
        // The certificate number is printed in narrow bold figures.
        QFont::insertSubstitutions(QStringLiteral("PTS_Number_1"),
                                   {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans")});
        QFont::insertSubstitutions(QStringLiteral("@Arial Unicode MS"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(done);
}

QFont fontOf(const LabelFontSpec &wanted)
{
    QFont font(wanted.face);
    if (wanted.size > 0)
        font.setPointSizeF(wanted.size);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

bool isFaceAvailable(const QString &face)
{
    if (face.trimmed().isEmpty())
        return false;
    if (QFontDatabase::hasFamily(face))
        return true;
    for (const QString &substitute : QFont::substitutes(face)) {
        if (QFontDatabase::hasFamily(substitute))
            return true;
    }
    return false;
}

QString shownFamily(const LabelFontSpec &font)
{
    return QFontInfo(fontOf(font)).family();
}

bool showsFace(const LabelFontSpec &font, const QString &face)
{
    const QString shown = shownFamily(font);
    if (shown.compare(face.trimmed(), Qt::CaseInsensitive) == 0)
        return true;
    for (const QString &substitute : QFont::substitutes(face.trimmed())) {
        if (shown.compare(substitute, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

DeviceFont deviceFont(const LabelFontSpec &wanted, qreal dpi)
{
    DeviceFont result{fontOf(wanted), 1};
    const qreal exact = qMax<qreal>(wanted.size, 0.1) * dpi / 72;
    // The font engine's metrics overflow beyond about 16000 dots (a height of 1255 points on
    // the 1200-dpi measuring device came out negative). Unhinted letters scale linearly, so a
    // larger size is taken at this one and scaled up by the painter.
    constexpr int kLargestWholeSize = 2048;
    const int whole = qBound(1, qRound(exact), kLargestWholeSize);
    result.font.setPixelSize(whole);
    result.scale = exact / whole;
    return result;
}

QSizeF textSizeMmOn(const LabelFontSpec &wanted, const QString &text, QPaintDevice *device)
{
    const qreal dpiX = device->logicalDpiX();
    const qreal dpiY = device->logicalDpiY();
    const DeviceFont font = deviceFont(wanted, dpiY);
    const QFontMetricsF metrics(font.font, device);
    return {metrics.horizontalAdvance(text) * font.scale * 25.4 / dpiX, metrics.height() * font.scale * 25.4 / dpiY};
}

QSizeF textSizeMm(const LabelFontSpec &wanted, const QString &text)
{
    return textSizeMmOn(wanted, text, referenceDevice());
}

} // namespace PageText

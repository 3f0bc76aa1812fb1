#include "PageText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPaintDevice>

#include <memory>

// Found by the hash tables below through the type's own namespace.
static size_t qHash(const LabelFontSpec &font, size_t seed = 0)
{
    return qHashMulti(seed, font.face, font.size, font.bold, font.italic);
}

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

// A label's font on the measuring device, made once per run: the font engine is looked up (a
// font configuration query each time) and its line height taken once, however often labels
// in that font are measured.
struct ReferenceFont
{
    DeviceFont font;
    QFontMetricsF metrics;
    qreal height;
};

// Operators pick among a handful of fonts; a run that somehow asks for very many only
// measures them again.
constexpr qsizetype kReferenceFontsKept = 64;

const ReferenceFont &referenceFont(const LabelFontSpec &wanted)
{
    static QHash<LabelFontSpec, std::shared_ptr<const ReferenceFont>> fonts;
    if (const auto found = fonts.constFind(wanted); found != fonts.constEnd())
        return **found;
    if (fonts.size() >= kReferenceFontsKept)
        fonts.clear();
    QPaintDevice *device = referenceDevice();
    const DeviceFont font = deviceFont(wanted, device->logicalDpiY());
    const QFontMetricsF metrics(font.font, device);
    auto made = std::make_shared<const ReferenceFont>(ReferenceFont{font, metrics, metrics.height()});
    return **fonts.insert(wanted, std::move(made));
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
    // Each look-up is a font configuration query of a millisecond or more, and the font file
    // names a face for every label: asked once per face and run. The program installs no
    // fonts while it runs.
    static QHash<QString, bool> known;
    if (const auto found = known.constFind(face); found != known.constEnd())
        return *found;
    bool available = false;
    if (!face.trimmed().isEmpty()) {
        available = QFontDatabase::hasFamily(face);
        for (const QString &substitute : QFont::substitutes(face)) {
            if (available)
                break;
            available = QFontDatabase::hasFamily(substitute);
        }
    }
    if (known.size() >= kReferenceFontsKept)
        known.clear();
    known.insert(face, available);
    return available;
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
    // As textSizeMmOn on the measuring device, with the font looked up once per run.
    const QPaintDevice *device = referenceDevice();
    const ReferenceFont &font = referenceFont(wanted);
    return {font.metrics.horizontalAdvance(text) * font.font.scale * 25.4 / device->logicalDpiX(),
            font.height * font.font.scale * 25.4 / device->logicalDpiY()};
}

} // namespace PageText

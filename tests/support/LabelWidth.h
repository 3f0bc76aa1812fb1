#pragma once

#include "certificate/LayoutTypes.h"
#include "certificate/PageText.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QString>

// How wide a label's text is, known without the program's own measure: by the design of a
// monospaced face, or by the ink the text leaves when drawn.
namespace LabelWidth {

// "Epson1" is drawn in Liberation Mono, whose every letter advances 1229/2048 of the em.
inline double epson1Mm(const QString &text, double points)
{
    return text.size() * 1229.0 / 2048.0 * points * 25.4 / 72.0;
}

// The width of the ink of `text` drawn in the face the label shows, at 1200 dpi, in millimetres.
inline double inkMm(const LabelFontSpec &font, const QString &text)
{
    constexpr double dpi = 1200;
    QFont face(QFontInfo(PageText::fontOf(font)).family());
    face.setPointSizeF(font.size);
    face.setBold(font.bold);
    face.setItalic(font.italic);
    face.setHintingPreference(QFont::PreferNoHinting);
    // The page sets its letters without kerning, so that a text measures the same everywhere.
    face.setKerning(false);
    const int height = int(font.size * 3 * dpi / 72);
    QImage image(int(text.size() * font.size * 1.5 * dpi / 72) + height, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(face);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(height / 2.0, height * 2.0 / 3), text);
    painter.end();
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right < left ? 0 : (right + 1 - left) * 25.4 / dpi;
}

// How far the text advances, from ink alone: the ink of the text between two bars, less the
// ink of the two bars side by side. The bars' own side bearings cancel out, and so do those
// of the text's first and last letters, which its ink alone would leave out.
inline double advanceMm(const LabelFontSpec &font, const QString &text)
{
    const QString bar = QStringLiteral("|");
    return inkMm(font, bar + text + bar) - inkMm(font, bar + bar);
}

// Whether a label is as wide as its text in its font, and 4 mm wider: for "Epson1" by the
// design of its monospaced stand-in, else by the advance its drawn ink shows.
inline bool sizedToItsText(const LabelFontSpec &font, const QString &text, float width, QString *why = nullptr)
{
    const double textWidth = width - 4.0;
    double expected = 0;
    double tolerance = 0;
    if (font.face == QLatin1String("Epson1")) {
        expected = epson1Mm(text, font.size);
        tolerance = 0.01;
    } else {
        expected = advanceMm(font, text);
        // The page measures a font at a whole number of dots and scales it; its advances then
        // differ from the drawn ones by a few thousandths, far below any wrong size or style.
        tolerance = 0.05 + 0.003 * expected;
    }
    if (why)
        *why = QStringLiteral("%1 %2: width %3 mm, text %4 mm").arg(font.face).arg(font.size).arg(width).arg(expected);
    return qAbs(textWidth - expected) <= tolerance;
}

} // namespace LabelWidth

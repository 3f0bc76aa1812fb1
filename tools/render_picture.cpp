// Renders one of the built-in vector pictures to a PNG with a transparent background, at the
// pixel size the print window shows it (one picture pixel per screen pixel at 96 DPI).
//
//   trelvax_render_picture <in.svg> <out.png> <width> <height> [--ink <seed>]
//
// An output named *.argb gets the premultiplied pixels as they are drawn, with no encoding to
// undo: "TVXARGB1", width and height as 32-bit little-endian numbers, then each pixel as a
// 32-bit little-endian 0xAARRGGBB, row after row. The program reads it in a fraction of the time
// a PNG takes to decode (see page/BuiltInRaster).
//
// --ink makes the colour lie unevenly, as a rubber stamp leaves it: a broad fall-off across the
// impression, blotches a few pixels wide and a fine grain. The pattern depends on the seed only,
// so every build writes the same bytes.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cmath>
#include <cstdint>

namespace {

// A hash of a lattice point to [0, 1); the same on every machine.
double latticeValue(int x, int y, uint32_t seed)
{
    uint32_t h = seed ^ 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

// Smoothly interpolated lattice noise with features about `cell` pixels across.
double valueNoise(double x, double y, double cell, uint32_t seed)
{
    const double fx = x / cell, fy = y / cell;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = latticeValue(ix, iy, seed), b = latticeValue(ix + 1, iy, seed);
    const double c = latticeValue(ix, iy + 1, seed), d = latticeValue(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

void applyUnevenInk(QImage &image, uint32_t seed)
{
    const double cx = image.width() / 2.0, cy = image.height() / 2.0;
    const double radius = std::max(cx, cy);
    // The side the stamp was pressed harder on.
    const double heavyAngle = latticeValue(7, 11, seed) * 2 * M_PI;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) == 0)
                continue;
            const double dx = (x - cx) / radius, dy = (y - cy) / radius;
            const double pressure = 0.86 + 0.14 * (dx * std::cos(heavyAngle) + dy * std::sin(heavyAngle));
            const double blotches = valueNoise(x, y, 7.0, seed);
            const double mottle = valueNoise(x, y, 2.5, seed + 1);
            const double grain = latticeValue(x, y, seed + 2);
            double ink = pressure * (0.52 + 0.30 * blotches + 0.12 * mottle + 0.10 * grain);
            // Ink starved in a few spots, where the rubber barely touched.
            if (blotches < 0.16 && mottle < 0.45)
                ink *= 0.45;
            ink = std::clamp(ink, 0.0, 1.0);
            line[x] = qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), int(std::lround(qAlpha(pixel) * ink)));
        }
    }
}

bool writeRawPixels(const QImage &image, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes("TVXARGB1");
    const auto append = [&bytes](quint32 value) {
        const quint32 little = qToLittleEndian(value);
        bytes.append(reinterpret_cast<const char *>(&little), sizeof little);
    };
    append(quint32(image.width()));
    append(quint32(image.height()));
    bytes.reserve(bytes.size() + qsizetype(image.width()) * image.height() * 4);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            append(line[x]);
    }
    return file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 5 && !(args.size() == 7 && args.at(5) == QLatin1String("--ink"))) {
        err << "usage: trelvax_render_picture <in.svg> <out.png> <width> <height> [--ink <seed>]\n";
        return 2;
    }
    bool widthOk = false, heightOk = false, seedOk = true;
    const int width = args.at(3).toInt(&widthOk);
    const int height = args.at(4).toInt(&heightOk);
    const uint32_t seed = args.size() == 7 ? args.at(6).toUInt(&seedOk) : 0;
    if (!widthOk || !heightOk || !seedOk || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        err << "trelvax_render_picture: bad size or seed\n";
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        err << "trelvax_render_picture: cannot read " << args.at(1) << '\n';
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    if (args.at(2).endsWith(QLatin1String(".argb"))) {
        if (args.size() == 7) {
            err << "trelvax_render_picture: --ink is for PNG pictures\n";
            return 2;
        }
        if (!writeRawPixels(image, args.at(2))) {
            err << "trelvax_render_picture: cannot write " << args.at(2) << '\n';
            return 1;
        }
        return 0;
    }
    image.convertTo(QImage::Format_ARGB32);
    if (args.size() == 7)
        applyUnevenInk(image, seed);
    if (!image.save(args.at(2), "PNG")) {
        err << "trelvax_render_picture: cannot write " << args.at(2) << '\n';
        return 1;
    }
    return 0;
}

#include "BuiltInRaster.h"

#include <QFile>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <QSysInfo>
#include <QtEndian>

#include <deque>

namespace BuiltInRaster {

namespace {

struct Entry
{
    QString resource;
    QSize devicePixels;
    qreal ratio = 1;
    QImage image;
};

// A print window on one screen asks for one size of each blank; a second size is kept for a
// frame moved to a screen of another scale, so that moving it back costs nothing.
constexpr size_t kKeptPerResource = 2;

std::deque<Entry> &entries()
{
    static std::deque<Entry> cache;
    return cache;
}

// The raster the build drew from the same vector art for this size, when there is one: the
// resource's name with the pixel size for ".svg" (":/assets/blank1-302x429.argb"). Its pixels
// are stored as they are drawn, premultiplied and uncompressed (see tools/render_picture.cpp),
// so that the image is the program's own memory: nothing is decoded or copied, and only the
// pages the screen shows are read.
QImage builtRaster(const QString &svg, QSize devicePixels)
{
    if (!svg.endsWith(QLatin1String(".svg")))
        return {};
    const QString name = svg.chopped(4)
        + QStringLiteral("-%1x%2.argb").arg(devicePixels.width()).arg(devicePixels.height());
    const QResource resource(name);
    if (!resource.isValid())
        return {};
    // Pixels that stay in the resource must outlive every image made of them: only
    // uncompressed ones do.
    const bool inPlace = resource.compressionAlgorithm() == QResource::NoCompression;
    const QByteArray bytes = inPlace
        ? QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size())
        : resource.uncompressedData();
    constexpr qsizetype kHeader = 16;
    const qsizetype pixels = qsizetype(devicePixels.width()) * devicePixels.height();
    if (bytes.size() != kHeader + pixels * 4 || !bytes.startsWith("TVXARGB1")
        || qFromLittleEndian<quint32>(bytes.constData() + 8) != quint32(devicePixels.width())
        || qFromLittleEndian<quint32>(bytes.constData() + 12) != quint32(devicePixels.height()))
        return {};
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData() + kHeader);
    const qsizetype row = qsizetype(devicePixels.width()) * 4;
    if (inPlace && QSysInfo::ByteOrder == QSysInfo::LittleEndian && quintptr(data) % alignof(quint32) == 0)
        return QImage(data, devicePixels.width(), devicePixels.height(), row, QImage::Format_ARGB32_Premultiplied);
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    for (int y = 0; y < devicePixels.height(); ++y)
        qFromLittleEndian<quint32>(data + y * row, devicePixels.width(), image.scanLine(y));
    return image;
}

QImage drawnRaster(const QString &resource, QSize devicePixels)
{
    if (!QFile::exists(resource))
        return {};
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter);
    return image;
}

} // namespace

QImage raster(const QString &resource, QSize devicePixels, qreal ratio)
{
    if (devicePixels.isEmpty() || ratio <= 0)
        return {};
    std::deque<Entry> &cache = entries();
    for (const Entry &entry : cache) {
        if (entry.resource == resource && entry.devicePixels == devicePixels && entry.ratio == ratio)
            return entry.image;
    }
    QImage image = builtRaster(resource, devicePixels);
    if (image.isNull())
        image = drawnRaster(resource, devicePixels);
    if (image.isNull())
        return {};
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);

    // Newest first; the oldest raster of the same picture beyond the kept number goes.
    cache.push_front({resource, devicePixels, ratio, image});
    size_t kept = 0;
    for (auto it = cache.begin(); it != cache.end();) {
        if (it->resource == resource && ++kept > kKeptPerResource)
            it = cache.erase(it);
        else
            ++it;
    }
    return image;
}

} // namespace BuiltInRaster

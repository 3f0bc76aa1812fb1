#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QtEndian>

// PNG files as bytes, for the tests of the stamp and signature loader.
namespace PngBytes {

inline quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A valid PNG whose header claims the given size, its checksum mended: what a decompression
// bomb looks like before it is decoded.
inline QByteArray claiming(const QByteArray &png, quint32 width, quint32 height)
{
    QByteArray bytes = png;
    // Signature (8), length (4), "IHDR" (4), then width and height.
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    qToBigEndian(crc32(bytes.mid(12, 4 + 13)), bytes.data() + 12 + 4 + 13);
    return bytes;
}

inline QByteArray encode(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace PngBytes

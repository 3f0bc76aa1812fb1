#include "PlatformColour.h"

#include <array>

namespace PlatformColour {

QColor toColor(qint32 value)
{
    const auto bits = quint32(value);
    if (bits & 0x80000000u) {
        // The classic system colours, by index; the text colours are black.
        static constexpr std::array<QRgb, 25> kSystem = {
            0xc0c0c0, 0x008080, 0x000080, 0x808080, 0xc0c0c0, 0xffffff, 0x000000, 0x000000,
            0x000000, 0xffffff, 0xc0c0c0, 0xc0c0c0, 0x808080, 0x000080, 0xffffff, 0xc0c0c0,
            0x808080, 0x808080, 0x000000, 0xc0c0c0, 0xffffff, 0x000000, 0xdfdfdf, 0x000000,
            0xffffe1,
        };
        const quint32 index = bits & 0x00ffffffu;
        return index < kSystem.size() ? QColor(kSystem[index]) : QColor(Qt::black);
    }
    return QColor(int(bits & 0xff), int((bits >> 8) & 0xff), int((bits >> 16) & 0xff));
}

qint32 fromColor(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return qint32(quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16);
}

} // namespace PlatformColour

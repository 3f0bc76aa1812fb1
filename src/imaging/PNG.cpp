#include "PNG.h"

#include "platform/Dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <array>

QString GdiplusStatusText(int status)
{
    static constexpr std::array<const char *, 21> kTexts = {
        "Ok",
        "Generic error",
        "Invalid parameter",
        "Out of memory",
        "Object busy",
        "Insufficient buffer",
        "Not implemented",
        "Win32 error",
        "Wrong state",
        "Aborted",
        "File not found",
        "Value overflow",
        "Access denied",
        "Unknown image format",
        "Font family not found",
        "Font style not found",
        "Not TrueType font",
        "Unsupported GDI+ version",
        "GDI+ not initialized",
        "Property not found",
        "Property not supported",
    };
    if (status >= 1 && status < int(kTexts.size()))
        return QString::fromLatin1(kTexts[size_t(status)]);
    return QStringLiteral("Unknown GDI+ error");
}

int ReportGdiplusStatus(Dialogs &dialogs, int status, QWidget *owner)
{
    if (status != Gdiplus::Ok)
        dialogs.inform(GdiplusStatusText(status), QStringLiteral("GDI+ Error"), Dialogs::Icon::Exclamation, owner);
    return status;
}

using namespace Gdiplus;

namespace {

int statusOf(const QImageReader &reader)
{
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        return FileNotFound;
    case QImageReader::UnsupportedFormatError:
        return UnknownImageFormat;
    case QImageReader::DeviceError:
        return AccessDenied;
    default:
        return GenericError;
    }
}

// Scales every premultiplied channel by opacity / 255, rounded: what a blend with a constant
// source alpha does to each pixel before it meets the background.
void applyOpacity(QImage &image, int opacity)
{
    if (opacity >= 255)
        return;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const auto scale = [opacity](int channel) { return (channel * opacity + 127) / 255; };
            line[x] = qRgba(scale(qRed(p)), scale(qGreen(p)), scale(qBlue(p)), scale(qAlpha(p)));
        }
    }
}

} // namespace

QImage LoadPngPicture(Dialogs &dialogs, const QString &path, int opacity, int logicalDpiX, int logicalDpiY,
                      QWidget *owner)
{
    const auto fail = [&dialogs, owner](int status) {
        ReportGdiplusStatus(dialogs, status, owner);
        return QImage();
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        return fail(FileNotFound);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(AccessDenied);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return fail(UnknownImageFormat);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > kMaxPictureBytes)
        return fail(OutOfMemory);
    reader.setAllocationLimit(int(kMaxPictureBytes / (1024 * 1024)));

    QImage image = reader.read();
    if (image.isNull())
        return fail(statusOf(reader));

    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    applyOpacity(image, qBound(0, opacity, 255));
    if (logicalDpiX > 0 && logicalDpiY > 0) {
        image.setDotsPerMeterX(qRound(logicalDpiX / 0.0254));
        image.setDotsPerMeterY(qRound(logicalDpiY / 0.0254));
    }
    return image;
}

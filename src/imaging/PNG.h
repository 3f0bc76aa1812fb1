#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class Dialogs;
class QWidget;

// Stamp and signature pictures: a PNG with transparent parts becomes a picture that keeps its
// per-pixel alpha, made partly transparent as a whole by a constant opacity, and shown one
// picture pixel per logical screen pixel. Failures are shown in the "GDI+ Error" box with the
// status texts operators know from the program's earlier versions.

// Status numbers of the picture loader and their texts.
namespace Gdiplus {
enum Status : int {
    Ok = 0,
    GenericError = 1,
    OutOfMemory = 3,
    FileNotFound = 10,
    AccessDenied = 12,
    UnknownImageFormat = 13,
};
} // namespace Gdiplus

QString GdiplusStatusText(int status);
// Shows a non-zero status in a warning box titled "GDI+ Error"; returns the status.
int ReportGdiplusStatus(Dialogs &dialogs, int status, QWidget *owner = nullptr);

// Decoding more than this many bytes of pixels is refused: a small file may claim a picture of
// gigabytes.
constexpr qint64 kMaxPictureBytes = qint64(256) * 1024 * 1024;

// The picture with per-pixel alpha and the constant opacity (0..255, 255 opaque) applied, as
// QImage::Format_ARGB32_Premultiplied, its dots-per-metre set to the given logical DPI so that
// it shows one picture pixel per logical screen pixel; a null QImage when nothing can be loaded
// (the failure has been shown in the "GDI+ Error" box through `dialogs`, over `owner`).
QImage LoadPngPicture(Dialogs &dialogs, const QString &path, int opacity, int logicalDpiX = 96, int logicalDpiY = 96,
                      QWidget *owner = nullptr);

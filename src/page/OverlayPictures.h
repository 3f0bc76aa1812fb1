#pragma once

#include <QImage>
#include <QString>

class Dialogs;
class QWidget;

// The stamp and the signature as LoadPngPicture makes them, kept for the run while their file
// holds the same bytes: every opening of the print window shows them, and decoding a scan takes
// longer than showing the rest of the window. A file rewritten with another picture is decoded
// again, whatever its size and time stamps say; a file that cannot be loaded is tried, and
// reported, at every opening as before.
namespace OverlayPictures {

// A failure is shown over `owner`, the window the operator sees.
QImage load(Dialogs &dialogs, const QString &path, int opacity, int logicalDpiX, int logicalDpiY,
            QWidget *owner = nullptr);

} // namespace OverlayPictures

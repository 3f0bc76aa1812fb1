// Feeds arbitrary bytes as the stamp or signature file. The loader must never crash, must
// refuse a picture whose pixels would not fit the limit before it decodes them, and must either
// return a picture or say why not in exactly one "GDI+ Error" box.
#include "FuzzSupport.h"

#include "imaging/PNG.h"

#include <QGuiApplication>

#include <algorithm>

using FuzzSupport::check;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Pictures of every format the reader knows, plug-ins included, as in the program.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the opacity, as the two callers differ in it.
    const int opacity = size > 0 ? data[0] : 255;
    const QString path = FuzzSupport::writeScratch(QStringLiteral("pechat.png"), data, size);

    FuzzSupport::CountingDialogs dialogs;
    const QImage picture = LoadPngPicture(dialogs, path, opacity, 96, 96);
    if (picture.isNull()) {
        check(dialogs.messages == 1);
        check(dialogs.last.caption == QStringLiteral("GDI+ Error"));
        check(!dialogs.last.text.isEmpty());
        return 0;
    }
    check(dialogs.messages == 0);
    check(picture.format() == QImage::Format_ARGB32_Premultiplied);
    check(qint64(picture.width()) * picture.height() * 4 <= kMaxPictureBytes);
    check(picture.dotsPerMeterX() == qRound(96 / 0.0254));
    // Premultiplied: no channel above its alpha, and the opacity caps the alpha.
    for (int y = 0; y < picture.height(); y += std::max(1, picture.height() / 16)) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); x += std::max(1, picture.width() / 16)) {
            const QRgb p = line[x];
            check(qRed(p) <= qAlpha(p) && qGreen(p) <= qAlpha(p) && qBlue(p) <= qAlpha(p));
            check(qAlpha(p) <= opacity);
        }
    }
    return 0;
}

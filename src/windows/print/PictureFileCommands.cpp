#include "PictureFileCommands.h"

#include "certificate/CertificateLayout.h"
#include "imaging/PNG.h"
#include "page/OverlayPictures.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QImageReader>
#include <QWidget>

namespace {

// The dialogs' filters as operators have always seen them, the stamp's odd middle pair included.
const QString kBackgroundFilter = QStringLiteral(
    "Файлы (*.jpg)|*.jpg|Файлы (*.gif)|*.gif|Файлы (*.bmp)|*.bmp|Все файлы(*.*)|*.*|");
const QString kBackgroundPattern = QStringLiteral("*.jpg");
const QString kOverlayFilter = QStringLiteral("Файлы (*.png)|*.png|Файлы|Все файлы(*.*)|*.*|");
const QString kOverlayPattern = QStringLiteral("*.png");

constexpr int kStampOpacity = 200;
constexpr int kSignatureOpacity = 255;

} // namespace

QImage LoadBackgroundPicture(const QString &path, int logicalDpiX, int logicalDpiY)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    image.setDotsPerMeterX(qRound(logicalDpiX / 0.0254));
    image.setDotsPerMeterY(qRound(logicalDpiY / 0.0254));
    return image;
}

PictureFileCommands::PictureFileCommands(Platform &platform, CommonDialog &dialog, CertificateLayout &layout,
                                         QWidget &page, VisibilityBoxes boxes, QObject *parent)
    : QObject(parent), m_platform(platform), m_dialog(dialog), m_layout(layout), m_page(page), m_boxes(boxes)
{
}

void PictureFileCommands::readSettings()
{
    m_settings = PictureFileStore(m_platform.settings).read();
    if (!m_settings.img1FName.isEmpty())
        loadBackground(PictureId::Image1, m_settings.img1FName);
    if (!m_settings.img2FName.isEmpty())
        loadBackground(PictureId::Image2, m_settings.img2FName);
}

void PictureFileCommands::writeSettings() const
{
    PictureFileStore(m_platform.settings).write(m_settings);
}

void PictureFileCommands::loadOverlays()
{
    m_layout.setPictureImage(PictureId::ImPech,
                             loadOverlay(PictureId::ImPech, m_platform.programFile(QStringLiteral("pechat.png"))));
    m_layout.setPictureImage(PictureId::ImPodp,
                             loadOverlay(PictureId::ImPodp, m_platform.programFile(QStringLiteral("podpis.png"))));
    // Whatever the chosen file gives is shown, nothing included: the loader has said why.
    if (!m_settings.PechFName.isEmpty())
        m_layout.setPictureImage(PictureId::ImPech, loadOverlay(PictureId::ImPech, m_settings.PechFName));
    if (!m_settings.PodpFName.isEmpty())
        m_layout.setPictureImage(PictureId::ImPodp, loadOverlay(PictureId::ImPodp, m_settings.PodpFName));
}

void PictureFileCommands::LoadBackgroundFile(PictureId side)
{
    Q_ASSERT(side == PictureId::Image1 || side == PictureId::Image2);
    const std::optional<QString> path = m_dialog.openFile(
        {kBackgroundFilter, m_settings.VibFolder1, QString(), kBackgroundPattern});
    if (!path)
        return;
    // The choice is kept even when the file does not load: the operator may mend the file
    // before the next opening.
    fileEntry(side) = *path;
    m_settings.VibFolder1 = *path;
    if (loadBackground(side, *path))
        showTicked(side);
}

void PictureFileCommands::LoadOverlayFile(PictureId overlay)
{
    Q_ASSERT(overlay == PictureId::ImPech || overlay == PictureId::ImPodp);
    QString &folder = overlay == PictureId::ImPech ? m_settings.VibFolder3 : m_settings.VibFolder4;
    const std::optional<QString> path = m_dialog.openFile({kOverlayFilter, folder, QString(), kOverlayPattern});
    if (!path)
        return;
    fileEntry(overlay) = *path;
    folder = *path;
    // A file the loader cannot read leaves the control empty, after the loader's own message.
    m_layout.setPictureImage(overlay, loadOverlay(overlay, *path));
    showTicked(overlay);
}

void PictureFileCommands::RestoreBuiltInPicture(PictureId picture)
{
    fileEntry(picture).clear();
    Q_EMIT reopenRequested();
}

bool PictureFileCommands::loadBackground(PictureId side, const QString &path)
{
    const QImage image = LoadBackgroundPicture(path, m_page.logicalDpiX(), m_page.logicalDpiY());
    if (image.isNull())
        return false;
    m_layout.setPictureImage(side, image);
    return true;
}

QImage PictureFileCommands::loadOverlay(PictureId overlay, const QString &path) const
{
    // The loader's message appears over the window the operator sees, the frame around the page.
    return OverlayPictures::load(m_platform.dialogs, path,
                                 overlay == PictureId::ImPech ? kStampOpacity : kSignatureOpacity, m_page.logicalDpiX(),
                                 m_page.logicalDpiY(), m_page.window());
}

void PictureFileCommands::showTicked(PictureId picture)
{
    QCheckBox *box = nullptr;
    switch (picture) {
    case PictureId::Image1:
        box = m_boxes.ChFonVis1;
        break;
    case PictureId::Image2:
        box = m_boxes.ChFonVis2;
        break;
    case PictureId::ImPech:
        box = m_boxes.ChPechVis2;
        break;
    case PictureId::ImPodp:
        box = m_boxes.ChPodpVis2;
        break;
    }
    if (box)
        box->setChecked(true);
    m_layout.setPictureVisible(picture, true);
}

QString &PictureFileCommands::fileEntry(PictureId picture)
{
    switch (picture) {
    case PictureId::Image1:
        return m_settings.img1FName;
    case PictureId::Image2:
        return m_settings.img2FName;
    case PictureId::ImPech:
        return m_settings.PechFName;
    case PictureId::ImPodp:
        break;
    }
    return m_settings.PodpFName;
}

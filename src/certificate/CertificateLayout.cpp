#include "CertificateLayout.h"

#include "BuiltInLayout.h"
#include "ColourCode.h"
#include "LayoutState.h"
#include "PageText.h"

using namespace ColourCode;

CertificateLayout::CertificateLayout(LayoutState &state, QObject *parent) : QObject(parent), m_state(state)
{
    // Before the first label is measured.
    PageText::registerFontSubstitutions();
    for (int i = 0; i < kLabelCount; ++i) {
        Label &l = at(i);
        l.pos = BuiltInLayout::designPosition(i);
        l.font = BuiltInLayout::designFont(i);
        l.foreColour = kNormalText;
        l.visible = !BuiltInLayout::isAlwaysHidden(i);
    }
    for (int p = 0; p < kPictureCount; ++p)
        m_pictures[size_t(p)].pos = BuiltInLayout::missingPicturePosition(PictureId(p));
}

void CertificateLayout::setLabelText(int i, const QString &text)
{
    at(i).text = text;
    autoSizeLabel(i, 0);
}

void CertificateLayout::loadLabelText(int i, const QString &text)
{
    at(i).text = text;
    Q_EMIT labelChanged(i);
}

void CertificateLayout::setLabelFont(int i, const LabelFontSpec &font)
{
    at(i).font = font;
    Q_EMIT labelChanged(i);
}

void CertificateLayout::applyFontSettings(int i, const LabelFontSettings &settings)
{
    LabelFontSpec font = label(i).font;
    if (settings.face && PageText::isFaceAvailable(*settings.face))
        font.face = *settings.face;
    if (settings.bold)
        font.bold = *settings.bold;
    if (settings.italic)
        font.italic = *settings.italic;
    // Sizes a label can take; anything else is refused and skipped.
    if (settings.size && *settings.size >= 1 && *settings.size <= 1638)
        font.size = *settings.size;
    setLabelFont(i, font);
}

void CertificateLayout::autoSizeLabel(int i, float extraWidthMm)
{
    Label &l = at(i);
    const QSizeF size = PageText::textSizeMm(l.font, l.text);
    l.width = float(size.width()) + extraWidthMm;
    l.height = float(size.height());
    Q_EMIT labelChanged(i);
}

void CertificateLayout::setLabelSize(int i, float width, float height)
{
    Label &l = at(i);
    l.width = width;
    l.height = height;
    Q_EMIT labelChanged(i);
}

void CertificateLayout::setLabelPosition(int i, MmPoint pos)
{
    at(i).pos = pos;
    Q_EMIT labelMoved(i);
}

void CertificateLayout::setLabelColour(int i, qint32 colour)
{
    if (label(i).foreColour == colour)
        return;
    at(i).foreColour = colour;
    Q_EMIT labelChanged(i);
}

void CertificateLayout::setLabelVisible(int i, bool visible)
{
    at(i).visible = visible;
    Q_EMIT labelChanged(i);
}

void CertificateLayout::setPicturePosition(PictureId p, MmPoint pos)
{
    at(p).pos = pos;
    Q_EMIT pictureMoved(p);
}

void CertificateLayout::setPictureSvg(PictureId p, const QString &resource, QSizeF sizeMm)
{
    Picture &picture = at(p);
    picture.svgResource = resource;
    picture.image = QImage();
    picture.sizeMm = sizeMm;
    Q_EMIT pictureChanged(p);
}

void CertificateLayout::setPictureImage(PictureId p, const QImage &image)
{
    Picture &picture = at(p);
    picture.svgResource.clear();
    picture.image = image;
    picture.sizeMm = QSizeF();
    if (!image.isNull()) {
        // Shown unscaled: one picture pixel per dot of the resolution it carries.
        // Dots per metre are whole numbers; the resolution they stand for is a whole dpi.
        const auto mm = [](int pixels, int dotsPerMeter) {
            const int dpi = qRound(dotsPerMeter * 0.0254);
            return dpi > 0 ? pixels * 25.4 / dpi : pixels * 25.4 / 96;
        };
        picture.sizeMm = {mm(image.width(), image.dotsPerMeterX()), mm(image.height(), image.dotsPerMeterY())};
    }
    Q_EMIT pictureChanged(p);
}

void CertificateLayout::setPictureVisible(PictureId p, bool visible)
{
    at(p).visible = visible;
    Q_EMIT pictureChanged(p);
}

bool CertificateLayout::isSelected(int i) const
{
    return label(i).foreColour == kSelection;
}

bool CertificateLayout::hasSelection() const
{
    for (int i = 0; i < kLabelCount; ++i) {
        if (isSelected(i))
            return true;
    }
    return false;
}

void CertificateLayout::selectLabel(int i, bool add)
{
    if (!add)
        clearSelection();
    setLabelColour(i, kSelection);
}

void CertificateLayout::clearSelection()
{
    for (int i = 0; i < kLabelCount; ++i)
        setLabelColour(i, kNormalText);
    applyRedNumberColour();
    applyBlackNumberColour();
}

void CertificateLayout::clearSelectionByKey()
{
    for (int i = 0; i < kLabelCount; ++i)
        setLabelColour(i, kNormalText);
    setLabelColour(36, kEscNumber);
    setLabelColour(37, kEscNumber);
}

void CertificateLayout::selectAllLabels()
{
    for (int i = 0; i < kLabelCount; ++i)
        setLabelColour(i, kSelection);
}

void CertificateLayout::applyRedNumberColour()
{
    setLabelColour(36, m_state.RedNumberColour);
    setLabelColour(37, m_state.RedNumberColour);
}

void CertificateLayout::applyBlackNumberColour()
{
    setLabelColour(38, m_state.BlackNumberColour);
}

void CertificateLayout::moveLabel(int i, float dx, float dy)
{
    Label &l = at(i);
    l.pos.left += dx;
    l.pos.top += dy;
    Q_EMIT labelMoved(i);
}

void CertificateLayout::movePicture(PictureId p, float dx, float dy)
{
    Picture &picture = at(p);
    picture.pos.left += dx;
    picture.pos.top += dy;
    Q_EMIT pictureMoved(p);
}

void CertificateLayout::moveSelectedLabels(float dx, float dy)
{
    for (int i = 0; i < kLabelCount; ++i) {
        if (isSelected(i))
            moveLabel(i, dx, dy);
    }
    m_state.LayoutChanged = true;
}

void CertificateLayout::moveSideGroups(float dx, float dy, const SideGroups &groups)
{
    const auto moveLabels = [&](std::span<const int> labels) {
        for (const int i : labels)
            moveLabel(i, dx, dy);
        m_state.LayoutChanged = true;
    };
    const auto moveOne = [&](PictureId p) {
        movePicture(p, dx, dy);
        m_state.LayoutChanged = true;
    };
    if (groups.background1)
        moveOne(PictureId::Image1);
    if (groups.labels1)
        moveLabels(BuiltInLayout::side1Labels());
    if (groups.background2)
        moveOne(PictureId::Image2);
    if (groups.labels2)
        moveLabels(BuiltInLayout::side2Labels());
    if (groups.stamp)
        moveOne(PictureId::ImPech);
    if (groups.signature)
        moveOne(PictureId::ImPodp);
}

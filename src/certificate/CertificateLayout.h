#pragma once

#include "LayoutTypes.h"

#include <QImage>
#include <QObject>
#include <QSizeF>
#include <QString>

#include <array>

struct LayoutState;
struct LabelFontSettings;

// The certificate page as the operator composes it: the 44 field labels Lb1(0..43) and the
// pictures Image1, Image2 (the blank sides), ImPech (stamp) and ImPodp (signature), all placed
// in millimetres. One scene draws it to the screen, the page picture and the printer; this
// model knows nothing of devices.
class CertificateLayout final : public QObject
{
    Q_OBJECT

public:
    struct Label
    {
        QString text;
        MmPoint pos;
        float width = 0;  // mm
        float height = 0; // mm
        LabelFontSpec font;
        qint32 foreColour = 0; // also the selection mark
        bool visible = true;
    };

    struct Picture
    {
        MmPoint pos;
        // A built-in vector picture, drawn at sizeMm; or else the image, one pixel per dot
        // of its own resolution. Neither: nothing is drawn.
        QString svgResource;
        QImage image;
        QSizeF sizeMm;
        bool visible = true;
    };

    // Which groups the side panel's arrows move.
    struct SideGroups
    {
        bool background1 = true;
        bool labels1 = true;
        bool background2 = true;
        bool labels2 = true;
        bool stamp = true;
        bool signature = true;
    };

    // Every label at its design position in its design font, the always-hidden ones hidden.
    explicit CertificateLayout(LayoutState &state, QObject *parent = nullptr);

    LayoutState &state() const { return m_state; }
    const Label &label(int i) const { return m_labels.at(size_t(i)); }
    const Picture &picture(PictureId p) const { return m_pictures.at(size_t(p)); }

    // The label sizes itself to the new text; the extra width of loading is not added again.
    void setLabelText(int i, const QString &text);
    // The opening's text, left unsized: the opening sizes every label once its font is known.
    void loadLabelText(int i, const QString &text);
    void setLabelFont(int i, const LabelFontSpec &font);
    // Each setting of the font table that cannot be made is skipped; the label is not resized.
    void applyFontSettings(int i, const LabelFontSettings &settings);
    // Width and height of the text in its font, plus extraWidthMm.
    void autoSizeLabel(int i, float extraWidthMm);
    // A size the label had before, as it was, for taking a change back.
    void setLabelSize(int i, float width, float height);
    void setLabelPosition(int i, MmPoint pos);
    void setLabelColour(int i, qint32 colour);
    void setLabelVisible(int i, bool visible);

    void setPicturePosition(PictureId p, MmPoint pos);
    void setPictureSvg(PictureId p, const QString &resource, QSizeF sizeMm);
    // A null image leaves the picture empty.
    void setPictureImage(PictureId p, const QImage &image);
    void setPictureVisible(PictureId p, bool visible);

    bool isSelected(int i) const;
    bool hasSelection() const;
    // SelectLabel: without `add` the others lose the selection first; with it the label joins.
    void selectLabel(int i, bool add);
    // Every label to the normal colour, the number labels to their configured colours.
    void clearSelection();
    // Esc: the red number labels go dark red whatever their configured colour.
    void clearSelectionByKey();
    void selectAllLabels();
    // The number labels take the configured number colours, selected or not.
    void applyRedNumberColour();
    void applyBlackNumberColour();
    // MoveSelectedLabels: every selected label, hidden ones too; marks the layout changed even
    // when nothing is selected.
    void moveSelectedLabels(float dx, float dy);
    // MoveSideGroup: the ticked groups; the layout is marked changed only when a group moved.
    void moveSideGroups(float dx, float dy, const SideGroups &groups);

Q_SIGNALS:
    void labelMoved(int i);
    // Text, font, size, colour or visibility.
    void labelChanged(int i);
    void pictureMoved(PictureId p);
    void pictureChanged(PictureId p);

private:
    Label &at(int i) { return m_labels.at(size_t(i)); }
    Picture &at(PictureId p) { return m_pictures.at(size_t(p)); }
    void moveLabel(int i, float dx, float dy);
    void movePicture(PictureId p, float dx, float dy);

    LayoutState &m_state;
    std::array<Label, kLabelCount> m_labels;
    std::array<Picture, kPictureCount> m_pictures;
};

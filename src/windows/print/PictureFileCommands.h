#pragma once

#include "certificate/LayoutTypes.h"
#include "certificate/PictureFileStore.h"

#include <QImage>
#include <QObject>
#include <QString>

struct Platform;
class CertificateLayout;
class CommonDialog;
class QCheckBox;
class QWidget;

// The operator's own blanks, stamp and signature in place of the built-in pictures, and the way
// back to the built-in ones. The chosen files and the last folders live in the "Nastr" entries:
// read when the print window opens, changed here, written when it closes.
class PictureFileCommands final : public QObject
{
    Q_OBJECT

public:
    // The "Nastr" entries as the print window holds them while it is open.
    using Settings = PictureFileStore::Entries;

    // The panel's "Показывать" boxes that a loaded picture ticks.
    struct VisibilityBoxes
    {
        QCheckBox *ChFonVis1 = nullptr;
        QCheckBox *ChFonVis2 = nullptr;
        QCheckBox *ChPechVis2 = nullptr;
        QCheckBox *ChPodpVis2 = nullptr;
    };

    // `page` is the widget the pictures are shown on: a picture is shown one pixel per logical
    // pixel of it.
    PictureFileCommands(Platform &platform, CommonDialog &dialog, CertificateLayout &layout, QWidget &page,
                        VisibilityBoxes boxes, QObject *parent = nullptr);

    const Settings &settings() const { return m_settings; }

    // Opening: the entries, then the backgrounds chosen earlier; a file that cannot be loaded
    // leaves the built-in blank, without a message.
    void readSettings();
    // Opening, last: the stamp and signature of the program folder, then the chosen ones.
    void loadOverlays();
    // Closing: every entry, the side-2 background included, so that it comes back as side 1's does.
    void writeSettings() const;

    // "Загрузить фоновый рисунок 1/2 из файла".
    void LoadBackgroundFile(PictureId side);
    // "Загрузить печать/подпись из файла".
    void LoadOverlayFile(PictureId overlay);
    // "Вернуть встроенный ...": forgets the chosen file and asks for the window to be closed and
    // opened again, which brings the built-in picture back.
    void RestoreBuiltInPicture(PictureId picture);

Q_SIGNALS:
    // The print window is to close as usual and a fresh one to open in its place.
    void reopenRequested();

private:
    bool loadBackground(PictureId side, const QString &path);
    QImage loadOverlay(PictureId overlay, const QString &path) const;
    void showTicked(PictureId picture);
    QString &fileEntry(PictureId picture);

    Platform &m_platform;
    CommonDialog &m_dialog;
    CertificateLayout &m_layout;
    QWidget &m_page;
    VisibilityBoxes m_boxes;
    Settings m_settings;
};

// A background picture as the operator's file holds it (JPEG, GIF, BMP or PNG, told by its
// content, not its name), set to show one picture pixel per logical pixel at the given
// resolution; a null image when the file cannot be read.
QImage LoadBackgroundPicture(const QString &path, int logicalDpiX, int logicalDpiY);

#pragma once

#include <QObject>

struct Platform;
class CertificateLayout;
class CertificateScene;
class CommonDialog;
class QMenu;
class QWidget;

// The print window's paper commands: the certificate on the printer at exactly 1:1, with the
// printer's stored correction, into a PDF file, and the printer's calibration. The pages
// themselves come from PageOutput.
class PagePrint final : public QObject
{
    Q_OBJECT

public:
    PagePrint(Platform &platform, CertificateLayout &layout, CertificateScene &scene, CommonDialog &dialog,
              QWidget *owner);

    // "Печать на принтер…", "Сохранить в PDF…", "Калибровка принтера…".
    void addMenuItems(QMenu *menu);

    // The print dialog, a warning when the printer would cut a label, then the page.
    void PrintOnPrinter();
    // The page into a PDF file the operator names, never corrected.
    void SavePdf();
    // The calibration dialog over the print window.
    void CalibratePrinter();

private:
    Platform &m_platform;
    CertificateLayout &m_layout;
    CertificateScene &m_scene;
    CommonDialog &m_dialog;
    QWidget *m_owner;
};

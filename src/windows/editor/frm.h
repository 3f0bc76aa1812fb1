#pragma once

#include "certificate/EditorBoxes.h"

#include <QPointer>
#include <QWidget>

#include <array>

struct Journal;
struct Platform;
class FieldBox;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

// The registration certificate of one journal record, box by box: the operator fills it in
// here, opens the certificate for printing, and closes it to store the record in the journal.
class frm final : public QWidget, public EditorBoxes
{
    Q_OBJECT

public:
    static constexpr int kUpperCaseBoxCount = 38;

    // Loads record CurrentRecord of the journal into the boxes and the upper-case choices from
    // the settings store.
    frm(Platform &platform, Journal &journal, QWidget *parent = nullptr);
    ~frm() override;

    QString boxText(int index) const override;
    void setBoxText(int index, const QString &text) override;
    bool isBoxShown(int index) const override;
    void focusBox(int index) override;
    void showEditor() override;

    // The certificate window that serves this editor, made by whoever answers previewRequested.
    // The editor owns it (it becomes the window's parent, which keeps it in front of the editor)
    // and while it is open: the preview button brings it to the front, the boxes take no typing
    // (their texts live in the certificate until it hands them back), and closing the editor
    // first closes the certificate the normal way.
    void setCertificate(QWidget *certificate);
    QWidget *certificate() const { return m_certificate; }
    bool certificateOpen() const;

Q_SIGNALS:
    // The operator asked for the certificate of the record (button Command1).
    void previewRequested();
    // The record has been stored and the journal saved; the journal window takes over.
    void editorClosed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void buildCaptions();
    void buildMenu();
    void placeCaption(QLabel *label, const QRect &box);
    void Form_Load();   // the record into the boxes, the ticks from the settings
    void Form_Unload(); // the record back into the journal (CommitRecord), then SaveJournal

    void txt_GotFocus(int index); // a box takes the focus: the yellow background
    void showBoxBackground(int index, bool focused);
    // While the certificate holds the texts: the boxes take no typing, and say so.
    void setBoxesReadOnly(bool readOnly);
    void txt_LostFocus(int index); // a box left: line breaks out, capitals where its Ch1 is ticked
    void txt_Enter(int index);     // Enter: the focus to the next box
    void vinChanged();             // the VIN turns red while it is not 17 characters long
    void Command1_Click();         // "Просмотр перед печатью": the certificate print window
    void Command3_Click();         // "Сохранить для автозаполнения": the boxes into Autoload
    void setAllUpperCaseBoxes(bool ticked); // "Галочки" menu: tick or clear every Ch1
    void loadUpperCaseBoxes();
    void storeUpperCaseBoxes();
    void showCaption(QLabel *caption);
    void certificateGone(const QObject *certificate);

    Platform &m_platform;
    Journal &m_journal;
    bool m_unloaded = false;
    QPointer<QWidget> m_certificate;
    // A close asked for while the certificate could not close yet (its page picture was being
    // taken): the editor closes once the certificate has gone.
    bool m_closeAfterCertificate = false;
    bool m_closing = false;

    std::array<FieldBox *, kBoxCount> txt{}; // txt(0..43): fields 2..45 of the record
    std::array<QCheckBox *, kUpperCaseBoxCount> Ch1{}; // Ch1(0..37): "Делать все буквы ЗАГЛАВНЫМИ" per box
    QLabel *Label3 = nullptr;                          // "Запись № " and the record number
    // "Закройте окно печати, …", shown while the boxes are read-only.
    QLabel *LblReadOnly = nullptr;
    QPushButton *Command1 = nullptr; // icon; opens the certificate print window
    QPushButton *Command3 = nullptr; // icon; "Сохранить для автозаполнения"
    // Hover captions of Command1 and Command3.
    QLabel *Lnadp0 = nullptr;      // Lnadp(0): "Просмотр перед печатью"
    QLabel *Lnadp2 = nullptr;      // Lnadp(2): "Сохранить для автозаполнения"
    QMenu *Menu_Gal = nullptr;     // "Галочки", the pop-up menu of the ticks
    QAction *Menu_Gal_1 = nullptr; // "Установить  все галочки"
    QAction *Menu_Gal_0 = nullptr; // "Снять все галочки"
};

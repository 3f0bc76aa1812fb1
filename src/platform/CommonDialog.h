#pragma once

#include "Dialogs.h"

// A window's own dialog component: its dialogs appear over that window, also while other
// windows are hidden, and it remembers the last colour and folder chosen while the window
// exists. A colour or font dialog closed with Cancel reports the colour the component held.
class CommonDialog
{
public:
    CommonDialog(Dialogs &dialogs, QWidget *owner) : m_dialogs(dialogs), m_owner(owner) {}

    Dialogs::Answer message(const Dialogs::Message &message) { return m_dialogs.message(message, m_owner); }
    void inform(const QString &text, const QString &caption, Dialogs::Icon icon)
    {
        m_dialogs.inform(text, caption, icon, m_owner);
    }
    // A request without a start folder starts where the last one ended.
    std::optional<QString> openFile(Dialogs::FileRequest request);
    std::optional<QString> saveFile(Dialogs::FileRequest request);

    // The colour dialog, preset with the component's colour.
    QColor chooseColour();
    // The font dialog, preset with the given face, style and size and the component's colour
    // and effects.
    Dialogs::FontChoice chooseFont(Dialogs::FontChoice preset, int minSize, int maxSize);

    // The print dialog; see Dialogs::choosePrinter.
    std::optional<QString> choosePrinter(QPrinter &printer) { return m_dialogs.choosePrinter(printer, m_owner); }

    QColor colour() const { return m_colour; }

private:
    std::optional<QString> remember(std::optional<QString> path);

    Dialogs &m_dialogs;
    QWidget *m_owner;
    QColor m_colour = Qt::black;
    bool m_strikeout = false;
    bool m_underline = false;
    QString m_folder;
};

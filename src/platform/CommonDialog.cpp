#include "CommonDialog.h"

#include <QFileInfo>

std::optional<QString> CommonDialog::remember(std::optional<QString> path)
{
    if (path)
        m_folder = QFileInfo(*path).absolutePath();
    return path;
}

std::optional<QString> CommonDialog::openFile(Dialogs::FileRequest request)
{
    if (request.startFolder.isEmpty())
        request.startFolder = m_folder;
    return remember(m_dialogs.openFile(request, m_owner));
}

std::optional<QString> CommonDialog::saveFile(Dialogs::FileRequest request)
{
    if (request.startFolder.isEmpty())
        request.startFolder = m_folder;
    return remember(m_dialogs.saveFile(request, m_owner));
}

QColor CommonDialog::chooseColour()
{
    m_colour = m_dialogs.chooseColour(m_colour, m_owner);
    return m_colour;
}

Dialogs::FontChoice CommonDialog::chooseFont(Dialogs::FontChoice preset, int minSize, int maxSize)
{
    preset.colour = m_colour;
    preset.strikeout = m_strikeout;
    preset.underline = m_underline;
    const Dialogs::FontChoice chosen = m_dialogs.chooseFont(preset, minSize, maxSize, m_owner);
    m_colour = chosen.colour;
    m_strikeout = chosen.strikeout;
    m_underline = chosen.underline;
    return chosen;
}

#pragma once

#include <QString>

class SettingsStore;

// Where the operator's own pictures are kept from one run to the next: section "Nastr", the
// chosen files of the blanks, the stamp and the signature, and the folders the file dialogs
// last opened in.
class PictureFileStore
{
public:
    // The entries as the print window holds them while it is open. A start folder holds the
    // full path of the last file chosen, so that the dialog opens on it; an empty file name
    // means the built-in picture.
    struct Entries
    {
        QString img1FName;
        QString img2FName;
        QString VibFolder1;
        QString PechFName;
        QString VibFolder3;
        QString PodpFName;
        QString VibFolder4;
    };

    explicit PictureFileStore(SettingsStore &settings);

    // Missing entries are no file and the folder "C:\".
    Entries read() const;
    // Every entry, the side-2 background included.
    void write(const Entries &entries);

private:
    SettingsStore &m_settings;
};

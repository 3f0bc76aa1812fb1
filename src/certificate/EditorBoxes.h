#pragma once

#include <QString>

// What the certificate windows need of the record editor: the 44 field boxes txt(0)..txt(43),
// the keyboard focus, and the editor window itself. The editor stays loaded, hidden, while the
// certificate is open.
class EditorBoxes
{
public:
    static constexpr int kBoxCount = 44;

    virtual ~EditorBoxes() = default;

    virtual QString boxText(int index) const = 0;
    virtual void setBoxText(int index, const QString &text) = 0;
    // False for the boxes the editor never shows (txt(3), txt(40)..txt(43)).
    virtual bool isBoxShown(int index) const = 0;
    virtual void focusBox(int index) = 0;
    // Makes the editor window visible again.
    virtual void showEditor() = 0;
};

#pragma once

#include "platform/Dialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFontComboBox;
class QLabel;

// The font dialog of the certificate windows: a face, its style, a size within the range the
// labels accept, and a colour. Sizes outside the range cannot be chosen at all, rather than
// being cut back afterwards. The effects are offered as the classic dialog offers them.
class FontChoiceDialog final : public QDialog
{
    Q_OBJECT

public:
    FontChoiceDialog(const Dialogs::FontChoice &initial, int minSize, int maxSize, QWidget *parent = nullptr);

    // The choice the controls show; only meaningful while isAcceptable().
    Dialogs::FontChoice choice() const;
    bool isAcceptable() const;

private:
    void updateSample();
    void selectColour(const QColor &colour);

    int m_minSize;
    int m_maxSize;
    QFontComboBox *m_face = nullptr;
    QComboBox *m_style = nullptr;
    QComboBox *m_size = nullptr;
    QComboBox *m_colour = nullptr;
    QCheckBox *m_strikeout = nullptr;
    QCheckBox *m_underline = nullptr;
    QLabel *m_sample = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

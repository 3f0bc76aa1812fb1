#pragma once

#include "LabelFontTable.h"
#include "LayoutTypes.h"

#include <QString>

#include <array>

class CertificateLayout;

// The page as an undo step takes it back: every label's text, place, size and font, the four
// pictures' places, the two number colours and the font table. Which labels are selected and
// what is shown or hidden are not part of it: the operator's selection and ticks are never
// taken back.
struct PageSnapshot
{
    struct Label
    {
        QString text;
        MmPoint pos;
        float width = 0;
        float height = 0;
        LabelFontSpec font;
    };

    std::array<Label, kLabelCount> labels;
    std::array<MmPoint, kPictureCount> pictures;
    qint32 redNumber = 0;
    qint32 blackNumber = 0;
    LabelFontTable fonts;

    static PageSnapshot of(const CertificateLayout &layout);

    // Whether the operator could tell the two pages apart: numbers as they are held, the font
    // table as it would be written.
    bool sameAs(const PageSnapshot &other) const;
    // The page back as it was. A number colour that comes back goes to the number labels that
    // are not selected. Returns whether a label or picture was put elsewhere; the layout then
    // counts as changed, as after any move.
    bool restoreTo(CertificateLayout &layout) const;
};

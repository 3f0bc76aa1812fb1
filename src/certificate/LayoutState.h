#pragma once

#include "ColourCode.h"
#include "LabelFontTable.h"

// What the certificate windows share for the whole run of the program: owned by main(), handed
// to every print window by reference, so that a value set in one visit is seen by the next.
struct LayoutState
{
    // The number colours of labels 36, 37 (red) and 38 (black). Zero until a print window has
    // read them: a stored value that cannot be read leaves the previous one.
    qint32 RedNumberColour = ColourCode::kBlack;
    qint32 BlackNumberColour = ColourCode::kBlack;
    // Positions were moved and not yet stored.
    bool LayoutChanged = false;
    // The label whose text is in the in-place editor.
    int EditedLabel = 0;
    LabelFontTable LabelFonts;
};

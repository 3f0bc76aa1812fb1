#pragma once

#include "LayoutTypes.h"

#include <span>

// Where everything sits on a page nobody has adjusted yet, and where "Сброс" puts it back.
namespace BuiltInLayout {

// The label's place when no position is stored: a whole number of twips in millimetres.
MmPoint designPosition(int label);
// The label's place after a reset of the positions.
MmPoint resetPosition(int label);
// A picture's place when its entry is missing from the store.
MmPoint missingPicturePosition(PictureId picture);
// A picture's place after a reset of the positions.
MmPoint resetPicturePosition(PictureId picture);
// The window's own font of the label, used where the font table has nothing usable.
LabelFontSpec designFont(int label);

// The labels that move with a side's "Двигать Надписи", in the order they move.
std::span<const int> side1Labels();
std::span<const int> side2Labels();
// Never shown: the labels of fields the certificate does not print.
bool isAlwaysHidden(int label);
// The label Enter in the in-place editor opens next, or -1 when there is none.
int nextLabelToEdit(int label);

// The built-in blank sides are drawn for 302 × 429 pixels at 96 pixels per inch.
constexpr float kBlankWidthMm = 302 * 25.4f / 96;
constexpr float kBlankHeightMm = 429 * 25.4f / 96;

} // namespace BuiltInLayout

#pragma once

#include <QString>

#include <array>

// The meaning of a record's field numbers, shared by every window: field f (2..45) is shown
// by editor box txt(f - 2), held in template value f - 2 and printed by label Lb1(f - 2).
namespace FieldCatalogue {

// Fields used by name.
enum Field : int {
    Id = 1,
    RegistrationPlate = 2,
    Vin = 3,
    MakeModel = 4,
    BodyNumber = 12,
    Colour = 13,
    IssueDate = 37,
};

constexpr int kFirstDocumentField = 2;
constexpr int kLastDocumentField = 45;
constexpr int kBoxCount = kLastDocumentField - kFirstDocumentField + 1;
constexpr int kUpperCaseBoxCount = 38;
constexpr int kNoBox = -1;

enum class EditorColumn { Left, Right, NotShown };

struct DocumentField
{
    int field;
    int box;
    // The caption beside the box in the editor; empty where the box has none.
    const char16_t *caption;
    EditorColumn column;
    // The upper-case box Ch1(k) that governs the box, or kNoBox.
    int upperCaseBox;
    const char *meaning;
};

const std::array<DocumentField, kBoxCount> &fields();

constexpr int fieldFromBox(int box)
{
    return box + kFirstDocumentField;
}
constexpr int boxFromField(int field)
{
    return field - kFirstDocumentField;
}
constexpr bool isDocumentField(int field)
{
    return field >= kFirstDocumentField && field <= kLastDocumentField;
}
const DocumentField &byBox(int box);
inline QString caption(int box)
{
    return QString::fromUtf16(byBox(box).caption);
}
int upperCaseBoxFor(int box);

} // namespace FieldCatalogue

#pragma once

#include <QString>

// Positions on the certificate page are millimetres from the top-left corner of the print
// window's drawing area, held in single precision and never rounded.
struct MmPoint
{
    float left = 0;
    float top = 0;

    friend bool operator==(const MmPoint &, const MmPoint &) = default;
};

// The font a label asks for, as the operator names it ("Epson1" 9.75 points).
struct LabelFontSpec
{
    QString face;
    float size = 9.75f;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const LabelFontSpec &, const LabelFontSpec &) = default;
};

constexpr int kLabelCount = 44;

// The four pictures of the page, in the order the store reads and writes them.
enum class PictureId { Image1, Image2, ImPech, ImPodp };
constexpr int kPictureCount = 4;

#include "BuiltInLayout.h"

#include <array>

namespace BuiltInLayout {

namespace {

struct Twips
{
    int left;
    int top;
};

// The design of the print window, in twips: positions the form was drawn with.
constexpr std::array<Twips, kLabelCount> kDesignTwips = {{
    {9780, 6540},   {7620, 6660},  {8940, 6900},  {8340, 11220},  {8940, 7140},   {10440, 7380}, {9240, 7560},
    {7740, 10320},  {7740, 10695}, {8820, 8040},  {9120, 8280},   {9300, 8520},   {8160, 8760},  {10500, 9000},
    {10440, 9240},  {9000, 9480},  {9660, 9480},  {10020, 10020}, {12300, 6240},  {12420, 6420}, {12360, 6660},
    {12420, 6900},  {12360, 7260}, {14760, 7320}, {12300, 7620},  {12780, 7860},  {13320, 8160}, {12900, 8400},
    {12720, 8640},  {13920, 8640}, {14640, 8640}, {12300, 9030},  {12300, 9240},  {12300, 9480}, {13680, 10020},
    {13680, 10380}, {8280, 10260}, {12420, 5580}, {13200, 10560}, {12480, 10260}, {4845, 10140}, {4845, 10500},
    {4845, 10815},  {4845, 11130},
}};

// Measured on the paper form; the operator's "Сброс" brings these back.
constexpr std::array<MmPoint, kLabelCount> kResetPositions = {{
    {172.0499f, 109.1143f}, {133.7206f, 117.5633f}, {158.3268f, 121.7437f}, {158.3268f, 125.1833f},
    {147.4789f, 125.6243f}, {183.0566f, 130.2986f}, {160.1789f, 134.2497f}, {164.7474f, 138.9769f},
    {164.7298f, 143.2103f}, {164.8885f, 146.8968f}, {165.3647f, 151.1478f}, {143.1926f, 155.6633f},
    {183.9385f, 159.879f},  {183.9914f, 164.13f},   {158.6972f, 167.8871f}, {170.4624f, 167.8871f},
    {180.0227f, 172.1734f}, {172.8789f, 176.4067f}, {218.0169f, 110.3314f}, {222.5148f, 114.3001f},
    {218.5461f, 117.7397f}, {222.7794f, 121.1793f}, {219.0752f, 124.3543f}, {243.4169f, 131.2335f},
    {221.4565f, 133.6324f}, {229.9231f, 137.0543f}, {238.1252f, 141.0407f}, {229.9231f, 145.2917f},
    {228.8648f, 149.525f},  {250.5607f, 149.2604f}, {262.7315f, 149.2604f}, {219.869f, 157.9564f},
    {219.869f, 161.6606f},  {219.869f, 165.3647f},  {218.2815f, 178.3293f}, {234.6857f, 183.8856f},
    {145.4857f, 181.0457f}, {219.6044f, 99.55399f}, {237.3315f, 185.2085f}, {223.044f, 180.9752f},
    {85.4605f, 178.8585f},  {85.4605f, 185.2085f},  {85.4605f, 190.7648f},  {85.4605f, 196.321f},
}};

constexpr std::array<MmPoint, kPictureCount> kMissingPictures = {{
    {124, 81},
    {210, 82},
    {215, 154},
    {248, 164},
}};

constexpr std::array<MmPoint, kPictureCount> kResetPictures = {{
    {124.0015f, 80.99786f},
    {210.538f, 82.00327f},
    {215.0006f, 154.0053f},
    {248.003f, 164.0065f},
}};

constexpr std::array<int, 19> kSide1 = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 36};
constexpr std::array<int, 21> kSide2 = {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                                        29, 30, 31, 32, 33, 34, 35, 37, 38, 39};

float mmFromTwips(int twips)
{
    return float(twips) * 25.4f / 1440.0f;
}

} // namespace

MmPoint designPosition(int label)
{
    const Twips t = kDesignTwips.at(size_t(label));
    return {mmFromTwips(t.left), mmFromTwips(t.top)};
}

MmPoint resetPosition(int label)
{
    return kResetPositions.at(size_t(label));
}

MmPoint missingPicturePosition(PictureId picture)
{
    return kMissingPictures.at(size_t(picture));
}

MmPoint resetPicturePosition(PictureId picture)
{
    return kResetPictures.at(size_t(picture));
}

LabelFontSpec designFont(int label)
{
    const QString epson = QStringLiteral("Epson1");
    const QString unicode = QStringLiteral("@Arial Unicode MS");
    switch (label) {
    case 7:
    case 8:
    case 35:
    case 40:
    case 41:
    case 42:
    case 43:
        return {unicode, 9.75f, false, false};
    case 31:
    case 32:
    case 33:
        return {epson, 6.0f, false, false};
    case 34:
    case 39:
        return {epson, 8.25f, false, false};
    case 36:
    case 37:
        return {QStringLiteral("PTS_Number_1"), 12.75f, true, false};
    case 38:
        return {QStringLiteral("Arial"), 12.0f, true, false};
    default:
        return {epson, 9.75f, false, false};
    }
}

std::span<const int> side1Labels()
{
    return kSide1;
}

std::span<const int> side2Labels()
{
    return kSide2;
}

bool isAlwaysHidden(int label)
{
    return label == 3 || label >= 40;
}

int nextLabelToEdit(int label)
{
    if (label >= 39)
        return -1;
    return label == 2 ? 4 : label + 1;
}

} // namespace BuiltInLayout

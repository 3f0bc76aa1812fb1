#include "Cp1251.h"

#include <array>

namespace {

constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Both directions as whole tables built at compile time: one lookup a character, no branch
// on the character's range and no initialisation check at run time.
constexpr std::array<char16_t, 256> kDecode = [] {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 0x80; ++b)
        table[size_t(b)] = char16_t(b);
    for (int i = 0; i < 128; ++i)
        table[size_t(0x80 + i)] = kHigh[size_t(i)];
    return table;
}();

// The byte of each UTF-16 unit; 0 where the code page has none (and for U+0000 itself).
constexpr std::array<unsigned char, 0x10000> kEncode = [] {
    std::array<unsigned char, 0x10000> table{};
    for (int u = 0; u < 0x80; ++u)
        table[size_t(u)] = static_cast<unsigned char>(u);
    for (int i = 0; i < 128; ++i)
        table[kHigh[size_t(i)]] = static_cast<unsigned char>(0x80 + i);
    return table;
}();

bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

namespace Cp1251 {

int byteFor(char16_t unit)
{
    const int byte = kEncode[unit];
    return byte || unit == 0 ? byte : -1;
}

const char16_t *decodeTable()
{
    return kDecode.data();
}

const unsigned char *encodeTable()
{
    return kEncode.data();
}

void decode(const char *bytes, qsizetype n, char16_t *out)
{
    for (qsizetype i = 0; i < n; ++i)
        out[i] = kDecode[static_cast<unsigned char>(bytes[i])];
}

QString decode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decode(bytes.constData(), bytes.size(), reinterpret_cast<char16_t *>(text.data()));
    return text;
}

char *encodeInto(const char16_t *src, qsizetype n, char *dst, qsizetype *replaced)
{
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = src[i];
        const unsigned char byte = kEncode[u];
        if (byte || u == 0) {
            *dst++ = char(byte);
            continue;
        }
        *dst++ = kReplacement;
        ++*replaced;
        if (isHighSurrogate(u) && i + 1 < n && isLowSurrogate(src[i + 1]))
            ++i;
    }
    return dst;
}

qsizetype encodeAppend(QStringView text, QByteArray &out)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    qsizetype replaced = 0;
    char *end = encodeInto(text.utf16(), text.size(), out.data() + start, &replaced);
    out.resize(end - out.constData());
    return replaced;
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    encodeAppend(text, out);
    return out;
}

QString representable(QStringView text)
{
    return decode(encode(text));
}

} // namespace Cp1251

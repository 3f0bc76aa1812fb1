#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The Windows-1251 code page of the program's text files. Every byte decodes to one UTF-16
// unit: the byte 0x98, which has no character of its own, decodes to U+0098 and encodes
// back to 0x98, so any file read and written again keeps its bytes. A character with no
// byte in the code page is written as "?" (a surrogate pair as a single "?").
namespace Cp1251 {

constexpr char kReplacement = '?';

// The byte for a UTF-16 unit, or -1 when the code page has none.
int byteFor(char16_t unit);
inline bool isRepresentable(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

// The tables behind the codec, for loops that decode or encode while they look for separators:
// decodeTable()[byte] is the UTF-16 unit; encodeTable()[unit] the byte, 0 where there is none.
const char16_t *decodeTable();
const unsigned char *encodeTable();

// Decodes n bytes into n UTF-16 units at out.
void decode(const char *bytes, qsizetype n, char16_t *out);
QString decode(const QByteArray &bytes);

// Encodes n UTF-16 units to dst, which has room for n bytes; returns the end of what was
// written and adds the number of replaced characters to *replaced.
char *encodeInto(const char16_t *src, qsizetype n, char *dst, qsizetype *replaced);

// Appends the encoding of text to out. Returns the number of characters that were replaced.
qsizetype encodeAppend(QStringView text, QByteArray &out);
QByteArray encode(QStringView text);

// The text as it reads back after it has been written (unrepresentable characters as "?").
QString representable(QStringView text);

} // namespace Cp1251

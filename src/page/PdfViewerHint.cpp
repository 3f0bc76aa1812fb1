#include "PdfViewerHint.h"

#include <QByteArrayView>
#include <QRegularExpression>

#include <optional>

namespace PdfViewerHint {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

std::optional<qsizetype> number(const QByteArray &pdf, qsizetype &at)
{
    while (at < pdf.size() && isSpace(pdf.at(at)))
        ++at;
    const qsizetype start = at;
    while (at < pdf.size() && pdf.at(at) >= '0' && pdf.at(at) <= '9')
        ++at;
    if (at == start || at - start > 12)
        return std::nullopt;
    return pdf.mid(start, at - start).toLongLong();
}

// The end of the dictionary that opens at `open` ("<<"), just past its ">>"; strings and
// nested dictionaries are stepped over.
std::optional<qsizetype> dictionaryEnd(const QByteArray &pdf, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i + 1 < pdf.size(); ++i) {
        const char c = pdf.at(i);
        if (c == '(') {
            int parens = 1;
            for (++i; i < pdf.size() && parens > 0; ++i) {
                if (pdf.at(i) == '\\')
                    ++i;
                else if (pdf.at(i) == '(')
                    ++parens;
                else if (pdf.at(i) == ')')
                    --parens;
            }
            --i;
        } else if (c == '<' && pdf.at(i + 1) == '<') {
            ++depth;
            ++i;
        } else if (c == '>' && pdf.at(i + 1) == '>') {
            --depth;
            ++i;
            if (depth == 0)
                return i + 1;
        } else if (c == '%') {
            while (i < pdf.size() && pdf.at(i) != '\n' && pdf.at(i) != '\r')
                ++i;
        }
    }
    return std::nullopt;
}

// The byte offset of object `id` in the cross-reference table at `xref`.
std::optional<qsizetype> objectOffset(const QByteArray &pdf, qsizetype xref, qsizetype id, qsizetype trailer)
{
    qsizetype at = xref + 4;
    while (at < trailer) {
        const auto first = number(pdf, at);
        const auto count = number(pdf, at);
        if (!first || !count)
            return std::nullopt;
        while (at < pdf.size() && isSpace(pdf.at(at)))
            ++at;
        if (id >= *first && id < *first + *count) {
            qsizetype entry = at + (id - *first) * 20;
            if (entry + 20 > trailer || pdf.at(entry + 17) != 'n')
                return std::nullopt;
            return number(pdf, entry);
        }
        at += *count * 20;
    }
    return std::nullopt;
}

} // namespace

bool addNoPrintScaling(QByteArray &pdf)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    qsizetype at = startxref + 9;
    const auto xref = number(pdf, at);
    if (!xref || *xref >= startxref || !QByteArrayView(pdf).sliced(*xref).startsWith("xref"))
        return false;
    const qsizetype trailer = pdf.indexOf("trailer", *xref);
    if (trailer < 0 || trailer > startxref)
        return false;
    const qsizetype trailerOpen = pdf.indexOf("<<", trailer);
    const auto trailerClose = trailerOpen < 0 ? std::nullopt : dictionaryEnd(pdf, trailerOpen);
    if (!trailerClose || *trailerClose > startxref)
        return false;
    const QByteArray trailerDict = pdf.mid(trailerOpen + 2, *trailerClose - 2 - (trailerOpen + 2));
    if (trailerDict.contains("/Prev") || trailerDict.contains("/Encrypt"))
        return false;

    static const QRegularExpression rootRef(QStringLiteral("/Root\\s+(\\d+)\\s+(\\d+)\\s+R"));
    static const QRegularExpression sizeEntry(QStringLiteral("/Size\\s+(\\d+)"));
    const QString trailerText = QString::fromLatin1(trailerDict);
    const QRegularExpressionMatch root = rootRef.match(trailerText);
    const QRegularExpressionMatch size = sizeEntry.match(trailerText);
    if (!root.hasMatch() || !size.hasMatch())
        return false;
    const qsizetype rootId = root.captured(1).toLongLong();
    const QByteArray rootGeneration = root.captured(2).toLatin1();

    const auto offset = objectOffset(pdf, *xref, rootId, trailer);
    if (!offset || *offset >= *xref)
        return false;
    static const QRegularExpression objectHead(QStringLiteral("^(\\d+)\\s+(\\d+)\\s+obj\\s*"));
    const QRegularExpressionMatch head = objectHead.match(QString::fromLatin1(pdf.mid(*offset, 40)));
    if (!head.hasMatch() || head.captured(1).toLongLong() != rootId)
        return false;
    const qsizetype open = *offset + head.capturedLength();
    if (!QByteArrayView(pdf).sliced(open).startsWith("<<"))
        return false;
    const auto close = dictionaryEnd(pdf, open);
    if (!close)
        return false;
    const QByteArray catalogue = pdf.mid(open + 2, *close - 2 - (open + 2));
    if (catalogue.contains("/ViewerPreferences") || !catalogue.contains("/Catalog"))
        return false;

    QByteArray update;
    if (!pdf.endsWith('\n'))
        update += '\n';
    const qsizetype objectAt = pdf.size() + update.size();
    update += QByteArray::number(rootId) + ' ' + rootGeneration
        + " obj\n<<\n/ViewerPreferences << /PrintScaling /None >>" + catalogue + ">>\nendobj\n";
    const qsizetype xrefAt = pdf.size() + update.size();
    // Each entry is exactly 20 bytes: offset, generation, "n", blank and line feed.
    update += "xref\n" + QByteArray::number(rootId) + " 1\n" + QByteArray::number(objectAt).rightJustified(10, '0')
        + ' ' + rootGeneration.rightJustified(5, '0') + " n \n";
    update += "trailer\n<<" + trailerDict + " /Prev " + QByteArray::number(*xref) + " >>\nstartxref\n"
        + QByteArray::number(xrefAt) + "\n%%EOF\n";
    pdf += update;
    return true;
}

} // namespace PdfViewerHint

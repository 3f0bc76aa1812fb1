#pragma once

#include <QByteArray>

// A PDF of the certificate must be printed at its own size: a viewer that shrinks it to the
// printable area moves every field out of its box. The document's catalogue can ask viewers
// not to scale (/ViewerPreferences << /PrintScaling /None >>); Qt's PDF writer has no setting
// for it, so the entry is added afterwards as an incremental update, which appends a new
// version of the catalogue and leaves every byte Qt wrote where it was.
namespace PdfViewerHint {

// Adds the hint to a complete PDF held in memory. Returns false, with `pdf` untouched, when
// the file is not laid out as expected (no classic cross-reference table, encrypted, already
// updated or already carrying viewer preferences): the document is then still whole, only
// without the hint.
bool addNoPrintScaling(QByteArray &pdf);

} // namespace PdfViewerHint

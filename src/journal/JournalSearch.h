#pragma once

#include <QString>
#include <QStringView>

#include <vector>

class RecordTable;

// Finding records by a piece of text: the operator types part of a plate, a VIN, a make, a
// body number or a colour, in any letter case.
namespace JournalSearch {

// The fields searched are the grid's: VIN (3), make and model (4), body number (12), plate (2)
// and colour (13). The ID is not searched. Which of them holds the text makes no difference.

// The text in lower case, one UTF-16 unit for one: Cyrillic and Latin alike, "Ё" as "ё". Both
// the search text and the fields are lowered this way, so that any letter matches itself in
// either case.
QString lowered(QStringView text);

// Records 1..count, in order, one of whose searched fields contains the lowered `text` as a
// contiguous piece, once both are in lower case. An empty text finds nothing.
std::vector<int> find(const RecordTable &table, int count, QStringView text);

} // namespace JournalSearch
